#include "window/event_dispatch.h"

#include <exception>
#include <new>

#include "platform/error.h"

namespace quorvel {
namespace {

constexpr char kFailurePrefix[] = "操作失败: ";

platform::Error CurrentError(ErrorTextLookup textFor) {
    try {
        throw;
    } catch (const platform::Error& error) {
        return error;
    } catch (const std::bad_alloc&) {
        return platform::Error(kOutOfMemory, textFor(kOutOfMemory));
    } catch (const std::exception& error) {
        return platform::Error(kFailure, error.what());
    } catch (...) {
        return platform::Error(kUnexpected, textFor(kUnexpected));
    }
}

}  // namespace

void ReportCurrentException(MessageBoxPort& messageBox, ErrorTextLookup textFor) noexcept {
    try {
        // platform::Error reads "<text> (0x<HRESULT>)".
        messageBox.Show(kFailurePrefix + std::string(CurrentError(textFor).what()));
    } catch (...) {
        // Nothing is left to report with; the caller goes on without the box.
    }
}

void DispatchEvent(MessageBoxPort& messageBox, ErrorTextLookup textFor,
                   const std::function<void()>& handler) noexcept {
    try {
        handler();
    } catch (...) {
        ReportCurrentException(messageBox, textFor);
    }
}

}  // namespace quorvel
