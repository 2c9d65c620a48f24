#include "platform/window_text.h"

#include <algorithm>

#include "platform/utf16.h"

namespace quorvel::platform {

std::string WindowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(std::max(GetWindowTextLengthW(window), 0)) + 1,
                      L'\0');
    text.resize(static_cast<std::size_t>(
        std::max(GetWindowTextW(window, text.data(), static_cast<int>(text.size())), 0)));
    return ToUtf8(text);
}

std::wstring ClassName(HWND window) {
    // 256 is the longest a class name may be.
    wchar_t name[257] = {};
    const int length = GetClassNameW(window, name, 257);
    return std::wstring(name, static_cast<std::size_t>(std::max(length, 0)));
}

}  // namespace quorvel::platform
