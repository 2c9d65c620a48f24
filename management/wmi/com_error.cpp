#include "management/wmi/com_error.h"

#include <windows.h>

#include <memory>
#include <type_traits>
#include <string_view>
#include <utility>

#include "management/wmi/bstr.h"
#include "management/utf16.h"

namespace quorvel::com {
namespace {

struct LocalFreeDeleter {
    void operator()(wchar_t* buffer) const noexcept { LocalFree(buffer); }
};

struct LibraryDeleter {
    void operator()(HMODULE module) const noexcept { FreeLibrary(module); }
};

std::wstring_view TrimEnd(std::wstring_view text) {
    const auto end = text.find_last_not_of(L" \t\r\n");
    return end == std::wstring_view::npos ? std::wstring_view() : text.substr(0, end + 1);
}

std::wstring Message(DWORD source, const void* module, HRESULT hresult) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        source | FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS, module,
        static_cast<DWORD>(hresult), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    const std::unique_ptr<wchar_t, LocalFreeDeleter> owned(buffer);
    return length == 0 ? std::wstring() : std::wstring(TrimEnd({buffer, length}));
}

// WMI's own codes (0x80041xxx) are not in the system's table but in wmiutils.dll's.
std::wstring WmiMessage(HRESULT hresult) {
    if ((static_cast<DWORD>(hresult) & 0xFFFFF000u) != 0x80041000u) return {};
    const std::unique_ptr<std::remove_pointer_t<HMODULE>, LibraryDeleter> module(LoadLibraryExW(
        L"wmiutils.dll", nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_SEARCH_SYSTEM32));
    if (!module) return {};
    return Message(FORMAT_MESSAGE_FROM_HMODULE, module.get(), hresult);
}

}  // namespace

std::string SystemErrorText(HRESULT hresult) {
    std::wstring text = Message(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, hresult);
    if (text.empty()) text = WmiMessage(hresult);
    return text.empty() ? std::string(kNeutralErrorText) : ToUtf8(text);
}

void UniqueExcepInfo::Reset() noexcept {
    SysFreeString(info_.bstrSource);
    SysFreeString(info_.bstrDescription);
    SysFreeString(info_.bstrHelpFile);
    info_ = EXCEPINFO{};
}

ManagementError ErrorFromException(UniqueExcepInfo& exception) {
    EXCEPINFO& info = exception.Get();
    if (const auto fillIn = std::exchange(info.pfnDeferredFillIn, nullptr)) {
        // Its own failure only leaves the texts empty; the call's failure is what gets reported.
        static_cast<void>(fillIn(&info));
    }
    const HRESULT hresult = FAILED(info.scode) ? info.scode : DISP_E_EXCEPTION;
    const std::wstring_view description = TrimEnd(BstrView(info.bstrDescription));
    return ManagementError(static_cast<std::uint32_t>(hresult),
                           description.empty() ? SystemErrorText(hresult) : ToUtf8(description));
}

}  // namespace quorvel::com
