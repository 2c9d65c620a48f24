// The one shape of a failure the platform reports: its code as an HRESULT and the platform's text
// for it. Declared without any Windows header, so platform-neutral code can raise and catch it.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace quorvel::platform {

class Error : public std::runtime_error {
public:
    // what() is "<text> (0x<HRESULT>)", the form the window shows after its failure prefix.
    Error(std::uint32_t hresult, std::string text);

    std::uint32_t hresult() const noexcept { return hresult_; }
    // The platform's text for the error, UTF-8.
    const std::string& text() const noexcept { return text_; }

private:
    std::uint32_t hresult_;
    std::string text_;
};

// "0x80041017": the HRESULT as 8 upper-case hex digits behind "0x".
std::string FormatHresult(std::uint32_t hresult);

}  // namespace quorvel::platform
