#include "platform/win32_error.h"

#include <cstdint>

#include "platform/handles.h"
#include "platform/utf16.h"

namespace quorvel::platform {
namespace {

std::wstring_view TrimEnd(std::wstring_view text) {
    const auto end = text.find_last_not_of(L" \t\r\n");
    return end == std::wstring_view::npos ? std::wstring_view() : text.substr(0, end + 1);
}

// The message of `code` in the system's table or in `module`'s; empty when it has none.
std::wstring Message(HRESULT code, HMODULE module) {
    const DWORD source = module ? FORMAT_MESSAGE_FROM_HMODULE : FORMAT_MESSAGE_FROM_SYSTEM;
    UniqueLocalMemory<wchar_t> buffer;
    const DWORD length = FormatMessageW(
        source | FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS, module,
        static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t*>(buffer.put()), 0, nullptr);
    return length == 0 ? std::wstring() : std::wstring(TrimEnd({buffer.get(), length}));
}

// WMI's own codes (0x80041xxx) are not in the system's table but in wmiutils.dll's.
std::wstring WmiMessage(HRESULT hresult) {
    if ((static_cast<DWORD>(hresult) & 0xFFFFF000u) != 0x80041000u) return {};
    const UniqueModule module(LoadLibraryExW(
        L"wmiutils.dll", nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_SEARCH_SYSTEM32));
    if (!module) return {};
    return Message(hresult, module.get());
}

}  // namespace

std::string ErrorText(HRESULT hresult, std::string_view fallback) {
    std::wstring text = Message(hresult, nullptr);
    if (text.empty()) text = WmiMessage(hresult);
    return text.empty() ? std::string(fallback) : ToUtf8(text);
}

HRESULT LastErrorHresult() noexcept {
    const DWORD error = GetLastError();
    return error == ERROR_SUCCESS ? E_FAIL : HRESULT_FROM_WIN32(error);
}

Error ErrorFor(HRESULT hresult) {
    return Error(static_cast<std::uint32_t>(hresult), ErrorText(hresult));
}

}  // namespace quorvel::platform
