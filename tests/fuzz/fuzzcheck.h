#pragma once

// Stops the fuzzer at a broken invariant, so that it keeps the input that broke it.
inline void check(bool condition) {
    if (!condition)
        __builtin_trap();
}
