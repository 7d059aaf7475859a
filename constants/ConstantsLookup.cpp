// pkGetConstants: the named-constants map, filled on first use and kept until unload.
#include "ConstantsMap.h"

#include "ConstantsData.h"
#include "StaticInit.h"
#include "qvPalvek.h"

#include <cstdlib>
#include <new>

namespace {

// Storage constructed by InitConstantsMap and destroyed by DestroyConstantsMap, so that
// the map lives exactly between those two.
union ConstantsMapStorage {
    constexpr ConstantsMapStorage() : bNone(false) {}
    ~ConstantsMapStorage() {}
    bool bNone;
    ConstantsMap map;
};

constinit ConstantsMapStorage s_storage;

} // namespace

ConstantsMap& g_mapConstants = s_storage.map;

void DestroyConstantsMap() { s_storage.map.~ConstantsMap(); }

void InitConstantsMap() {
    new (&s_storage.map) ConstantsMap();
    std::atexit(DestroyConstantsMap);
}

EXT_STATIC_INIT(InitConstantsMap, EXT_INIT_CONSTANTS_MAP)

// Inserts or replaces every pair in table order, so a repeated name keeps its last value.
// A fill that runs out of memory leaves the map empty, so that the next lookup fills it again.
static void BuildConstantsTable() {
    try {
        for (uint32_t i = 0; i < g_nConstantEntries; ++i) {
            const ConstantEntry& entry = g_aConstantEntries[i];
            g_mapConstants.insert_or_assign(
                std::string(g_achConstantNames + entry.nNameOffset, entry.nNameLength),
                entry.nValue);
        }
    } catch (...) {
        g_mapConstants.clear();
        throw;
    }
}

int32_t CqvPalvek::LookupConstant(std::string strName) {
    if (g_mapConstants.empty())
        BuildConstantsTable();
    const auto it = g_mapConstants.find(strName);
    return it != g_mapConstants.end() ? it->second : CONST_NOT_FOUND;
}

int32_t CqvPalvek::pkGetConstants(ExtOpaque, ExtOpaque, ExtOpaque, ExtValue* pArgs, int32_t) {
    return RunGuarded(EXT_STATUS_LOOKUP_ERROR, IDS_SYSTEM_ERROR, [&]() -> int32_t {
        const std::string strName = pArgs[0].pszValue != nullptr ? pArgs[0].pszValue : "";
        const int32_t nValue = LookupConstant(strName);
        if (nValue == CONST_NOT_FOUND) {
            SetErrorDetail((strName + " Constant Not Found.").c_str());
            return ReportError(EXT_STATUS_LOOKUP_ERROR, IDS_CONSTANT_NOT_FOUND);
        }
        m_pResult->nType = EXT_VALUE_STRING;
        ExtValue variable;
        variable.nValue = nValue;
        variable.nType = EXT_VALUE_INTEGER;
        m_pServices->pfnSetVariable(m_pServices->pContext, strName.c_str(), &variable,
                                    EXT_VALUE_SIZE, EXT_OP_SET);
        return ReturnInteger(nValue);
    });
}
