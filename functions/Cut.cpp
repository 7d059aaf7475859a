#include "NotBuilt.h"
EXT_NOT_BUILT(pkStrCut)
