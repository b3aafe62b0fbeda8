#pragma once

#include <cstdio>
#include <cstdlib>

// Stops the fuzzer with the broken property named: libFuzzer keeps the input that shows it.
inline void FuzzCheck(bool condition, const char* target, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "%s: %s\n", target, what);
        std::abort();
    }
}
