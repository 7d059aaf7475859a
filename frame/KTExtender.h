// The extender interface and the template that implements it from a module class's table.
#pragma once

#include "ExtAssert.h"
#include "ExtHost.h"
#include "ExtTable.h"
#include "PlatformApi.h"

#include <cstring>
#include <exception>
#include <new>

class CExtenderBase {
public:
    virtual int32_t OnQuery(int32_t nQueryType, void* pQueryData, int32_t nQueryCount) = 0;
    virtual int32_t OnCommand(ExtOpaque pHostArg1, ExtOpaque pHostArg2, ExtOpaque pCallbackContext,
                              int32_t CmdId, ExtResultCallback pfnResult,
                              ExtHostServices* pServices, ExtOpaque pHostArg3, ExtValue* pArgs,
                              int32_t nArgCount, ExtValue* pResult) = 0;
};

enum { EXT_MESSAGE_SIZE = 256, EXT_PATH_SIZE = 260 };

template <class T> class CKelExtenderT : public CExtenderBase {
public:
    // Every member starts at zero when the module is loaded.
    constexpr CKelExtenderT()
        : m_pCallbackContext(0), m_pfnResult(nullptr), m_pServices(nullptr), m_pResult(nullptr),
          m_nVersion(0), m_szDescription{}, m_szModuleName{} {}

    int32_t OnQuery(int32_t nQueryType, void* pQueryData, int32_t nQueryCount) override {
        switch (static_cast<int16_t>(nQueryType & 0xFFFF)) {
        case EXT_QUERY_MODULE_INFO:
            return GetModuleInfo(static_cast<char*>(pQueryData), nQueryCount);
        case EXT_QUERY_INTERFACE_VERSION: {
            const int32_t* pnVersions = static_cast<const int32_t*>(pQueryData);
            for (int32_t i = 0; i < nQueryCount; ++i) {
                if (pnVersions[i] == EXT_INTERFACE_VERSION)
                    return EXT_INTERFACE_VERSION;
            }
            return -1;
        }
        default:
            return 0;
        }
    }

    int32_t OnCommand(ExtOpaque pHostArg1, ExtOpaque pHostArg2, ExtOpaque pCallbackContext,
                      int32_t CmdId, ExtResultCallback pfnResult, ExtHostServices* pServices,
                      ExtOpaque pHostArg3, ExtValue* pArgs, int32_t nArgCount,
                      ExtValue* pResult) override {
        m_pCallbackContext = pCallbackContext;
        m_pfnResult = pfnResult;
        m_pServices = pServices;
        m_pResult = pResult;

        const int16_t nCmd = static_cast<int16_t>(CmdId & 0xFFFF);
        switch (nCmd) {
        case EXT_CMD_NOOP:
            return 1;
        case EXT_CMD_FUNCTION_COUNT:
            return static_cast<int32_t>(EXT_TABLE_ROWS);
        case EXT_CMD_FUNCTION_INFO:
            return DescribeRow(nArgCount, reinterpret_cast<ExtFunctionInfo*>(pArgs));
        default:
            break;
        }
        const uint16_t nRow = static_cast<uint16_t>(nCmd);
        if (!(nRow < EXT_TABLE_ROWS)) {
            ExtAssertReport("CmdId < _countof(m_ExtTable)", "KTExtender", 124);
            return 0;
        }
        const ExtHandler pfnHandler = T::m_ExtTable[nRow].m_pfnHandler;
        if (pfnHandler == nullptr)
            return 0;
        return (static_cast<T*>(this)->*pfnHandler)(pHostArg1, pHostArg2, pHostArg3, pArgs,
                                                    nArgCount);
    }

    // Hand-back operations: each ends the current command through the host's callback.
    int32_t SetErrorDetail(const char* pszText) {
        return m_pServices->pfnErrorDetail(m_pServices->pContext, pszText);
    }

    int32_t ReportError(int32_t nStatus, int32_t nMsgId) {
        char szMessage[EXT_MESSAGE_SIZE];
        GetMessageText(nMsgId, szMessage, EXT_MESSAGE_SIZE);
        m_pResult->pszValue = szMessage;
        m_pResult->nType = EXT_VALUE_STRING;
        return CallResult(nStatus);
    }

    int32_t ReturnRecord(const ExtValue* pValue) {
        std::memcpy(m_pResult->abOpaque, pValue->abOpaque, sizeof(pValue->abOpaque));
        m_pResult->nType = pValue->nType;
        m_pResult->pszValue = pValue->pszValue;
        return CallResult(EXT_STATUS_OK);
    }

    int32_t ReturnString(const char* pszText) {
        m_pResult->pszValue = const_cast<char*>(pszText);
        m_pResult->nType = EXT_VALUE_STRING;
        return CallResult(EXT_STATUS_OK);
    }

    int32_t ReturnInteger(int32_t nValue) {
        m_pResult->nValue = nValue;
        m_pResult->nType = EXT_VALUE_INTEGER;
        return CallResult(EXT_STATUS_OK);
    }

    // Runs a handler body; anything thrown (memory exhaustion included) ends the call as a
    // detail text and message nMsgId with nStatus, and never crosses into the host.
    template <class Body> int32_t RunGuarded(int32_t nStatus, int32_t nMsgId, Body&& body) {
        try {
            return body();
        } catch (const std::bad_alloc&) {
            SetErrorDetail("Out of memory.");
        } catch (const std::exception& e) {
            SetErrorDetail(e.what());
        } catch (...) {
            SetErrorDetail("Unknown error.");
        }
        return ReportError(nStatus, nMsgId);
    }

    int32_t GetMessageText(int32_t nMsgId, char* pszBuffer, int32_t nBufferSize);
    int32_t GetModuleInfo(char* pszBuffer, int32_t nBufferSize);

protected:
    int32_t CallResult(int32_t nStatus) {
        return m_pfnResult(nStatus, m_pCallbackContext, m_pServices, m_pResult);
    }

    ExtOpaque m_pCallbackContext;
    ExtResultCallback m_pfnResult;
    ExtHostServices* m_pServices;
    ExtValue* m_pResult;
    int32_t m_nVersion;
    char m_szDescription[EXT_PATH_SIZE];
    char m_szModuleName[EXT_PATH_SIZE];

private:
    int32_t DescribeRow(int32_t nRow, ExtFunctionInfo* pInfo) {
        if (nRow < 0 || nRow >= static_cast<int32_t>(EXT_TABLE_ROWS))
            return 0;
        if (pInfo == nullptr)
            return 1;
        const ExtTableEntry& row = T::m_ExtTable[nRow];
        if (!(row.m_nSize == lstrlenA(row.m_szName)))
            ExtAssertReport(
                "m_ExtTable[nArgCount].m_nSize == lstrlen(m_ExtTable[nArgCount].m_szName)",
                "qvPalvek", 1793);
        pInfo->nIndex = nRow;
        pInfo->nKind = row.m_nKind;
        pInfo->qwArgTypes = row.m_qwArgTypes;
        pInfo->nConstValue = row.m_nValue;
        pInfo->nNameSize = row.m_nSize;
        lstrcpynA(pInfo->szName, row.m_szName, sizeof(pInfo->szName));
        CharLowerA(pInfo->szName);
        return 1;
    }
};

#include "KTMessages.h"
