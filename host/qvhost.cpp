// qvhost: calls the module's script functions from the command line through the stand-in host.
#include "RunnerArgs.h"
#include "StandInHost.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>

using namespace qvhost;

namespace {

const char kUsage[] =
    "usage: qvhost --info | --list | FUNCTION [ARG ...]   (texts: \\r \\n \\t \\\\; --file=PATH; "
    "arrays: {RxC} or {a|b;c|d})";

int Usage(const std::string& message) {
    std::cerr << "qvhost: " << message << "\n" << kUsage << "\n";
    return 2;
}

const char* TypeName(int nCode) {
    switch (nCode) {
    case EXT_ARG_INTEGER:
        return "integer";
    case EXT_ARG_STRING:
        return "string";
    case EXT_ARG_ARRAY:
        return "array";
    default:
        return "unknown";
    }
}

int PrintInfo(const Module& module) {
    char szDescription[260] = {};
    const int32_t nVersion =
        module.Query(EXT_QUERY_MODULE_INFO, szDescription, sizeof(szDescription));
    std::cout << "description: " << szDescription << "\nversion: " << nVersion << "\n";
    return 0;
}

int PrintList(const StandInHost& host) {
    const int32_t nRows = host.RowCount();
    for (int32_t r = 0; r < nRows; ++r) {
        ExtFunctionInfo info;
        if (!host.Describe(r, info))
            continue;
        std::cout << r << "\t";
        if (info.nKind == EXT_KIND_CONSTANT) {
            std::cout << "constant\t" << info.szName << "\t= " << info.nConstValue << "\n";
            continue;
        }
        std::cout << "function\t" << info.szName << "\t" << int(info.nRequiredArgs) << " required, "
                  << int(info.nOptionalArgs) << " optional\t";
        for (int i = 0; i < info.nRequiredArgs + info.nOptionalArgs; ++i)
            std::cout << (i ? ", " : "") << TypeName(int((info.qwArgTypes >> (4 * i)) & 0xF));
        std::cout << "\n";
    }
    return 0;
}

bool ReadFile(const std::string& path, std::string& text) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::ostringstream buffer;
    buffer << in.rdbuf();
    text = buffer.str();
    return true;
}

void PrintArray(const Array& array) {
    std::cout << "result: array " << array.nRows << " x " << array.nCols << "\n";
    for (int32_t r = 0; r < array.nRows; ++r) {
        std::cout << "  row " << r << ":";
        for (int32_t c = 0; c < array.nCols; ++c) {
            const auto& cell = array.At(r, c);
            std::cout << (c ? " |" : "") << " ";
            if (cell)
                std::cout << '"' << Escape(*cell) << '"';
            else
                std::cout << "(none)";
        }
        std::cout << "\n";
    }
}

int CallFunction(StandInHost& host, const std::string& name, int argc, char** argv) {
    const int32_t nRow = host.FindRow(name);
    ExtFunctionInfo info;
    if (nRow < 0 || !host.Describe(nRow, info) || info.nKind != EXT_KIND_FUNCTION)
        return Usage("no script function named " + name);
    const int nDeclared = info.nRequiredArgs + info.nOptionalArgs;
    if (argc < info.nRequiredArgs || argc > nDeclared)
        return Usage(name + " takes " + std::to_string(info.nRequiredArgs) + " to " +
                     std::to_string(nDeclared) + " arguments");
    std::vector<Arg> args;
    for (int i = 0; i < argc; ++i) {
        const std::string word = argv[i];
        const int nCode = int((info.qwArgTypes >> (4 * i)) & 0xF);
        if (nCode == EXT_ARG_INTEGER) {
            char* pszEnd = nullptr;
            errno = 0;
            const long long n = std::strtoll(word.c_str(), &pszEnd, 10);
            if (word.empty() || *pszEnd != '\0' || errno != 0 || n < INT32_MIN || n > INT32_MAX)
                return Usage("argument " + std::to_string(i + 1) + " must be an integer: " + word);
            args.push_back(Arg::Int(static_cast<int32_t>(n)));
        } else if (nCode == EXT_ARG_ARRAY) {
            ArrayArg array;
            if (!ParseArray(word, array))
                return Usage("argument " + std::to_string(i + 1) + " must be an array: " + word);
            args.push_back(Arg::ArrayOf(host.NewArray(array.nRows, array.nCols, array.rows)));
        } else {
            std::string text;
            if (word.rfind("--file=", 0) == 0) {
                if (!ReadFile(word.substr(7), text))
                    return Usage("cannot read " + word.substr(7));
            } else if (!Unescape(word, text)) {
                return Usage("argument " + std::to_string(i + 1) + " has a bad escape: " + word);
            }
            args.push_back(Arg::Str(text));
        }
    }

    const Outcome outcome = host.Call(nRow, args);
    for (const LogEntry& e : host.Log()) {
        if (e.event == Event::ErrorDetail)
            std::cout << "detail: \"" << Escape(e.text) << "\"\n";
        else if (e.event == Event::SetVariable)
            std::cout << "variable: " << e.text << " = " << e.nValue << "\n";
    }
    std::cout << "status: " << outcome.nStatus << "\n";
    if (outcome.nArrayHandle >= 0)
        PrintArray(host.GetArray(outcome.nArrayHandle));
    else if (outcome.IsInteger())
        std::cout << "result: " << outcome.result.nValue << "\n";
    else if (outcome.text)
        std::cout << "result: \"" << Escape(*outcome.text) << "\"\n";
    else
        std::cout << "result: (none)\n";
    return outcome.nStatus == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2)
        return Usage("nothing to do");
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::cout << kUsage << "\n";
        return 0;
    }
    try {
        Module module(Module::DefaultPath());
        StandInHost host(module);
        const std::string first = argv[1];
        if (first == "--info" && argc == 2)
            return PrintInfo(module);
        if (first == "--list" && argc == 2)
            return PrintList(host);
        if (first.rfind("--", 0) == 0)
            return Usage("unknown option " + first);
        return CallFunction(host, first, argc - 2, argv + 2);
    } catch (const std::exception& e) {
        return Usage(e.what());
    }
}
