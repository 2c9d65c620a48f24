#include "machine.h"

namespace quorvel::simulated {
namespace {

SimulatedAdapter Adapter(std::string description, std::optional<ServerList> dns,
                         std::optional<ServerList> dhcp) {
    SimulatedAdapter adapter;
    adapter.description = std::move(description);
    adapter.dnsServerSearchOrder = std::move(dns);
    adapter.dhcpDnsServers = std::move(dhcp);
    return adapter;
}

}  // namespace

// A desktop with a wired and a wireless card, two Hyper-V switches that share a name, and a WAN
// miniport: between them every shape of server list the window has to show.
Machine SampleMachine() {
    Machine machine;
    machine.adapters = {
        Adapter("Intel(R) Ethernet Connection (7) I219-V", ServerList{"192.168.1.1", "192.168.1.2"},
                ServerList{"192.168.1.1"}),
        Adapter("Realtek PCIe GbE Family Controller", ServerList{"10.20.0.53"},
                ServerList{"10.20.0.1"}),
        Adapter("Intel(R) Wi-Fi 6 AX201 160MHz",
                ServerList{"192.168.31.1", "172.16.8.53", "172.16.9.53"},
                ServerList{"192.168.31.1"}),
        Adapter("Hyper-V Virtual Ethernet Adapter", std::nullopt, std::nullopt),
        Adapter("Hyper-V Virtual Ethernet Adapter", ServerList{"172.28.16.1"},
                ServerList{"172.28.16.1"}),
        Adapter("WAN Miniport (IP)", std::nullopt, std::nullopt),
    };
    machine.adapters.back().ipEnabled = false;
    return machine;
}

}  // namespace quorvel::simulated
