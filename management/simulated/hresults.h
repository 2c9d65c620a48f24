// The error codes the simulated service raises, and the texts that go with them.
#pragma once

#include <cstdint>
#include <string>

namespace quorvel::simulated {

inline constexpr std::uint32_t kWbemFailed = 0x80041001;            // WBEM_E_FAILED
inline constexpr std::uint32_t kWbemInvalidNamespace = 0x8004100E;  // WBEM_E_INVALID_NAMESPACE
inline constexpr std::uint32_t kWbemInvalidClass = 0x80041010;      // WBEM_E_INVALID_CLASS
inline constexpr std::uint32_t kWbemInvalidQuery = 0x80041017;      // WBEM_E_INVALID_QUERY
inline constexpr std::uint32_t kMonikerSyntax = 0x800401E4;         // MK_E_SYNTAX
inline constexpr std::uint32_t kRpcServerUnavailable = 0x800706BA;  // RPC_S_SERVER_UNAVAILABLE

// The text Windows gives for a well-known code; for any other code a neutral text naming it.
std::string HresultText(std::uint32_t hresult);

// Raises `hresult` with its text, as the service would.
[[noreturn]] void Raise(std::uint32_t hresult);

}  // namespace quorvel::simulated
