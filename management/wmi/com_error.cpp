#include "com_error.h"

#include <cstdint>
#include <string>
#include <utility>

#include "platform/bstr.h"
#include "platform/utf16.h"
#include "platform/win32_error.h"

namespace quorvel::com {
namespace {

std::wstring_view TrimEnd(std::wstring_view text) {
    const auto end = text.find_last_not_of(L" \t\r\n");
    return end == std::wstring_view::npos ? std::wstring_view() : text.substr(0, end + 1);
}

}  // namespace

ManagementError ServiceError(HRESULT hresult) {
    return ManagementError(static_cast<std::uint32_t>(hresult),
                           platform::ErrorText(hresult, kNeutralErrorText));
}

ManagementError ErrorFromException(platform::UniqueExcepInfo& exception) {
    EXCEPINFO& info = exception.Get();
    if (const auto fillIn = std::exchange(info.pfnDeferredFillIn, nullptr)) {
        // Its own failure only leaves the texts empty; the call's failure is what gets reported.
        static_cast<void>(fillIn(&info));
    }
    const HRESULT hresult = FAILED(info.scode) ? info.scode : DISP_E_EXCEPTION;
    const std::wstring_view description = TrimEnd(platform::BstrView(info.bstrDescription));
    if (description.empty()) return ServiceError(hresult);
    return ManagementError(static_cast<std::uint32_t>(hresult), ToUtf8(description));
}

}  // namespace quorvel::com
