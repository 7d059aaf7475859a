// A stand-in for the host interpreter: loads the module through its two entry points,
// keeps arrays, variables and error details, and logs every service call and callback.
#pragma once

#include "ExtHost.h"

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace qvhost {

// The module, loaded the way a host loads it.
class Module {
public:
    explicit Module(const std::string& path); // throws std::runtime_error when it cannot load
    ~Module();
    Module(const Module&) = delete;
    Module& operator=(const Module&) = delete;

    int32_t Query(int32_t nQueryType, void* pQueryData, int32_t nQueryCount) const;
    int32_t Command(ExtOpaque pHostArg1, ExtOpaque pHostArg2, ExtOpaque pCallbackContext,
                    int32_t CmdId, ExtResultCallback pfnResult, ExtHostServices* pServices,
                    ExtOpaque pHostArg3, ExtValue* pArgs, int32_t nArgCount,
                    ExtValue* pResult) const;

    // The module built beside the running program.
    static std::string DefaultPath();

private:
    void* m_handle;
    ExtCommandEntry m_pfnCommand;
    ExtQueryEntry m_pfnQuery;
};

// The host's code for an array record.
enum { HOST_ARRAY_TYPE = 0x4000 };

enum class Event {
    SetVariable,
    ArrayQuery,   // pfnArrayInfo with EXT_OP_GET
    ArrayCreate,  // pfnArrayInfo with EXT_OP_SET
    ElementRead,  // pfnArrayElement with EXT_OP_GET
    ElementWrite, // pfnArrayElement with EXT_OP_SET
    ErrorDetail,
    Result,
};

struct LogEntry {
    Event event;
    int32_t nResultType;     // the result record's nType at that moment
    std::string text;        // variable name, detail, written element text, or result text
    bool bNullText = false;  // the text pointer was null
    int32_t nHandle = -1;    // array handle, for array services
    int32_t anSubs[5] = {};  // element subscripts, or create/query sizes
    int32_t nValue = 0;      // variable value, or the status of a result
    int32_t nValueType = 0;  // nType of the variable or element record
    int32_t nRecordSize = 0; // the record size argument
    int32_t nOp = 0;         // the operation argument
    int32_t nBufferBytes = 0;
    bool bOutOfBounds = false; // an element call outside the array, or an unknown array
};

struct Array {
    int32_t nRows = 0;
    int32_t nCols = 0;
    std::vector<std::optional<std::string>> cells; // row-major; nullopt is an element without text

    const std::optional<std::string>& At(int32_t r, int32_t c) const {
        return cells[static_cast<size_t>(r) * nCols + c];
    }
};

// One argument of a script call.
struct Arg {
    enum Kind { Integer, Text, NullText, ArrayRef } kind = Integer;
    int32_t nValue = 0;
    std::string text;
    int32_t nHandle = -1;

    static Arg Int(int32_t n);
    static Arg Str(std::string s);
    static Arg Null();
    static Arg ArrayOf(int32_t nHandle);
};

struct Outcome {
    int32_t nReturned = 0;           // what the entry point returned
    int nResultCalls = 0;            // result callbacks seen during the command
    int32_t nStatus = 0;             // status of the (first) result callback
    ExtValue result{};               // the result record when the callback ran
    std::optional<std::string> text; // the result text, copied while the callback ran
    int32_t nArrayHandle = -1;       // an array result's handle
    bool bOwnRecords = true;         // every callback passed this host's services and result

    bool IsText() const { return result.nType == EXT_VALUE_STRING; }
    bool IsInteger() const { return result.nType == EXT_VALUE_INTEGER; }
};

// What a hostile host does differently.
struct Hostility {
    bool bNullElementTexts = false;                  // element reads answer a null text
    bool bRefuseCreate = false;                      // array creation leaves the record as it was
    std::optional<std::pair<int32_t, int32_t>> dims; // answer these dimensions to every query
};

class StandInHost {
public:
    explicit StandInHost(const Module& module);

    // The module's table as the host learns it through describe.
    int32_t RowCount() const;
    bool Describe(int32_t nRow, ExtFunctionInfo& info) const;
    int32_t FindRow(const std::string& name) const; // any case; -1 when unknown

    // Runs the script function of a row. Arguments missing from args are supplied the way
    // this host supplies omitted ones: 0 for an integer, the empty text for a text.
    Outcome Call(int32_t nRow, const std::vector<Arg>& args,
                 const ExtValue* pInitialResult = nullptr);
    Outcome Call(const std::string& name, const std::vector<Arg>& args);

    int32_t NewArray(int32_t nRows, int32_t nCols,
                     const std::vector<std::vector<std::optional<std::string>>>& rows = {});
    const Array& GetArray(int32_t nHandle) const { return *m_arrays.at(nHandle); }

    const std::vector<LogEntry>& Log() const { return m_log; }

    // True while a command runs in the module and not in one of this host's services or
    // callbacks: an allocation made then is the module's own.
    static bool ModuleIsRunning();

    const std::map<std::string, int32_t>& Variables() const { return m_variables; }
    Hostility hostility;
    int32_t nCallbackReturn = 0x5EED;           // what the result callback returns to the module
    int64_t nMaxCreateCells = 64 * 1024 * 1024; // a larger create is refused

private:
    static int32_t EXTAPI OnSetVariable(void* pContext, const char* pszName, ExtValue* pValue,
                                        int32_t nSize, int32_t nOp);
    static int32_t EXTAPI OnArrayElement(void* pContext, ExtValue* pArray, int32_t s0, int32_t s1,
                                         int32_t s2, int32_t s3, int32_t s4, ExtValue* pElement,
                                         int32_t nSize, int32_t nOp);
    static int32_t EXTAPI OnArrayInfo(void* pContext, ExtValue* pArray, int32_t nSize,
                                      int32_t* pnDims, int32_t nDimsBytes, int32_t nOp);
    static int32_t EXTAPI OnErrorDetail(void* pContext, const char* pszText);
    static int32_t EXTAPI OnResult(int32_t nStatus, ExtOpaque pCallbackContext,
                                   ExtHostServices* pServices, ExtValue* pResult);

    Array* ArrayOfRecord(const ExtValue* pArray);
    LogEntry& Record(Event event);

    const Module& m_module;
    ExtHostServices m_services{};
    ExtValue m_result{};
    Outcome* m_pOutcome = nullptr;
    std::vector<LogEntry> m_log;
    std::map<int32_t, std::unique_ptr<Array>> m_arrays;
    std::map<std::string, int32_t> m_variables;
    // Texts handed out by element reads, valid until the next call: NUL-terminated copies
    // packed into chunks that never move and are reused by later calls.
    struct TextChunk {
        std::unique_ptr<char[]> pData;
        size_t nSize = 0;
        size_t nUsed = 0;
    };
    std::vector<TextChunk> m_textChunks;
    size_t m_nTextChunk = 0; // the chunk being filled
    char* KeepElementText(const std::string& text);
    void ForgetElementTexts();
    int32_t m_nNextHandle = 1;
};

} // namespace qvhost
