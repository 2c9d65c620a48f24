#include "dns_method.h"

#include <algorithm>

namespace quorvel::simulated {

bool IsDottedDecimalIpv4(std::string_view text) {
    int parts = 0;
    std::size_t start = 0;
    while (true) {
        const std::size_t dot = std::min(text.find('.', start), text.size());
        const std::string_view part = text.substr(start, dot - start);
        if (part.empty() || part.size() > 3 || (part.size() > 1 && part[0] == '0')) return false;
        int value = 0;
        for (const char c : part) {
            if (c < '0' || c > '9') return false;
            value = value * 10 + (c - '0');
        }
        if (value > 255 || ++parts > 4) return false;
        if (dot == text.size()) return parts == 4;
        start = dot + 1;
    }
}

std::uint32_t ChangeServerSearchOrder(SimulatedAdapter& adapter,
                                      const std::optional<ServerList>& servers) {
    if (adapter.forcedSetResult) return *adapter.forcedSetResult;
    if (!adapter.ipEnabled) return kIpNotEnabled;
    if (!servers) {
        adapter.dnsServerSearchOrder = adapter.dhcpDnsServers;
        return 0;
    }
    if (!std::all_of(servers->begin(), servers->end(),
                     [](const std::string& server) { return IsDottedDecimalIpv4(server); }))
        return kInvalidIpAddress;
    adapter.dnsServerSearchOrder = servers;
    return 0;
}

}  // namespace quorvel::simulated
