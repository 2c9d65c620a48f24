#include "hresults.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "management/management_error.h"

namespace quorvel::simulated {
namespace {

struct KnownHresult {
    std::uint32_t hresult;
    std::string_view text;
};

// Codes a machine file is likely to name in "raise", plus those raised here on our own.
constexpr auto kKnown = std::to_array<KnownHresult>({
    {0x80004001, "Not implemented"},
    {0x80004005, "Unspecified error"},
    {0x8000FFFF, "Catastrophic failure"},
    {0x800401E4, "Invalid syntax"},
    {0x80070005, "Access is denied."},
    {0x8007000E, "Not enough memory resources are available to complete this operation."},
    {0x80070057, "The parameter is incorrect."},
    {0x800706BA, "The RPC server is unavailable."},
    {0x80041001, "Generic failure"},
    {0x80041002, "Not found"},
    {0x80041003, "Access denied"},
    {0x80041004, "Provider failure"},
    {0x80041005, "Type mismatch"},
    {0x80041006, "Out of memory"},
    {0x80041008, "Invalid parameter"},
    {0x8004100C, "Not supported"},
    {0x8004100E, "Invalid namespace"},
    {0x80041010, "Invalid class"},
    {0x80041013, "Provider load failure"},
    {0x80041017, "Invalid query"},
});

}  // namespace

std::string HresultText(std::uint32_t hresult) {
    const auto known = std::find_if(kKnown.begin(), kKnown.end(), [hresult](const auto& entry) {
        return entry.hresult == hresult;
    });
    if (known != kKnown.end()) return std::string(known->text);
    return "Error " + FormatHresult(hresult);
}

void Raise(std::uint32_t hresult) { throw ManagementError(hresult, HresultText(hresult)); }

}  // namespace quorvel::simulated
