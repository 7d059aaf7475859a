#include "NotBuilt.h"
EXT_NOT_BUILT(pkStrProper)
EXT_NOT_BUILT(pkStrCapital)
EXT_NOT_BUILT(pkStrCleanInt)
EXT_NOT_BUILT(pkStrCleanAlpha)
EXT_NOT_BUILT(pkStrCleanAlphaNum)
