#include "platform/utf16.h"

#include <windows.h>

#include <limits>
#include <stdexcept>

namespace quorvel {
namespace {

int CheckedLength(std::size_t size) {
    if (size > static_cast<std::size_t>(std::numeric_limits<int>::max())) {
        throw std::length_error("text too long to convert");
    }
    return static_cast<int>(size);
}

}  // namespace

std::wstring ToUtf16(std::string_view utf8) {
    if (utf8.empty()) return {};
    const int inLength = CheckedLength(utf8.size());
    const int outLength = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), inLength, nullptr, 0);
    std::wstring utf16(static_cast<std::size_t>(outLength), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), inLength, utf16.data(), outLength);
    return utf16;
}

std::string ToUtf8(std::wstring_view utf16) {
    if (utf16.empty()) return {};
    const int inLength = CheckedLength(utf16.size());
    const int outLength =
        WideCharToMultiByte(CP_UTF8, 0, utf16.data(), inLength, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(outLength), '\0');
    WideCharToMultiByte(CP_UTF8, 0, utf16.data(), inLength, utf8.data(), outLength, nullptr,
                        nullptr);
    return utf8;
}

}  // namespace quorvel
