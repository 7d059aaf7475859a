// The selection list of pkStrCut, read once per call: which columns or fields, in which order.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

enum { MAX_CUT_ENTRIES = 5000 };

struct CutSelection {
    // Per entry, in list order; -1 past the last entry.
    std::vector<int32_t> vecColumn; // 0-based column or field index
    std::vector<int32_t> vecItem;   // 1-based number of the item that produced the entry
    std::vector<int32_t> vecJoin;   // 1 where the entry carries a join mark
    int32_t nEntryCount = 0;
    int32_t nMaxColumn = 0; // the largest index, at least 0

    CutSelection()
        : vecColumn(MAX_CUT_ENTRIES, -1), vecItem(MAX_CUT_ENTRIES, -1),
          vecJoin(MAX_CUT_ENTRIES, -1) {}
};

// Reads a selection such as "1-3j, 5,2". With bBounded every number must be at most
// MAX_CUT_ENTRIES. On a fault returns false with the detail text for the host.
bool ReadCutSelection(const std::string& strSelection, bool bBounded, CutSelection& selection,
                      std::string& strDetail);

// Slot i holds i for an index the selection does not name, -1 for one it names.
std::vector<int32_t> BuildComplement(const CutSelection& selection);
