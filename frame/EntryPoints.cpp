// The two exported entry points, start-up of the extender object, and the attach notification.
#include "KTExtender.h"
#include "Messages.h"

CExtenderBase* g_pExtender;

extern "C" {

EXT_EXPORT int32_t EXTAPI KELExtender2(ExtOpaque pHostArg1, ExtOpaque pHostArg2,
                                       ExtOpaque pCallbackContext, int32_t CmdId,
                                       ExtResultCallback pfnResult, ExtHostServices* pServices,
                                       ExtOpaque pHostArg3, ExtValue* pArgs, int32_t nArgCount,
                                       ExtValue* pResult) {
    return g_pExtender->OnCommand(pHostArg1, pHostArg2, pCallbackContext, CmdId, pfnResult,
                                  pServices, pHostArg3, pArgs, nArgCount, pResult);
}

EXT_EXPORT int32_t EXTAPI KELExtenderQuery(int32_t nQueryType, void* pQueryData,
                                           int32_t nQueryCount) {
    return g_pExtender->OnQuery(nQueryType, pQueryData, nQueryCount);
}

BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID) {
    if (dwReason == DLL_PROCESS_ATTACH)
        g_hModule = static_cast<HMODULE>(hInstance);
    return 1;
}

} // extern "C"
