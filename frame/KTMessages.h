// Message texts by number (string table or language file) and the module information.
// Included by KTExtender.h: these are member operations of CKelExtenderT.
#pragma once

#include "Messages.h"

template <class T>
int32_t CKelExtenderT<T>::GetMessageText(int32_t nMsgId, char* pszBuffer, int32_t nBufferSize) {
    if (g_nLangState == LANG_STATE_UNREAD || nMsgId == 0)
        ReadLanguageSettings(m_szModuleName);

    char* pszTarget = pszBuffer;
    int32_t nSize = nBufferSize;
    if (nBufferSize == 0) {
        pszTarget = g_szMessage;
        nSize = sizeof(g_szMessage);
    }

    int32_t nCount = -1;
    if (nMsgId >= 100 && g_nLangState == LANG_STATE_FOUND) {
        char szKey[16];
        wsprintfA(szKey, "X%d", nMsgId);
        nCount = static_cast<int32_t>(
            GetPrivateProfileStringA(g_szLangSection, szKey, g_szIniDefault, pszTarget,
                                     static_cast<DWORD>(nSize), g_szLangFile));
        if (lstrcmpA(pszTarget, g_szIniDefault) == 0)
            nCount = -1;
    }
    if (nCount < 0) {
        pszTarget[0] = '\0';
        nCount = LoadStringA(g_hModule, static_cast<UINT>(nMsgId), pszTarget, nSize);
    }

    for (char* p = pszTarget; *p != '\0'; p = CharNextA(p)) {
        if (*p == '~')
            *p = '\n';
        else if (*p == '|')
            *p = '\t';
    }
    return nCount;
}

template <class T> int32_t CKelExtenderT<T>::GetModuleInfo(char* pszBuffer, int32_t nBufferSize) {
    if (pszBuffer != nullptr && nBufferSize > 0) {
        GetMessageText(IDS_MODULE_DESCRIPTION, m_szDescription, sizeof(m_szDescription));
        const int32_t nCopy = nBufferSize < EXT_PATH_SIZE ? nBufferSize : EXT_PATH_SIZE;
        lstrcpynA(pszBuffer, m_szDescription, nCopy);
    }

    char szPath[EXT_PATH_SIZE + 1];
    const DWORD nPathLength = GetModuleFileNameA(g_hModule, szPath, sizeof(szPath));
    if (nPathLength != 0 && nPathLength < sizeof(szPath))
        _splitpath(szPath, nullptr, nullptr, m_szModuleName, nullptr);

    m_nVersion = ReadFileVersion();
    return m_nVersion;
}
