#include "qvPalvek.h"
int32_t CqvPalvek::NormalizeLineBreaks(std::string&) { return 0; }
std::string CqvPalvek::TrimSpaces(std::string& s) { return s; }
std::string CqvPalvek::StripQuotes(std::string s) { return s; }
