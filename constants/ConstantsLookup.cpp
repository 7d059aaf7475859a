// pkGetConstants: the named-constants map, filled on first use and kept until unload.
#include "ConstantsMap.h"

#include "ConstantsData.h"
#include "StaticInit.h"
#include "qvPalvek.h"

#include <cstdlib>
#include <new>
#include <string_view>

namespace {

// Storage constructed by InitConstantsMap and destroyed by DestroyConstantsMap, so that
// the map lives exactly between those two.
union ConstantsMapStorage {
    constexpr ConstantsMapStorage() : bNone(false) {}
    ~ConstantsMapStorage() {}
    bool bNone;
    struct {
        std::pmr::monotonic_buffer_resource arena;
        ConstantsMap map;
    } s;
};

constinit ConstantsMapStorage s_storage;

// About what a full table takes, so that the arena asks the system for memory only a few times.
const size_t kArenaInitialBytes = 512 * 1024;

} // namespace

ConstantsMap& g_mapConstants = s_storage.s.map;

void DestroyConstantsMap() {
    s_storage.s.map.~ConstantsMap();
    s_storage.s.arena.~monotonic_buffer_resource();
}

void InitConstantsMap() {
    new (&s_storage.s.arena) std::pmr::monotonic_buffer_resource(kArenaInitialBytes);
    new (&s_storage.s.map) ConstantsMap(&s_storage.s.arena);
    std::atexit(DestroyConstantsMap);
}

void ResetConstantsMap() {
    g_mapConstants.clear();
    s_storage.s.arena.release();
}

EXT_STATIC_INIT(InitConstantsMap, EXT_INIT_CONSTANTS_MAP)

// Inserts or replaces every pair in table order, so a repeated name keeps its last value.
// The table's order mostly agrees with the map's, so each insertion is first tried right
// after the previous one. A fill that runs out of memory leaves the map empty, so that the
// next lookup fills it again.
static void BuildConstantsTable() {
    try {
        auto hint = g_mapConstants.end();
        for (uint32_t i = 0; i < g_nConstantEntries; ++i) {
            const ConstantEntry& entry = g_aConstantEntries[i];
            hint = std::next(g_mapConstants.insert_or_assign(
                hint,
                std::pmr::string(g_achConstantNames + entry.nNameOffset, entry.nNameLength,
                                 &s_storage.s.arena),
                entry.nValue));
        }
    } catch (...) {
        ResetConstantsMap();
        throw;
    }
}

int32_t CqvPalvek::LookupConstant(std::string strName) {
    if (g_mapConstants.empty())
        BuildConstantsTable();
    const auto it = g_mapConstants.find(std::string_view(strName));
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
        ExtValue variable{}; // only nValue and nType carry anything
        variable.nValue = nValue;
        variable.nType = EXT_VALUE_INTEGER;
        m_pServices->pfnSetVariable(m_pServices->pContext, strName.c_str(), &variable,
                                    EXT_VALUE_SIZE, EXT_OP_SET);
        return ReturnInteger(nValue);
    });
}
