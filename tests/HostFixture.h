// Shared test fixture: the built module, loaded once per test program, and a stand-in host.
#pragma once

#include "StandInHost.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

inline qvhost::Module& TheModule() {
    static qvhost::Module module(qvhost::Module::DefaultPath());
    return module;
}

// What ends every script call: one result callback, made last, whose value the entry point
// hands back unchanged.
inline void ExpectOneResultLast(const qvhost::StandInHost& host, const qvhost::Outcome& outcome) {
    const std::vector<qvhost::LogEntry>& log = host.Log();
    EXPECT_EQ(1, outcome.nResultCalls);
    EXPECT_EQ(host.nCallbackReturn, outcome.nReturned);
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(qvhost::Event::Result, log.back().event) << "no service call after the result";
}

class HostTest : public ::testing::Test {
protected:
    qvhost::StandInHost host{TheModule()};
};

// A compact trace of the host log: one word per event with the result record's nType
// at that moment, e.g. "create@100 write(0,0)=a@100 result(0)".
inline std::string Trace(const std::vector<qvhost::LogEntry>& log) {
    std::string out;
    char sz[64];
    for (const qvhost::LogEntry& e : log) {
        if (!out.empty())
            out += ' ';
        switch (e.event) {
        case qvhost::Event::SetVariable:
            out += "setvar(" + e.text + "=" + std::to_string(e.nValue) + ")";
            break;
        case qvhost::Event::ArrayQuery:
            out += "query";
            break;
        case qvhost::Event::ArrayCreate:
            out +=
                "create(" + std::to_string(e.anSubs[0]) + "x" + std::to_string(e.anSubs[1]) + ")";
            break;
        case qvhost::Event::ElementRead:
            out += "read(" + std::to_string(e.anSubs[0]) + "," + std::to_string(e.anSubs[1]) + ")";
            break;
        case qvhost::Event::ElementWrite:
            out += "write(" + std::to_string(e.anSubs[0]) + "," + std::to_string(e.anSubs[1]) +
                   ")=" + e.text;
            break;
        case qvhost::Event::ErrorDetail:
            out += "detail(" + e.text + ")";
            break;
        case qvhost::Event::Result:
            out += "result(" + std::to_string(e.nValue) + ")";
            continue; // the result's own nType is the outcome's
        }
        std::snprintf(sz, sizeof(sz), "@%x", static_cast<unsigned>(e.nResultType));
        out += sz;
    }
    return out;
}
