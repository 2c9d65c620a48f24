#include "platform/error.h"

#include <cstdio>
#include <utility>

namespace quorvel::platform {

Error::Error(std::uint32_t hresult, std::string text)
    : std::runtime_error(text + " (" + FormatHresult(hresult) + ")"),
      hresult_(hresult),
      text_(std::move(text)) {}

std::string FormatHresult(std::uint32_t hresult) {
    char buffer[11];
    std::snprintf(buffer, sizeof buffer, "0x%08X", static_cast<unsigned>(hresult));
    return buffer;
}

}  // namespace quorvel::platform
