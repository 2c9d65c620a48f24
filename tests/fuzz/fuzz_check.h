// What a harness holds of every input. A broken property aborts, which libFuzzer reports as a
// finding and the corpus replay as a failed test.
#pragma once

#include <cstdio>
#include <cstdlib>

namespace quorvel::fuzz {

inline void Check(bool holds, const char* property) {
    if (holds) return;
    std::fprintf(stderr, "property broken: %s\n", property);
    std::abort();
}

}  // namespace quorvel::fuzz
