#include "window/event_dispatch.h"

#include <exception>
#include <string>

#include "management/management_error.h"

namespace quorvel {
namespace {

constexpr char kFailurePrefix[] = "操作失败: ";

}  // namespace

void DispatchEvent(MessageBoxPort& messageBox, const std::function<void()>& handler) noexcept {
    try {
        handler();
    } catch (const ManagementError& error) {
        messageBox.Show(kFailurePrefix + error.text() + " (" + FormatHresult(error.hresult()) +
                        ")");
    } catch (const std::exception& error) {
        messageBox.Show(kFailurePrefix + std::string(error.what()));
    }
}

}  // namespace quorvel
