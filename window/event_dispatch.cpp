#include "window/event_dispatch.h"

#include <exception>
#include <string>

namespace quorvel {
namespace {

constexpr char kFailurePrefix[] = "操作失败: ";

}  // namespace

void DispatchEvent(MessageBoxPort& messageBox, const std::function<void()>& handler) noexcept {
    try {
        handler();
    } catch (const std::exception& error) {
        // A ManagementError, like every platform::Error, already reads "<text> (0x<HRESULT>)".
        messageBox.Show(kFailurePrefix + std::string(error.what()));
    }
}

}  // namespace quorvel
