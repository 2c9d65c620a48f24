#pragma once

#include <algorithm>
#include <string_view>

namespace quorvel::simulated {

// ASCII case folding only. WMI also folds other letters, but no name or description the
// simulated service compares depends on that.
inline char FoldAsciiCase(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

inline bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return FoldAsciiCase(x) == FoldAsciiCase(y); });
}

}  // namespace quorvel::simulated
