// SetDNSServerSearchOrder as the simulated service carries it out.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "machine.h"

namespace quorvel::simulated {

inline constexpr std::uint32_t kIpNotEnabled = 84;
inline constexpr std::uint32_t kInvalidIpAddress = 70;

// Four decimal parts from 0 to 255 joined by dots, nothing else: no signs, spaces or leading
// zeros (which some parsers read as octal).
bool IsDottedDecimalIpv4(std::string_view text);

// The method's return value. Without `servers` the adapter goes back to its DHCP servers. The
// adapter is changed exactly when the result is 0 and the adapter has no forced result.
std::uint32_t ChangeServerSearchOrder(SimulatedAdapter& adapter,
                                      const std::optional<ServerList>& servers);

}  // namespace quorvel::simulated
