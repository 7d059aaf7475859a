// Module start-up routines run as static initialisers in a fixed order across files:
// the constants map, the pad spaces, the extender, the function table.
#pragma once

enum {
    EXT_INIT_CONSTANTS_MAP = 1001,
    EXT_INIT_PAD_SPACES = 1002,
    EXT_INIT_EXTENDER = 1003,
    EXT_INIT_EXT_TABLE = 1004,
};

#define EXT_STATIC_INIT_CAT2(a, b) a##b
#define EXT_STATIC_INIT_CAT(a, b) EXT_STATIC_INIT_CAT2(a, b)

// Runs fn() at load, in the order given by priority.
#define EXT_STATIC_INIT(fn, priority)                                                              \
    namespace {                                                                                    \
    struct EXT_STATIC_INIT_CAT(StaticInit_, fn) {                                                  \
        EXT_STATIC_INIT_CAT(StaticInit_, fn)() { fn(); }                                           \
    } EXT_STATIC_INIT_CAT(s_staticInit_, fn) __attribute__((init_priority(priority)));             \
    }
