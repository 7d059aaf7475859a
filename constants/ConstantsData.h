// The named-constants table as read-only data, generated from table.tsv.
#pragma once

#include <cstdint>

struct ConstantEntry {
    uint32_t nNameOffset; // into g_achConstantNames
    uint16_t nNameLength;
    int32_t nValue;
};

extern const char g_achConstantNames[];
extern const ConstantEntry g_aConstantEntries[];
extern const uint32_t g_nConstantEntries;
