// The management service as the window sees it: the scripting form of WMI reduced to the
// operations the program uses. The real backend (WMI over COM) and the simulated machine both
// implement it, so the window's procedures run unchanged on either.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace quorvel {

// One Win32_NetworkAdapterConfiguration instance.
class AdapterConfiguration {
public:
    virtual ~AdapterConfiguration() = default;

    // Null when the service has no description for the adapter.
    virtual std::optional<std::string> Description() = 0;
    // Null, or the servers with the primary at index 0.
    virtual std::optional<std::vector<std::string>> DNSServerSearchOrder() = 0;
    // Without a list: back to the servers that DHCP supplies.
    virtual std::uint32_t SetDNSServerSearchOrder() = 0;
    virtual std::uint32_t SetDNSServerSearchOrder(const std::vector<std::string>& servers) = 0;
};

using AdapterRef = std::shared_ptr<AdapterConfiguration>;

// The collection a query returns.
class AdapterSet {
public:
    virtual ~AdapterSet() = default;

    // The elements in the order the service enumerates them.
    virtual std::vector<AdapterRef> Elements() = 0;
};

using AdapterSetRef = std::shared_ptr<AdapterSet>;

class Service {
public:
    virtual ~Service() = default;

    // A null pointer is the service's null result, which callers tell apart from an empty set.
    virtual AdapterSetRef ExecQuery(const std::string& wql) = 0;
};

using ServiceRef = std::shared_ptr<Service>;

class Locator {
public:
    virtual ~Locator() = default;

    virtual ServiceRef ConnectServer(const std::string& computer, const std::string& nameSpace) = 0;
};

using LocatorRef = std::shared_ptr<Locator>;

// The two ways to a connected service. Every call makes a fresh object; nothing is cached.
class Management {
public:
    virtual ~Management() = default;

    // The locator object ("WbemScripting.SWbemLocator").
    virtual LocatorRef CreateLocator() = 0;
    // The service named by a moniker such as "winmgmts:\\.\root\cimv2".
    virtual ServiceRef GetObjectByMoniker(const std::string& moniker) = 0;
};

}  // namespace quorvel
