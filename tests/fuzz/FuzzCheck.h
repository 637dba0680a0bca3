#pragma once

// A property a fuzz target checks beyond "does not crash": when it fails, the input is a finding like a crash, and
// libFuzzer keeps it.
#include <cstdio>
#include <cstdlib>

#define FUZZ_REQUIRE(condition, what)                                                                                  \
    do {                                                                                                               \
        if (!(condition)) {                                                                                            \
            std::fprintf(stderr, "fuzz property failed: %s (%s:%d)\n", what, __FILE__, __LINE__);                      \
            std::abort();                                                                                              \
        }                                                                                                              \
    } while (false)
