#include "NotBuilt.h"
EXT_NOT_BUILT(pkStrTrim)
EXT_NOT_BUILT(pkFormatNumber)
