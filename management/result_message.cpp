#include "management/result_message.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace quorvel {
namespace {

struct Entry {
    std::uint32_t code;
    std::string_view text;
};

// Sorted by code for the binary search below.
constexpr auto kMessages = std::to_array<Entry>({
    {1, "Successful completion. Reboot is required."},
    {64, "Method not supported on this platform."},
    {65, "Unknown failure."},
    {66, "Invalid subnet mask."},
    {67, "An error occurred while processing an instance that is returned."},
    {68, "Invalid input parameter."},
    {69, "More than five gateways specified."},
    {70, "Invalid IP address."},
    {71, "Invalid gateway IP address."},
    {72, "An error occurred while accessing the registry for the requested information."},
    {73, "Invalid domain name."},
    {74, "Invalid host name."},
    {75, "No primary or secondary WINS server defined."},
    {76, "Invalid file."},
    {77, "Invalid system path."},
    {78, "File copy failed."},
    {79, "Invalid security parameter."},
    {80, "Unable to configure TCP/IP service."},
    {81, "Unable to configure DHCP service."},
    {82, "Unable to renew DHCP lease."},
    {83, "Unable to release DHCP lease."},
    {84, "IP not enabled on adapter."},
    {85, "IPX not enabled on adapter."},
    {86, "Frame or network number bounds error."},
    {87, "Invalid frame type."},
    {88, "Invalid network number."},
    {89, "Duplicate network number."},
    {90, "Parameter out of bounds."},
    {91, "Access denied."},
    {92, "Out of memory."},
    {93, "Already exists."},
    {94, "Path, file, or object not found."},
    {95, "Unable to notify service."},
    {96, "Unable to notify DNS service."},
    {97, "Interface not configurable."},
    {98, "Not all DHCP leases can be released or renewed."},
    {100, "DHCP not enabled on adapter."},
});

// The platform's 37 return values, each with its own text: a row lost in an edit must not go
// unnoticed.
static_assert(kMessages.size() == 37);

static_assert(std::is_sorted(kMessages.begin(), kMessages.end(),
                             [](const Entry& a, const Entry& b) { return a.code < b.code; }));

}  // namespace

std::string ResultMessage(std::uint32_t value) {
    const auto found =
        std::lower_bound(kMessages.begin(), kMessages.end(), value,
                         [](const Entry& entry, std::uint32_t code) { return entry.code < code; });
    if (found != kMessages.end() && found->code == value) return std::string(found->text);
    return "Unknown Error";
}

}  // namespace quorvel
