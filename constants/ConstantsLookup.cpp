#include "../functions/NotBuilt.h"
EXT_NOT_BUILT(pkGetConstants)
