// Where the window runs its event handlers and its start-up: the one place that turns an error
// into the message box's text, so that no C++ exception crosses a Win32 callback or leaves the
// program unreported.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "window/ports.h"

namespace quorvel {

// The platform's text for an HRESULT; the Win32 window passes the platform layer's lookup.
using ErrorTextLookup = std::string (*)(std::uint32_t hresult);

inline constexpr std::uint32_t kOutOfMemory = 0x8007000E;  // E_OUTOFMEMORY
inline constexpr std::uint32_t kFailure = 0x80004005;      // E_FAIL
inline constexpr std::uint32_t kUnexpected = 0x8000FFFF;   // E_UNEXPECTED

// Call only while an exception is being handled. Shows it as "操作失败: <text> (0x<HRESULT>)": a
// platform::Error (a ManagementError, a failed Win32 call) with its own text and code;
// std::bad_alloc as kOutOfMemory and anything that is no std::exception as kUnexpected, each
// with the text `textFor` gives; any other std::exception with its what() and kFailure. When
// even that cannot be shown (memory exhausted again), nothing is.
void ReportCurrentException(MessageBoxPort& messageBox, ErrorTextLookup textFor) noexcept;

// Runs `handler`; whatever it raises ends it and is reported as ReportCurrentException does.
void DispatchEvent(MessageBoxPort& messageBox, ErrorTextLookup textFor,
                   const std::function<void()>& handler) noexcept;

}  // namespace quorvel
