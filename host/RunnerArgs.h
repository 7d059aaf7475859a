// Command-line notation of the runner: escaped texts and array arguments.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace qvhost {

// \r \n \t \\ in a text; false when an escape is unknown or unfinished.
bool Unescape(const std::string& in, std::string& out);
std::string Escape(const std::string& text);

// An array argument: "{RxC}" (R rows, C columns, no texts) or "{a|b;c|d}" (rows split by ';',
// cells by '|'; "\|", "\;", "\}" stand for themselves and a cell "\N" has no text).
struct ArrayArg {
    int nRows = 0;
    int nCols = 0;
    std::vector<std::vector<std::optional<std::string>>> rows;
};
bool ParseArray(const std::string& in, ArrayArg& out);

} // namespace qvhost
