// The fuzz targets' check: names the failed check's file and line, then
// faults so that the fuzzer keeps the input.
#pragma once

#include <cstdio>
#include <cstdlib>

namespace pausora::fuzz {

inline void Require(bool condition, const char* file = __builtin_FILE(),
                    int line = __builtin_LINE()) {
    if (!condition) {
        std::fprintf(stderr, "check failed at %s:%d\n", file, line);
        std::abort();
    }
}

}  // namespace pausora::fuzz
