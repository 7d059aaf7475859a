// The module-wide map of named constants: exact, case-sensitive byte-string keys.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory_resource>
#include <string>

// Entries and names come from one arena, so the fill is a run of bump allocations and the
// entries lie close together in memory.
typedef std::pmr::map<std::pmr::string, int32_t, std::less<>> ConstantsMap;

enum : int32_t { CONST_NOT_FOUND = -99999999 };

extern ConstantsMap& g_mapConstants;

void InitConstantsMap();
void DestroyConstantsMap();
// Empties the map and returns its memory, so that the next lookup fills it again.
void ResetConstantsMap();
