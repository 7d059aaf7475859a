#include "StandInHost.h"

#include "DynamicLibrary.h"

#include <cstring>
#include <stdexcept>

namespace qvhost {

namespace {

const uint32_t kArrayMagic = 0x41525259; // marks an array record of this host
const size_t kTextChunkSize = 256 * 1024;

void WriteHandle(ExtValue& record, int32_t nHandle) {
    std::memset(record.abOpaque, 0, sizeof(record.abOpaque));
    std::memcpy(record.abOpaque, &kArrayMagic, 4);
    std::memcpy(record.abOpaque + 4, &nHandle, 4);
    record.nType = HOST_ARRAY_TYPE;
    record.pszValue = nullptr;
}

int32_t ReadHandle(const ExtValue& record) {
    uint32_t magic;
    int32_t nHandle;
    std::memcpy(&magic, record.abOpaque, 4);
    std::memcpy(&nHandle, record.abOpaque + 4, 4);
    return magic == kArrayMagic ? nHandle : -1;
}

StandInHost* HostOf(void* pContext) {
    return static_cast<StandInHost*>(pContext);
}

thread_local int s_nCommandDepth = 0;
thread_local int s_nServiceDepth = 0;

// Marks a service or callback of this host as running.
struct InService {
    InService() { ++s_nServiceDepth; }
    ~InService() { --s_nServiceDepth; }
};

} // namespace

Module::Module(const std::string& path) : m_handle(platform::OpenLibrary(path)) {
    if (m_handle == nullptr)
        throw std::runtime_error("cannot load " + path);
    m_pfnCommand =
        reinterpret_cast<ExtCommandEntry>(platform::FindEntryPoint(m_handle, "_KELExtender2@40"));
    m_pfnQuery =
        reinterpret_cast<ExtQueryEntry>(platform::FindEntryPoint(m_handle, "_KELExtenderQuery@12"));
    if (m_pfnCommand == nullptr || m_pfnQuery == nullptr) {
        platform::CloseLibrary(m_handle);
        throw std::runtime_error("entry points missing in " + path);
    }
}

Module::~Module() {
    platform::CloseLibrary(m_handle);
}

std::string Module::DefaultPath() {
    return platform::ProgramFolder() + platform::ModuleFileName();
}

int32_t Module::Query(int32_t nQueryType, void* pQueryData, int32_t nQueryCount) const {
    return m_pfnQuery(nQueryType, pQueryData, nQueryCount);
}

int32_t Module::Command(ExtOpaque pHostArg1, ExtOpaque pHostArg2, ExtOpaque pCallbackContext,
                        int32_t CmdId, ExtResultCallback pfnResult, ExtHostServices* pServices,
                        ExtOpaque pHostArg3, ExtValue* pArgs, int32_t nArgCount,
                        ExtValue* pResult) const {
    return m_pfnCommand(pHostArg1, pHostArg2, pCallbackContext, CmdId, pfnResult, pServices,
                        pHostArg3, pArgs, nArgCount, pResult);
}

Arg Arg::Int(int32_t n) {
    Arg a;
    a.kind = Integer;
    a.nValue = n;
    return a;
}

Arg Arg::Str(std::string s) {
    Arg a;
    a.kind = Text;
    a.text = std::move(s);
    return a;
}

Arg Arg::Null() {
    Arg a;
    a.kind = NullText;
    return a;
}

Arg Arg::ArrayOf(int32_t nHandle) {
    Arg a;
    a.kind = ArrayRef;
    a.nHandle = nHandle;
    return a;
}

StandInHost::StandInHost(const Module& module) : m_module(module) {
    m_services.pContext = this;
    m_services.pfnSetVariable = &OnSetVariable;
    m_services.pfnArrayElement = &OnArrayElement;
    m_services.pfnArrayInfo = &OnArrayInfo;
    m_services.pfnErrorDetail = &OnErrorDetail;
}

int32_t StandInHost::RowCount() const {
    ExtValue result{};
    return m_module.Command(0, 0, 0, EXT_CMD_FUNCTION_COUNT, &OnResult, nullptr, 0, nullptr, 0,
                            &result);
}

bool StandInHost::Describe(int32_t nRow, ExtFunctionInfo& info) const {
    ExtValue result{};
    std::memset(&info, 0, sizeof(info));
    return m_module.Command(0, 0, 0, EXT_CMD_FUNCTION_INFO, &OnResult, nullptr, 0,
                            reinterpret_cast<ExtValue*>(&info), nRow, &result) == 1;
}

int32_t StandInHost::FindRow(const std::string& name) const {
    std::string lower = name;
    for (char& c : lower)
        c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
    const int32_t nRows = RowCount();
    for (int32_t r = 0; r < nRows; ++r) {
        ExtFunctionInfo info;
        if (Describe(r, info) && lower == info.szName)
            return r;
    }
    return -1;
}

int32_t StandInHost::NewArray(int32_t nRows, int32_t nCols,
                              const std::vector<std::vector<std::optional<std::string>>>& rows) {
    auto array = std::make_unique<Array>();
    array->nRows = nRows;
    array->nCols = nCols;
    const uint64_t nCells = static_cast<uint64_t>(nRows < 0 ? 0 : nRows) * (nCols < 0 ? 0 : nCols);
    if (nRows < 0 || nCols < 0 || nCells > SIZE_MAX / sizeof(std::optional<std::string>))
        throw std::length_error("more array cells than this host can hold");
    array->cells.resize(static_cast<size_t>(nCells));
    for (size_t r = 0; r < rows.size() && r < static_cast<size_t>(nRows); ++r) {
        for (size_t c = 0; c < rows[r].size() && c < static_cast<size_t>(nCols); ++c)
            array->cells[r * nCols + c] = rows[r][c];
    }
    const int32_t nHandle = m_nNextHandle++;
    m_arrays[nHandle] = std::move(array);
    return nHandle;
}

Outcome StandInHost::Call(const std::string& name, const std::vector<Arg>& args) {
    const int32_t nRow = FindRow(name);
    if (nRow < 0)
        throw std::invalid_argument("no script function " + name);
    return Call(nRow, args);
}

Outcome StandInHost::Call(int32_t nRow, const std::vector<Arg>& args,
                          const ExtValue* pInitialResult) {
    ExtFunctionInfo info;
    size_t nDeclared = args.size();
    uint64_t qwTypes = 0;
    if (Describe(nRow, info) && info.nKind == EXT_KIND_FUNCTION) {
        nDeclared = info.nRequiredArgs + info.nOptionalArgs;
        qwTypes = info.qwArgTypes;
    }
    const size_t nRecords = args.size() > nDeclared ? args.size() : nDeclared;
    std::vector<ExtValue> records(nRecords > 0 ? nRecords : 1);
    std::vector<std::string> texts(nRecords);
    for (size_t i = 0; i < nRecords; ++i) {
        ExtValue& v = records[i];
        if (i >= args.size()) { // omitted: 0 or the empty text, by the declared type
            if (((qwTypes >> (4 * i)) & 0xF) == EXT_ARG_STRING) {
                v.nType = EXT_VALUE_STRING;
                v.pszValue = texts[i].data();
            } else {
                v.nType = EXT_VALUE_INTEGER;
            }
            continue;
        }
        const Arg& a = args[i];
        switch (a.kind) {
        case Arg::Integer:
            v.nType = EXT_VALUE_INTEGER;
            v.nValue = a.nValue;
            break;
        case Arg::Text:
            // The module only reads argument texts: hand over the caller's own.
            v.nType = EXT_VALUE_STRING;
            v.pszValue = const_cast<char*>(a.text.c_str());
            break;
        case Arg::NullText:
            v.nType = EXT_VALUE_STRING;
            v.pszValue = nullptr;
            break;
        case Arg::ArrayRef:
            WriteHandle(v, a.nHandle);
            break;
        }
    }

    Outcome outcome;
    m_result = pInitialResult != nullptr ? *pInitialResult : ExtValue{};
    m_log.clear();
    ForgetElementTexts();
    m_pOutcome = &outcome;
    ++s_nCommandDepth;
    outcome.nReturned = m_module.Command(0x11, 0x22, reinterpret_cast<ExtOpaque>(this), nRow,
                                         &OnResult, &m_services, 0x33, records.data(),
                                         static_cast<int32_t>(args.size()), &m_result);
    --s_nCommandDepth;
    m_pOutcome = nullptr;
    return outcome;
}

bool StandInHost::ModuleIsRunning() {
    return s_nCommandDepth > 0 && s_nServiceDepth == 0;
}

char* StandInHost::KeepElementText(const std::string& text) {
    const size_t nNeed = text.size() + 1;
    for (; m_nTextChunk < m_textChunks.size(); ++m_nTextChunk) {
        TextChunk& chunk = m_textChunks[m_nTextChunk];
        if (chunk.nSize - chunk.nUsed >= nNeed)
            break;
    }
    if (m_nTextChunk == m_textChunks.size()) {
        TextChunk chunk;
        chunk.nSize = nNeed > kTextChunkSize ? nNeed : kTextChunkSize;
        chunk.pData.reset(new char[chunk.nSize]);
        m_textChunks.push_back(std::move(chunk));
    }
    TextChunk& chunk = m_textChunks[m_nTextChunk];
    char* pText = chunk.pData.get() + chunk.nUsed;
    std::memcpy(pText, text.c_str(), nNeed);
    chunk.nUsed += nNeed;
    return pText;
}

void StandInHost::ForgetElementTexts() {
    for (TextChunk& chunk : m_textChunks)
        chunk.nUsed = 0;
    m_nTextChunk = 0;
}

LogEntry& StandInHost::Record(Event event) {
    m_log.emplace_back();
    LogEntry& entry = m_log.back();
    entry.event = event;
    entry.nResultType = m_result.nType;
    return entry;
}

Array* StandInHost::ArrayOfRecord(const ExtValue* pArray) {
    if (pArray == nullptr)
        return nullptr;
    auto it = m_arrays.find(ReadHandle(*pArray));
    return it == m_arrays.end() ? nullptr : it->second.get();
}

int32_t EXTAPI StandInHost::OnSetVariable(void* pContext, const char* pszName, ExtValue* pValue,
                                          int32_t nSize, int32_t nOp) {
    InService inService;
    StandInHost* self = HostOf(pContext);
    LogEntry& e = self->Record(Event::SetVariable);
    e.bNullText = pszName == nullptr;
    e.text = pszName != nullptr ? pszName : "";
    e.nRecordSize = nSize;
    e.nOp = nOp;
    if (pValue != nullptr) {
        e.nValue = pValue->nValue;
        e.nValueType = pValue->nType;
    }
    if (pszName != nullptr && pValue != nullptr && nOp == EXT_OP_SET)
        self->m_variables[pszName] = pValue->nValue;
    return 1;
}

int32_t EXTAPI StandInHost::OnArrayElement(void* pContext, ExtValue* pArray, int32_t s0, int32_t s1,
                                           int32_t s2, int32_t s3, int32_t s4, ExtValue* pElement,
                                           int32_t nSize, int32_t nOp) {
    InService inService;
    StandInHost* self = HostOf(pContext);
    LogEntry& e = self->Record(nOp == EXT_OP_SET ? Event::ElementWrite : Event::ElementRead);
    const int32_t subs[5] = {s0, s1, s2, s3, s4};
    std::memcpy(e.anSubs, subs, sizeof(subs));
    e.nRecordSize = nSize;
    e.nOp = nOp;
    Array* array = self->ArrayOfRecord(pArray);
    e.nHandle = pArray != nullptr ? ReadHandle(*pArray) : -1;
    if (pElement != nullptr)
        e.nValueType = pElement->nType;
    const bool bInside =
        array != nullptr && s0 >= 0 && s0 < array->nRows && s1 >= 0 && s1 < array->nCols;
    e.bOutOfBounds = !bInside;
    if (pElement == nullptr)
        return 0;
    if (nOp == EXT_OP_SET) {
        e.bNullText = pElement->pszValue == nullptr;
        e.text = pElement->pszValue != nullptr ? pElement->pszValue : "";
        if (bInside)
            array->cells[static_cast<size_t>(s0) * array->nCols + s1] = e.text;
        return bInside ? 1 : 0;
    }
    pElement->pszValue = nullptr;
    if (bInside && !self->hostility.bNullElementTexts) {
        const auto& cell = array->At(s0, s1);
        if (cell) {
            pElement->pszValue = self->KeepElementText(*cell);
        }
    }
    e.bNullText = pElement->pszValue == nullptr;
    return bInside ? 1 : 0;
}

int32_t EXTAPI StandInHost::OnArrayInfo(void* pContext, ExtValue* pArray, int32_t nSize,
                                        int32_t* pnDims, int32_t nDimsBytes, int32_t nOp) {
    InService inService;
    StandInHost* self = HostOf(pContext);
    LogEntry& e = self->Record(nOp == EXT_OP_SET ? Event::ArrayCreate : Event::ArrayQuery);
    e.nRecordSize = nSize;
    e.nOp = nOp;
    e.nBufferBytes = nDimsBytes;
    if (pArray == nullptr || pnDims == nullptr)
        return 0;
    if (nOp == EXT_OP_SET) {
        const int nCopy = nDimsBytes >= 20 ? 5 : nDimsBytes / 4;
        for (int i = 0; i < nCopy; ++i)
            e.anSubs[i] = pnDims[i];
        const int32_t nRows = e.anSubs[0], nCols = e.anSubs[1];
        if (self->hostility.bRefuseCreate || nCopy < 2 || nRows < 0 || nCols < 0 ||
            static_cast<int64_t>(nRows) * nCols > self->nMaxCreateCells)
            return 0;
        const int32_t nHandle = self->NewArray(nRows, nCols);
        e.nHandle = nHandle;
        WriteHandle(*pArray, nHandle);
        return 1;
    }
    Array* array = self->ArrayOfRecord(pArray);
    e.nHandle = ReadHandle(*pArray);
    int32_t nRows = array != nullptr ? array->nRows : 0;
    int32_t nCols = array != nullptr ? array->nCols : 0;
    if (self->hostility.dims) {
        nRows = self->hostility.dims->first;
        nCols = self->hostility.dims->second;
    }
    if (nDimsBytes >= 8) {
        pnDims[0] = nRows;
        pnDims[1] = nCols;
        e.anSubs[0] = nRows;
        e.anSubs[1] = nCols;
    }
    return array != nullptr ? 1 : 0;
}

int32_t EXTAPI StandInHost::OnErrorDetail(void* pContext, const char* pszText) {
    InService inService;
    LogEntry& e = HostOf(pContext)->Record(Event::ErrorDetail);
    e.bNullText = pszText == nullptr;
    e.text = pszText != nullptr ? pszText : "";
    return 1;
}

int32_t EXTAPI StandInHost::OnResult(int32_t nStatus, ExtOpaque pCallbackContext,
                                     ExtHostServices* pServices, ExtValue* pResult) {
    InService inService;
    StandInHost* self = reinterpret_cast<StandInHost*>(pCallbackContext);
    if (self == nullptr) // commands outside a script call
        return 0;
    LogEntry& e = self->Record(Event::Result);
    e.nValue = nStatus;
    Outcome* outcome = self->m_pOutcome;
    if (outcome == nullptr)
        return 0;
    outcome->bOwnRecords =
        outcome->bOwnRecords && pServices == &self->m_services && pResult == &self->m_result;
    if (++outcome->nResultCalls == 1) {
        outcome->nStatus = nStatus;
        outcome->result = *pResult;
        if (pResult->nType == EXT_VALUE_STRING && pResult->pszValue != nullptr)
            outcome->text = std::string(pResult->pszValue);
        if (pResult->nType == HOST_ARRAY_TYPE)
            outcome->nArrayHandle = ReadHandle(*pResult);
        e.text = outcome->text.value_or("");
        e.bNullText = !outcome->text.has_value();
    }
    return self->nCallbackReturn;
}

} // namespace qvhost
