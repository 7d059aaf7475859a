// Exhausted memory: the n-th allocation the module makes fails, for every n up to the number
// of allocations one call makes. Every such call must end in one result callback with a
// negative status, and the next call with memory available must succeed.
#include "HostFixture.h"

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <new>
#include <string>

namespace {

long g_nAllocations = 0; // the module's allocations since the count was reset
long g_nFailAt = 0;      // fail the allocation with this number; 0: never

bool FailsNow() {
    return qvhost::StandInHost::ModuleIsRunning() && ++g_nAllocations == g_nFailAt;
}

void* Allocate(size_t nSize) {
    return FailsNow() ? nullptr : std::malloc(nSize ? nSize : 1);
}

// Over-aligned requests too: the memory resources of the standard library make them.
void* AllocateAligned(size_t nSize, std::align_val_t alignment) {
    if (FailsNow())
        return nullptr;
    const size_t nAlign = std::max(static_cast<size_t>(alignment), sizeof(void*));
    void* p = nullptr;
    return posix_memalign(&p, nAlign, nSize ? nSize : 1) == 0 ? p : nullptr;
}

template <class T> T* OrThrow(T* p) {
    if (p == nullptr)
        throw std::bad_alloc();
    return p;
}

} // namespace

// clang-format off
void* operator new(size_t n) { return OrThrow(Allocate(n)); }
void* operator new[](size_t n) { return OrThrow(Allocate(n)); }
void* operator new(size_t n, const std::nothrow_t&) noexcept { return Allocate(n); }
void* operator new[](size_t n, const std::nothrow_t&) noexcept { return Allocate(n); }
void* operator new(size_t n, std::align_val_t a) { return OrThrow(AllocateAligned(n, a)); }
void* operator new[](size_t n, std::align_val_t a) { return OrThrow(AllocateAligned(n, a)); }
void* operator new(size_t n, std::align_val_t a, const std::nothrow_t&) noexcept { return AllocateAligned(n, a); }
void* operator new[](size_t n, std::align_val_t a, const std::nothrow_t&) noexcept { return AllocateAligned(n, a); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, size_t) noexcept { std::free(p); }
void operator delete[](void* p, size_t) noexcept { std::free(p); }
void operator delete(void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete(void* p, size_t, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, size_t, std::align_val_t) noexcept { std::free(p); }
// clang-format on

namespace {

enum Setup {
    PLAIN,        // the arguments as listed
    ON_ARRAY,     // argument 0 is an array made by the host, then the arguments as listed
    FRESH_MODULE, // every run in a newly loaded module: the first constant lookup fills
};

struct Representative {
    const char* pszName;
    int32_t nRow;
    std::vector<qvhost::Arg> args;
    Setup setup = PLAIN;
};

// The last name of the constants table: a fill that stopped part-way and was kept would not
// hold it.
const char kLastConstant[] = "XMLELEMTYPE_TEXT";

// clang-format off
std::vector<Representative> Calls() {
    using qvhost::Arg;
    const std::string csv = "a,\"b,c\",d\r\n1,2,3\r\nx,y,z\r\n";
    const std::string tail = " and a longer tail of text";
    const Arg big = Arg::Str("  1200000000000000000"), big2 = Arg::Str("  1000000000000000000");
    // Texts are long enough that their copies are on the heap.
    return {
        {"pkArrayFromStrCSV", 0, {Arg::Str(csv), Arg::Int(0), Arg::Str(","), Arg::Int(1), Arg::Int(1)}},
        {"pkArrayToStrCSV", 1, {Arg::Str(";"), Arg::Int(0), Arg::Int(0)}, ON_ARRAY},
        {"pkArrInitialize", 2, {Arg::Str("a value" + tail), Arg::Int(1), Arg::Int(2)}, ON_ARRAY},
        {"pkISBN10To13", 3, {Arg::Str("0-306-40615-2" + tail)}},
        {"pkISBN13To10", 4, {Arg::Str("978-0-306-40615-7" + tail)}},
        {"pkIsISBN", 5, {Arg::Str("979-10-90636-07-1" + tail), Arg::Int(0)}},
        {"pkStrCleanISBN", 6, {Arg::Str("ISBN 0-306-40615-2" + tail)}},
        {"pkStrTrim", 7, {Arg::Str("  a text" + tail + "  \r\n"), Arg::Int(0)}},
        {"pkGetConstants, first call", 8, {Arg::Str(kLastConstant)}, FRESH_MODULE},
        {"pkGetConstants", 8, {Arg::Str("ActMsgPR_ORIGINAL_SENT_REPRESENTING_EMAIL_ADDRESS")}},
        {"pkStrCut", 9, {Arg::Str("1-3j,5,2"), Arg::Str(csv + "a longer line,with,more,fields\r\n"), Arg::Str("f"), Arg::Str(";")}},
        {"pkStrCut", 9, {Arg::Str("2,40"), Arg::Str(csv), Arg::Str("c"), Arg::Str("-"), Arg::Str(""), Arg::Int(1)}},
        {"pkFormatNumber", 10, {Arg::Str("1234567.89 and more digits 12345"), Arg::Str("###,###,###.## and a long mask ####")}},
        {"pkStrProper", 11, {Arg::Str("-9223372036854775808   "), Arg::Str("              -1")}},
        {"pkStrCapital", 12, {Arg::Str("      7000000000000000000"), Arg::Str("             -2")}},
        {"pkStrCleanInt", 13, {big, big2}},
        {"pkStrCleanAlpha", 14, {big, big2}},
        {"pkStrCleanAlphaNum", 15, {Arg::Str("9223372036854775807")}},
    };
}
// clang-format on

bool IsInt64Row(int32_t nRow) {
    return nRow >= 11 && nRow <= 15;
}

qvhost::Outcome RunCall(qvhost::StandInHost& host, const Representative& call) {
    std::vector<qvhost::Arg> args;
    if (call.setup == ON_ARRAY)
        args.push_back(
            qvhost::Arg::ArrayOf(host.NewArray(3, 3, {{"a", "b", "c"}, {"d", std::nullopt, "f"}})));
    args.insert(args.end(), call.args.begin(), call.args.end());
    return host.Call(call.nRow, args);
}

// The detail texts handed to the host before the result.
std::vector<std::string> Details(const qvhost::StandInHost& host) {
    std::vector<std::string> details;
    for (const qvhost::LogEntry& e : host.Log()) {
        if (e.event == qvhost::Event::ErrorDetail)
            details.push_back(e.text);
    }
    return details;
}

void ExpectSoundFailure(const qvhost::StandInHost& host, const Representative& call,
                        const qvhost::Outcome& out) {
    EXPECT_LT(out.nStatus, 0);
    EXPECT_TRUE(out.IsText() && out.text && !out.text->empty())
        << "a failure hands back its message";
    EXPECT_EQ(qvhost::Event::Result, host.Log().back().event) << "the result comes last";
    const std::vector<std::string> details = Details(host);
    ASSERT_EQ(1u, details.size()) << "one detail text before the result";
    if (IsInt64Row(call.nRow)) {
        // The standard exception's own description, then the system error.
        EXPECT_EQ(std::bad_alloc().what(), details[0]);
        EXPECT_EQ(EXT_STATUS_NUMBER_ERROR, out.nStatus);
        EXPECT_EQ("19104: System error.", out.text.value_or(""));
    } else {
        EXPECT_FALSE(details[0].empty());
    }
}

} // namespace

TEST(OutOfMemory, EveryAllocationOfEveryFunctionMayFail) {
    for (const Representative& call : Calls()) {
        SCOPED_TRACE(call.pszName);
        // A fresh module for each function, and for each run of the first constant lookup.
        auto module = std::make_unique<qvhost::Module>(qvhost::Module::DefaultPath());
        auto host = std::make_unique<qvhost::StandInHost>(*module);

        g_nFailAt = 0;
        if (call.setup != FRESH_MODULE)
            RunCall(*host, call); // what is prepared on first use is counted only where meant
        g_nAllocations = 0;
        const qvhost::Outcome good = RunCall(*host, call);
        const long nAllocations = g_nAllocations;
        ASSERT_EQ(1, good.nResultCalls);
        ASSERT_EQ(EXT_STATUS_OK, good.nStatus);
        EXPECT_GT(nAllocations, 0) << "the call is meant to allocate";

        for (long n = 1; n <= nAllocations; ++n) {
            if (call.setup == FRESH_MODULE) {
                host.reset();
                module.reset(); // unloads it: the next load starts with an empty table
                module = std::make_unique<qvhost::Module>(qvhost::Module::DefaultPath());
                host = std::make_unique<qvhost::StandInHost>(*module);
            }
            g_nFailAt = n;
            g_nAllocations = 0;
            const qvhost::Outcome out = RunCall(*host, call);
            ASSERT_EQ(1, out.nResultCalls) << "allocation " << n << " of " << nAllocations;
            {
                SCOPED_TRACE("allocation " + std::to_string(n) + " of " +
                             std::to_string(nAllocations));
                ExpectSoundFailure(*host, call, out);
            }
            g_nFailAt = 0;
            const qvhost::Outcome again = RunCall(*host, call);
            EXPECT_EQ(good.nStatus, again.nStatus) << "after allocation " << n << " failed";
            EXPECT_EQ(good.text, again.text) << "after allocation " << n << " failed";
            EXPECT_EQ(good.result.nValue, again.result.nValue);
        }
    }
}
