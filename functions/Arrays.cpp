#include "NotBuilt.h"
EXT_NOT_BUILT(pkArrayFromStrCSV)
EXT_NOT_BUILT(pkArrayToStrCSV)
EXT_NOT_BUILT(pkArrInitialize)
