// Exhausted memory: the n-th allocation the module makes fails, for every n up to the number
// of allocations one call makes. Every such call must end in one result callback with a
// negative status, and the next call with memory available must succeed.
#include "HostFixture.h"

#include <cstdlib>
#include <new>

namespace {

long g_nAllocations = 0; // the module's allocations since the count was reset
long g_nFailAt = 0;      // fail the allocation with this number; 0: never

void* Allocate(size_t nSize) {
    if (qvhost::StandInHost::ModuleIsRunning() && ++g_nAllocations == g_nFailAt)
        return nullptr;
    return std::malloc(nSize ? nSize : 1);
}

} // namespace

void* operator new(size_t nSize) {
    if (void* p = Allocate(nSize))
        return p;
    throw std::bad_alloc();
}
void* operator new[](size_t nSize) { return operator new(nSize); }
void* operator new(size_t nSize, const std::nothrow_t&) noexcept { return Allocate(nSize); }
void* operator new[](size_t nSize, const std::nothrow_t&) noexcept { return Allocate(nSize); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, size_t) noexcept { std::free(p); }
void operator delete[](void* p, size_t) noexcept { std::free(p); }

namespace {

struct Representative {
    const char* pszName;
    int32_t nRow;
    std::vector<qvhost::Arg> args;
    bool bNeedsArray; // argument 0 is an array made by the host
};

std::vector<Representative> Calls() {
    using qvhost::Arg;
    const std::string csv = "a,\"b,c\",d\r\n1,2,3\r\nx,y,z\r\n";
    return {
        {"pkArrayFromStrCSV", 0, {Arg::Str(csv), Arg::Int(0), Arg::Str(","), Arg::Int(1), Arg::Int(1)}, false},
        {"pkArrayToStrCSV", 1, {Arg::Str(";"), Arg::Int(0), Arg::Int(0)}, true},
        {"pkArrInitialize", 2, {Arg::Str("v"), Arg::Int(1), Arg::Int(2)}, true},
        {"pkISBN10To13", 3, {Arg::Str("0-306-40615-2 and a longer tail of text")}, false},
        {"pkISBN13To10", 4, {Arg::Str("978-0-306-40615-7 and a longer tail of text")}, false},
        {"pkIsISBN", 5, {Arg::Str("979-10-90636-07-1 and a longer tail of text"), Arg::Int(0)}, false},
        {"pkStrCleanISBN", 6, {Arg::Str("ISBN 0-306-40615-2 and a longer tail of text")}, false},
        {"pkStrTrim", 7, {Arg::Str("  a text long enough to need the heap  \r\n"), Arg::Int(0)}, false},
        {"pkGetConstants", 8, {Arg::Str("ActMsgPR_ORIGINAL_SENT_REPRESENTING_EMAIL_ADDRESS")}, false},
        {"pkStrCut", 9, {Arg::Str("1-3j,5,2"), Arg::Str(csv + "a longer line,with,more,fields\r\n"), Arg::Str("f"), Arg::Str(";")}, false},
        {"pkStrCut", 9, {Arg::Str("2,40"), Arg::Str(csv), Arg::Str("c"), Arg::Str("-"), Arg::Str(""), Arg::Int(1)}, false},
        {"pkFormatNumber", 10, {Arg::Str("1234567.89 and more digits 12345"), Arg::Str("###,###,###.## and a long mask ####")}, false},
        {"pkStrProper", 11, {Arg::Str("-9223372036854775808   "), Arg::Str("-1")}, false},
        {"pkStrCapital", 12, {Arg::Str("7"), Arg::Str("-2")}, false},
        {"pkStrCleanInt", 13, {Arg::Str("12"), Arg::Str("10")}, false},
        {"pkStrCleanAlpha", 14, {Arg::Str("12"), Arg::Str("10")}, false},
        {"pkStrCleanAlphaNum", 15, {Arg::Str("9223372036854775807")}, false},
    };
}

qvhost::Outcome RunCall(qvhost::StandInHost& host, const Representative& call) {
    std::vector<qvhost::Arg> args;
    if (call.bNeedsArray)
        args.push_back(qvhost::Arg::ArrayOf(host.NewArray(3, 3, {{"a", "b", "c"}, {"d", std::nullopt, "f"}})));
    args.insert(args.end(), call.args.begin(), call.args.end());
    return host.Call(call.nRow, args);
}

} // namespace

TEST(OutOfMemory, EveryAllocationOfEveryFunctionMayFail) {
    for (const Representative& call : Calls()) {
        SCOPED_TRACE(call.pszName);
        // A fresh module each time, so that the first constant lookup fills the table.
        qvhost::Module module(qvhost::Module::DefaultPath());
        qvhost::StandInHost host(module);

        g_nFailAt = 0;
        g_nAllocations = 0;
        const qvhost::Outcome good = RunCall(host, call);
        const long nAllocations = g_nAllocations;
        ASSERT_EQ(1, good.nResultCalls);

        for (long n = 1; n <= nAllocations; ++n) {
            g_nFailAt = n;
            g_nAllocations = 0;
            const qvhost::Outcome out = RunCall(host, call);
            ASSERT_EQ(1, out.nResultCalls) << "allocation " << n << " of " << nAllocations;
            EXPECT_LT(out.nStatus, 0) << "allocation " << n << " of " << nAllocations;
            EXPECT_TRUE(out.IsText() && out.text) << "a failure hands back its message";
            g_nFailAt = 0;
            const qvhost::Outcome again = RunCall(host, call);
            EXPECT_EQ(good.nStatus, again.nStatus) << "after allocation " << n << " failed";
            EXPECT_EQ(good.text, again.text) << "after allocation " << n << " failed";
            EXPECT_EQ(good.result.nValue, again.result.nValue);
        }
    }
}
