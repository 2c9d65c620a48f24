// The one exception type for errors the management service raises instead of returning a value:
// a failed connection, a refused query, a failed method call. Nothing in the management layer
// catches it; the window catches it once, where it dispatches an event.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace quorvel {

class ManagementError : public std::runtime_error {
public:
    ManagementError(std::uint32_t hresult, std::string text);

    std::uint32_t hresult() const noexcept { return hresult_; }
    // The platform's text for the error, UTF-8.
    const std::string& text() const noexcept { return text_; }

private:
    std::uint32_t hresult_;
    std::string text_;
};

// "0x80041017": the HRESULT as 8 upper-case hex digits behind "0x".
std::string FormatHresult(std::uint32_t hresult);

}  // namespace quorvel
