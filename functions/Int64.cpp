// Signed 64-bit integer arithmetic on decimal texts: quotient, remainder, AND, XOR and NOT.
#include "qvPalvek.h"

#include "ErrnoException.h"
#include "MessageIds.h"
#include "NumericLocaleGuard.h"

#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <exception>

static_assert(ERANGE == 34 && EINVAL == 22, "the messages follow these errno numbers");
static_assert(sizeof(long long) == sizeof(int64_t), "strtoll converts 64-bit values");

namespace {

enum Int64Operation {
    INT64_QUOTIENT,
    INT64_REMAINDER,
    INT64_AND,
    INT64_XOR,
    INT64_NOT,
};

enum { INT64_RADIX = 10, INT64_RESULT_SIZE = 65 };

const char* ArgText(const ExtValue& arg) {
    return arg.pszValue != nullptr ? arg.pszValue : "";
}

// Two's-complement arithmetic that never traps: INT64_MIN / -1 wraps to INT64_MIN with
// remainder 0. The divisor is not 0 here.
int64_t Compute(int nOperation, int64_t a, int64_t b) {
    switch (nOperation) {
    case INT64_QUOTIENT:
        if (b == -1)
            return static_cast<int64_t>(0 - static_cast<uint64_t>(a));
        return a / b;
    case INT64_REMAINDER:
        return b == -1 ? 0 : a % b;
    case INT64_AND:
        return a & b;
    case INT64_XOR:
        return a ^ b;
    default:
        return ~a;
    }
}

} // namespace

int64_t CqvPalvek::ParseInt64(const char* pszText, int nRadix) {
    std::string strText(pszText != nullptr ? pszText : "");

    // Only blanks and tabs count as trailing white space; a text of nothing else stays whole.
    const size_t nLast = strText.find_last_not_of(" \t");
    if (nLast != std::string::npos)
        strText.erase(nLast + 1);

    const int nSavedErrno = errno;
    errno = 0;
    char* pszStop = nullptr;
    const long long nValue = std::strtoll(strText.c_str(), &pszStop, nRadix);
    const int nErrno = errno;
    errno = nSavedErrno;

    if (nErrno == ERANGE)
        throw CErrnoException(ERANGE);
    if (nErrno == EINVAL)
        throw CErrnoException(EINVAL);
    if (pszStop != strText.c_str() + strText.size() || strText.empty())
        throw CErrnoException(EINVAL);
    return nValue;
}

int32_t CqvPalvek::RunInt64(ExtValue* pArgs, int nOperation) {
    // The caller's errno is put back before every call into the host.
    const int nCallerErrno = errno;
    char szResult[INT64_RESULT_SIZE] = {};
    int32_t nMsgId = 0;

    try {
        CNumericLocaleGuard guard;
        const int64_t a = ParseInt64(ArgText(pArgs[0]), INT64_RADIX);
        const int64_t b = nOperation == INT64_NOT ? 0 : ParseInt64(ArgText(pArgs[1]), INT64_RADIX);
        if ((nOperation == INT64_QUOTIENT || nOperation == INT64_REMAINDER) && b == 0) {
            nMsgId = IDS_DIVIDE_BY_ZERO;
        } else {
            // std::to_chars ignores the locale: no grouping, whatever the numeric category.
            // The buffer's last character stays the terminator.
            const std::to_chars_result conv = std::to_chars(
                szResult, szResult + INT64_RESULT_SIZE - 1, Compute(nOperation, a, b), INT64_RADIX);
            if (conv.ec != std::errc())
                nMsgId = IDS_INTERNAL_ERROR;
        }
    } catch (const CErrnoException& e) {
        nMsgId = e.m_nErrno == ERANGE   ? IDS_OUT_OF_RANGE
                 : e.m_nErrno == EINVAL ? IDS_NOT_A_NUMBER
                                        : IDS_SYSTEM_ERROR;
    } catch (const std::exception& e) {
        nMsgId = IDS_SYSTEM_ERROR;
        errno = nCallerErrno;
        SetErrorDetail(e.what());
    }

    if (nMsgId == 0) {
        errno = nCallerErrno;
        return ReturnString(szResult);
    }

    char szMessage[EXT_MESSAGE_SIZE] = {};
    try {
        GetMessageText(nMsgId, szMessage, EXT_MESSAGE_SIZE);
    } catch (...) {
        // No memory to fetch the text (the language file is read through allocating code):
        // the failure still ends the call, with an empty message.
        szMessage[0] = '\0';
    }
    errno = nCallerErrno;
    m_pResult->pszValue = szMessage;
    m_pResult->nType = EXT_VALUE_STRING;
    return CallResult(EXT_STATUS_NUMBER_ERROR);
}

int32_t CqvPalvek::pkStrProper(ExtOpaque, ExtOpaque, ExtOpaque, ExtValue* pArgs, int32_t) {
    return RunInt64(pArgs, INT64_QUOTIENT);
}

int32_t CqvPalvek::pkStrCapital(ExtOpaque, ExtOpaque, ExtOpaque, ExtValue* pArgs, int32_t) {
    return RunInt64(pArgs, INT64_REMAINDER);
}

int32_t CqvPalvek::pkStrCleanInt(ExtOpaque, ExtOpaque, ExtOpaque, ExtValue* pArgs, int32_t) {
    return RunInt64(pArgs, INT64_AND);
}

int32_t CqvPalvek::pkStrCleanAlpha(ExtOpaque, ExtOpaque, ExtOpaque, ExtValue* pArgs, int32_t) {
    return RunInt64(pArgs, INT64_XOR);
}

int32_t CqvPalvek::pkStrCleanAlphaNum(ExtOpaque, ExtOpaque, ExtOpaque, ExtValue* pArgs, int32_t) {
    return RunInt64(pArgs, INT64_NOT);
}
