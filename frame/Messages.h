// Module-wide state of the message lookup and the module information.
#pragma once

#include "MessageIds.h"
#include "PlatformApi.h"

#include <cstdint>

enum {
    LANG_STATE_UNREAD = 0,
    LANG_STATE_NO_FILE = 1,
    LANG_STATE_FOUND = 2,
};

extern HMODULE g_hModule;

extern int32_t g_nLangState;
extern char g_szLangFile[260];
extern char g_szLangSection[260];
extern char g_szMessage[256];

extern const char g_szLangFilePrefix[];
extern const char g_szIniDefault[];
extern const char g_szMainSection[];
extern const char g_szIntlSection[];
extern const char g_szHostIni[];

// Reads the language code and looks for the language file; the section is built from
// pszModuleName as it stands now.
void ReadLanguageSettings(const char* pszModuleName);

// The number at the start of the "FileVersion" text of the module's version block,
// or EXT_DEFAULT_VERSION when there is none.
int32_t ReadFileVersion();
