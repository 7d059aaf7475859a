#include "RunnerArgs.h"

#include <cstdlib>

namespace qvhost {

bool Unescape(const std::string& in, std::string& out) {
    out.clear();
    out.reserve(in.size());
    for (size_t i = 0; i < in.size(); ++i) {
        if (in[i] != '\\') {
            out += in[i];
            continue;
        }
        if (++i == in.size())
            return false;
        switch (in[i]) {
        case 'r':
            out += '\r';
            break;
        case 'n':
            out += '\n';
            break;
        case 't':
            out += '\t';
            break;
        case '\\':
            out += '\\';
            break;
        default:
            return false;
        }
    }
    return true;
}

std::string Escape(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '\r':
            out += "\\r";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\\':
            out += "\\\\";
            break;
        default:
            out += c;
        }
    }
    return out;
}

namespace {
const long long kMaxCells = 16 * 1024 * 1024;
}

bool ParseArray(const std::string& in, ArrayArg& out) {
    if (in.size() < 2 || in.front() != '{' || in.back() != '}')
        return false;
    const std::string body = in.substr(1, in.size() - 2);
    out = ArrayArg();
    const size_t x = body.find('x');
    if (x != std::string::npos && x > 0 &&
        body.find_first_not_of("0123456789x") == std::string::npos &&
        body.find('x', x + 1) == std::string::npos && x + 1 < body.size()) {
        // At most kMaxCells cells, so that the host can hold them.
        const long long nRows = std::strtoll(body.substr(0, x).c_str(), nullptr, 10);
        const long long nCols = std::strtoll(body.substr(x + 1).c_str(), nullptr, 10);
        if (nRows > kMaxCells || nCols > kMaxCells || nRows * nCols > kMaxCells)
            return false;
        out.nRows = static_cast<int>(nRows);
        out.nCols = static_cast<int>(nCols);
        return true;
    }
    if (body.empty())
        return true;
    std::vector<std::optional<std::string>> row;
    std::string cell, raw;
    auto endCell = [&]() -> bool {
        std::string text;
        if (raw == "\\N") {
            row.emplace_back(std::nullopt);
        } else {
            if (!Unescape(cell, text))
                return false;
            row.emplace_back(text);
        }
        cell.clear();
        raw.clear();
        return true;
    };
    for (size_t i = 0; i < body.size(); ++i) {
        const char c = body[i];
        if (c == '\\' && i + 1 < body.size() &&
            (body[i + 1] == '|' || body[i + 1] == ';' || body[i + 1] == '}')) {
            cell += body[++i];
            raw += body[i];
        } else if (c == '|' || c == ';') {
            if (!endCell())
                return false;
            if (c == ';') {
                out.rows.push_back(row);
                row.clear();
            }
        } else {
            cell += c;
            raw += c;
        }
    }
    if (!endCell())
        return false;
    out.rows.push_back(row);
    out.nRows = static_cast<int>(out.rows.size());
    for (const auto& r : out.rows)
        out.nCols =
            r.size() > static_cast<size_t>(out.nCols) ? static_cast<int>(r.size()) : out.nCols;
    return true;
}

} // namespace qvhost
