// The built module and a stand-in host for benchmarks that go through the entry points.
#pragma once

#include "StandInHost.h"

#include <string>

inline qvhost::Module& BenchModule() {
    static qvhost::Module module(qvhost::Module::DefaultPath());
    return module;
}

// CSV text of about nBytes bytes: lines of short fields ending in CR LF.
inline std::string MakeCsv(size_t nBytes, int nFields = 8) {
    std::string text;
    text.reserve(nBytes + 128);
    unsigned n = 12345;
    while (text.size() < nBytes) {
        for (int f = 0; f < nFields; ++f) {
            n = n * 1103515245u + 12345u;
            text += std::to_string(n % 100000);
            text += f + 1 < nFields ? ',' : '\r';
        }
        text += '\n';
    }
    return text;
}
