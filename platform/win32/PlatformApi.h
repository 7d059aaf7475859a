// The module's view of the platform on Windows: the system headers themselves.
#pragma once

#include <stdlib.h>
#include <windows.h>

#define EXT_EXPORT
