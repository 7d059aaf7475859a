// Records, services and codes shared with the host interpreter.
// Every layout here is the host's; the checks below pin sizes and offsets.
#pragma once

#include <cstddef>
#include <cstdint>

#define EXTAPI __attribute__((stdcall))

typedef uint32_t ExtOpaque; // a host value the module passes on and never reads

enum {
    EXT_VALUE_INTEGER = 1,
    EXT_VALUE_STRING = 2,
};

enum {
    EXT_OP_GET = 1,
    EXT_OP_SET = 2,
};

enum {
    EXT_MAX_DIMS = 5,
    EXT_MARK_ARRAY_WRITE = 0x100,
    EXT_MARK_ARRAY_READ = 0x200,
};

enum {
    EXT_STATUS_OK = 0,
    EXT_STATUS_NUMBER_ERROR = -1,
    EXT_STATUS_TEXT_ERROR = -2,
    EXT_STATUS_LOOKUP_ERROR = -3,
};

enum {
    EXT_KIND_FUNCTION = 2,
    EXT_KIND_CONSTANT = 3,
};

enum {
    EXT_ARG_INTEGER = 0,
    EXT_ARG_STRING = 1,
    EXT_ARG_ARRAY = 3,
};

enum {
    EXT_QUERY_MODULE_INFO = 1,
    EXT_QUERY_INTERFACE_VERSION = 2,
    EXT_INTERFACE_VERSION = 5,
};

enum {
    EXT_CMD_NOOP = -3,
    EXT_CMD_FUNCTION_INFO = -2,
    EXT_CMD_FUNCTION_COUNT = -1,
};

enum { EXT_DEFAULT_VERSION = 10001 };

#pragma pack(push, 1)

struct ExtValue {
    uint8_t abOpaque[24];
    int32_t nValue;
    int32_t nType;
    char* pszValue;
    uint32_t dwReserved;
};

enum { EXT_VALUE_SIZE = 40 };

struct ExtHostServices;

typedef int32_t(EXTAPI* ExtSetVariableFn)(void* pContext, const char* pszName, ExtValue* pValue,
                                          int32_t nSize, int32_t nOp);
typedef int32_t(EXTAPI* ExtArrayElementFn)(void* pContext, ExtValue* pArray, int32_t nSub0,
                                           int32_t nSub1, int32_t nSub2, int32_t nSub3,
                                           int32_t nSub4, ExtValue* pElement, int32_t nSize,
                                           int32_t nOp);
typedef int32_t(EXTAPI* ExtArrayInfoFn)(void* pContext, ExtValue* pArray, int32_t nSize,
                                        int32_t* pnDims, int32_t nDimsBytes, int32_t nOp);
typedef int32_t(EXTAPI* ExtErrorDetailFn)(void* pContext, const char* pszText);
typedef int32_t(EXTAPI* ExtResultCallback)(int32_t nStatus, ExtOpaque pCallbackContext,
                                           ExtHostServices* pServices, ExtValue* pResult);

struct ExtHostServices {
    uint32_t adwReserved1[5];
    void* pContext;
    uint32_t adwReserved2[2];
    ExtSetVariableFn pfnSetVariable;
    ExtArrayElementFn pfnArrayElement;
    ExtArrayInfoFn pfnArrayInfo;
    ExtErrorDetailFn pfnErrorDetail;
};

enum { EXT_NAME_MAX = 18 }; // longest row name

struct ExtFunctionInfo {
    int32_t nIndex;
    int32_t nKind;
    uint64_t qwArgTypes;
    union {
        struct {
            uint8_t nRequiredArgs;
            uint8_t nOptionalArgs;
            uint16_t wReserved;
        };
        int32_t nConstValue;
    };
    uint16_t nNameSize;
    char szName[EXT_NAME_MAX + 1];
};

#pragma pack(pop)

static_assert(sizeof(void*) == 4, "the host interface is 32-bit");

static_assert(sizeof(ExtValue) == EXT_VALUE_SIZE, "ExtValue size");
static_assert(offsetof(ExtValue, abOpaque) == 0, "ExtValue.abOpaque");
static_assert(offsetof(ExtValue, nValue) == 24, "ExtValue.nValue");
static_assert(offsetof(ExtValue, nType) == 28, "ExtValue.nType");
static_assert(offsetof(ExtValue, pszValue) == 32, "ExtValue.pszValue");
static_assert(offsetof(ExtValue, dwReserved) == 36, "ExtValue.dwReserved");

static_assert(sizeof(ExtHostServices) == 48, "ExtHostServices size");
static_assert(offsetof(ExtHostServices, adwReserved1) == 0, "ExtHostServices.adwReserved1");
static_assert(offsetof(ExtHostServices, pContext) == 20, "ExtHostServices.pContext");
static_assert(offsetof(ExtHostServices, adwReserved2) == 24, "ExtHostServices.adwReserved2");
static_assert(offsetof(ExtHostServices, pfnSetVariable) == 32, "ExtHostServices.pfnSetVariable");
static_assert(offsetof(ExtHostServices, pfnArrayElement) == 36, "ExtHostServices.pfnArrayElement");
static_assert(offsetof(ExtHostServices, pfnArrayInfo) == 40, "ExtHostServices.pfnArrayInfo");
static_assert(offsetof(ExtHostServices, pfnErrorDetail) == 44, "ExtHostServices.pfnErrorDetail");

static_assert(sizeof(ExtFunctionInfo) == 41, "ExtFunctionInfo size");
static_assert(offsetof(ExtFunctionInfo, nIndex) == 0, "ExtFunctionInfo.nIndex");
static_assert(offsetof(ExtFunctionInfo, nKind) == 4, "ExtFunctionInfo.nKind");
static_assert(offsetof(ExtFunctionInfo, qwArgTypes) == 8, "ExtFunctionInfo.qwArgTypes");
static_assert(offsetof(ExtFunctionInfo, nRequiredArgs) == 16, "ExtFunctionInfo.nRequiredArgs");
static_assert(offsetof(ExtFunctionInfo, nOptionalArgs) == 17, "ExtFunctionInfo.nOptionalArgs");
static_assert(offsetof(ExtFunctionInfo, wReserved) == 18, "ExtFunctionInfo.wReserved");
static_assert(offsetof(ExtFunctionInfo, nConstValue) == 16, "ExtFunctionInfo.nConstValue");
static_assert(offsetof(ExtFunctionInfo, nNameSize) == 20, "ExtFunctionInfo.nNameSize");
static_assert(offsetof(ExtFunctionInfo, szName) == 22, "ExtFunctionInfo.szName");

// The two exported entry points, as the host calls them.
typedef int32_t(EXTAPI* ExtCommandEntry)(ExtOpaque pHostArg1, ExtOpaque pHostArg2,
                                         ExtOpaque pCallbackContext, int32_t CmdId,
                                         ExtResultCallback pfnResult, ExtHostServices* pServices,
                                         ExtOpaque pHostArg3, ExtValue* pArgs, int32_t nArgCount,
                                         ExtValue* pResult);
typedef int32_t(EXTAPI* ExtQueryEntry)(int32_t nQueryType, void* pQueryData, int32_t nQueryCount);
