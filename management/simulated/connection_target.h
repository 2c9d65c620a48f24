// Where the simulated service can be reached: the namespace root\cimv2 of the local computer
// ("."), by either way of connecting. Anything else fails as it would with WMI.
#pragma once

#include <string_view>

namespace quorvel::simulated {

// Raises 0x800706BA (RPC server unavailable) for another computer and 0x8004100E (invalid
// namespace) for another namespace.
void CheckLocatorTarget(std::string_view computer, std::string_view nameSpace);

// "winmgmts:\\computer\namespace", the prefix case-insensitive. Raises 0x800401E4 (MK_E_SYNTAX)
// for any other form, else as CheckLocatorTarget does.
void CheckMonikerTarget(std::string_view moniker);

}  // namespace quorvel::simulated
