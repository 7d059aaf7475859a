// The module-wide map of named constants: exact, case-sensitive byte-string keys.
#pragma once

#include <cstdint>
#include <map>
#include <string>

typedef std::map<std::string, int32_t> ConstantsMap;

enum : int32_t { CONST_NOT_FOUND = -99999999 };

extern ConstantsMap& g_mapConstants;

void InitConstantsMap();
void DestroyConstantsMap();
