// g_strPadSpaces: built by the second static initialiser, released at unload.
#include "PadSpaces.h"

#include "StaticInit.h"

#include <cstdlib>
#include <new>

namespace {

// Constant-initialised storage, so that the text lives exactly from InitPadSpaces on.
union PadSpacesStorage {
    constexpr PadSpacesStorage() : bNone(false) {}
    ~PadSpacesStorage() {}
    bool bNone;
    std::string str;
};

constinit PadSpacesStorage s_storage;

} // namespace

const std::string& g_strPadSpaces = s_storage.str;

// Frees the spaces and leaves an empty text behind.
void DestroyPadSpaces() {
    std::string().swap(s_storage.str);
}

void InitPadSpaces() {
    new (&s_storage.str) std::string(PAD_SPACES_LENGTH, ' ');
    std::atexit(DestroyPadSpaces);
}

EXT_STATIC_INIT(InitPadSpaces, EXT_INIT_PAD_SPACES)
