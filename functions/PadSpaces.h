// The module-wide block of spaces that lengthens short lines in character cutting.
#pragma once

#include <string>

enum { PAD_SPACES_LENGTH = 87 };

// 87 spaces from load to unload; an empty text after DestroyPadSpaces.
extern const std::string& g_strPadSpaces;

void InitPadSpaces();
void DestroyPadSpaces();
