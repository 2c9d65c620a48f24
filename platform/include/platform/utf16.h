// The program keeps UTF-8 inside; Win32 and COM speak UTF-16. Ill-formed input becomes U+FFFD.
#pragma once

#include <string>
#include <string_view>

namespace quorvel {

std::wstring ToUtf16(std::string_view utf8);
std::string ToUtf8(std::wstring_view utf16);

}  // namespace quorvel
