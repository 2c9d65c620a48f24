// Where the window runs its event handlers: the one place that catches an error the management
// service raised, so that no C++ exception crosses a Win32 callback.
#pragma once

#include <functional>

#include "window/ports.h"

namespace quorvel {

// Runs `handler`. A ManagementError or another platform::Error (a failed Win32 call) ends it and
// is shown as "操作失败: <text> (0x<HRESULT>)"; any other std::exception as "操作失败: <what>".
void DispatchEvent(MessageBoxPort& messageBox, const std::function<void()>& handler) noexcept;

}  // namespace quorvel
