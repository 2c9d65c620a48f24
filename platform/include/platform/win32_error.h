// Failed Win32 and COM calls become platform::Error, with the one text lookup for their codes.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "platform/error.h"

namespace quorvel::platform {

// The text for a code no message table knows.
inline constexpr std::string_view kUnknownErrorText = "Unknown error.";

// The platform's message for `hresult` without its line break: the system's table, then, for
// WMI's own codes (0x80041xxx), wmiutils.dll's; `fallback` when neither knows it.
std::string ErrorText(HRESULT hresult, std::string_view fallback = kUnknownErrorText);

// The calling thread's last Win32 error as an HRESULT. A call that failed without setting one
// counts as E_FAIL, so that a failure never reads as success.
HRESULT LastErrorHresult() noexcept;

// The error for `hresult`, with its text.
Error ErrorFor(HRESULT hresult);

[[noreturn]] inline void ThrowHresult(HRESULT hresult) { throw ErrorFor(hresult); }

inline void ThrowIfFailed(HRESULT hresult) {
    if (FAILED(hresult)) ThrowHresult(hresult);
}

// For Win32 calls that report failure by their result and the reason by GetLastError: call it
// with the failure test right after the call.
inline void ThrowLastErrorIf(bool failed) {
    if (failed) ThrowHresult(LastErrorHresult());
}

}  // namespace quorvel::platform
