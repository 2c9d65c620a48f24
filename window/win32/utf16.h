// UTF-8 inside the program, UTF-16 at the Win32 boundary.
#pragma once

#include <string>
#include <string_view>

namespace quorvel::win32 {

std::wstring Utf16(std::string_view utf8);
std::string Utf8(std::wstring_view utf16);

}  // namespace quorvel::win32
