#pragma once

#include <string>
#include <string_view>

namespace quorvel {

// The body of a WQL string literal for `text`, escaped by WMI's rules ("\" as "\\", "'" as "\'"),
// to be placed between apostrophes. Without either character the text comes back unchanged.
std::string EscapeWqlString(std::string_view text);

}  // namespace quorvel
