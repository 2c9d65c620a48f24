#pragma once

#include <cstdint>
#include <string>

namespace quorvel {

// The English text for a return value of SetDNSServerSearchOrder; "Unknown Error" for a value
// the table does not list (0 included).
std::string ResultMessage(std::uint32_t value);

}  // namespace quorvel
