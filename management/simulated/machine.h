// The simulated computer: its network adapter configurations and the faults it is told to show.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quorvel::simulated {

using ServerList = std::vector<std::string>;

struct SimulatedAdapter {
    std::optional<std::string> description;
    bool ipEnabled = true;
    std::optional<ServerList> dnsServerSearchOrder;
    // What "back to automatic" restores.
    std::optional<ServerList> dhcpDnsServers;
    // When set, SetDNSServerSearchOrder returns this and changes nothing.
    std::optional<std::uint32_t> forcedSetResult;

    bool operator==(const SimulatedAdapter&) const = default;
};

// HRESULTs that an operation raises every time it is called.
struct RaisedErrors {
    std::optional<std::uint32_t> connect;
    std::optional<std::uint32_t> query;
    std::optional<std::uint32_t> method;

    bool operator==(const RaisedErrors&) const = default;
};

struct Machine {
    // In enumeration order.
    std::vector<SimulatedAdapter> adapters;
    RaisedErrors raise;
    // Every query yields the service's null result.
    bool nullResult = false;

    bool operator==(const Machine&) const = default;
};

// The machine used when no machine file is named.
Machine SampleMachine();

}  // namespace quorvel::simulated
