// A scripted machine behind the management interface: a table of IP-enabled adapters, queries
// answered from it by description, and adapters that record every SetDNSServerSearchOrder call.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fake_event_log.h"
#include "management/management.h"
#include "management/management_error.h"

namespace quorvel::testing_support {

using ServerList = std::vector<std::string>;

inline constexpr std::uint32_t kInvalidQuery = 0x80041017;

// `["a", "b"]`: quoted so that a blank or an empty text stays visible.
inline std::string FormatServers(const ServerList& servers) {
    std::string text = "[";
    for (std::size_t i = 0; i < servers.size(); ++i) {
        if (i > 0) text += ", ";
        text += "\"" + servers[i] + "\"";
    }
    return text + "]";
}

class FakeAdapter : public AdapterConfiguration {
public:
    FakeAdapter(EventLog& log, std::string id, std::optional<std::string> description,
                std::optional<ServerList> servers)
        : description(std::move(description)),
          servers(std::move(servers)),
          log_(log),
          id_(std::move(id)) {}

    std::optional<std::string> Description() override { return description; }
    std::optional<ServerList> DNSServerSearchOrder() override { return servers; }

    std::uint32_t SetDNSServerSearchOrder() override {
        log_.Add("set " + id_ + " ()");
        calls.emplace_back(std::nullopt);
        return Answer(dhcpServers);
    }

    std::uint32_t SetDNSServerSearchOrder(const ServerList& list) override {
        log_.Add("set " + id_ + " " + FormatServers(list));
        calls.emplace_back(list);
        return Answer(list);
    }

    std::optional<std::string> description;
    std::optional<ServerList> servers;
    // What the adapter holds after a successful call without a list.
    std::optional<ServerList> dhcpServers;
    // Return values of successive calls; 0 once they run out.
    std::vector<std::uint32_t> results;
    // Raised by every call instead of a return value.
    std::optional<ManagementError> error;
    // Each call's argument; nullopt for a call without one.
    std::vector<std::optional<ServerList>> calls;

private:
    std::uint32_t Answer(const std::optional<ServerList>& newServers) {
        if (error) throw *error;
        const std::uint32_t result = calls.size() <= results.size() ? results[calls.size() - 1] : 0;
        if (result == 0) servers = newServers;
        return result;
    }

    EventLog& log_;
    std::string id_;
};

class FakeAdapterSet : public AdapterSet {
public:
    explicit FakeAdapterSet(std::vector<AdapterRef> elements) : elements_(std::move(elements)) {}

    std::vector<AdapterRef> Elements() override { return elements_; }

private:
    std::vector<AdapterRef> elements_;
};

class FakeManagement : public Management {
public:
    explicit FakeManagement(EventLog& log) : log_(log) {}

    // Adds an adapter at the end of the enumeration order; its id in the log is "#1", "#2", ...
    FakeAdapter& AddAdapter(std::optional<std::string> description,
                            std::optional<ServerList> servers = std::nullopt) {
        const std::string id = "#" + std::to_string(adapters_.size() + 1);
        adapters_.push_back(
            std::make_shared<FakeAdapter>(log_, id, std::move(description), std::move(servers)));
        return *adapters_.back();
    }

    LocatorRef CreateLocator() override {
        log_.Add("locator");
        auto locator = std::make_shared<FakeLocator>(*this);
        locators.push_back(locator);
        return locator;
    }

    ServiceRef GetObjectByMoniker(const std::string& moniker) override {
        log_.Add("moniker " + moniker);
        return std::make_shared<FakeService>(*this);
    }

    // Every query answers with a null result.
    bool answerNull = false;
    // Every query raises this.
    std::optional<ManagementError> queryError;

    // All locators and result sets handed out, to tell which ones the window still holds.
    std::vector<std::weak_ptr<Locator>> locators;
    std::vector<std::weak_ptr<AdapterSet>> sets;

private:
    class FakeService : public Service {
    public:
        explicit FakeService(FakeManagement& management) : management_(management) {}

        AdapterSetRef ExecQuery(const std::string& wql) override { return management_.Answer(wql); }

    private:
        FakeManagement& management_;
    };

    class FakeLocator : public Locator {
    public:
        explicit FakeLocator(FakeManagement& management) : management_(management) {}

        ServiceRef ConnectServer(const std::string& computer,
                                 const std::string& nameSpace) override {
            management_.log_.Add("connect " + computer + " " + nameSpace);
            return std::make_shared<FakeService>(management_);
        }

    private:
        FakeManagement& management_;
    };

    AdapterSetRef Answer(const std::string& wql) {
        log_.Add("query " + wql);
        if (queryError) throw *queryError;
        if (answerNull) return nullptr;
        const std::optional<std::string> wanted = WantedDescription(wql);
        std::vector<AdapterRef> selected;
        for (const auto& adapter : adapters_) {
            if (!wanted || adapter->description == *wanted) selected.push_back(adapter);
        }
        auto set = std::make_shared<FakeAdapterSet>(std::move(selected));
        sets.push_back(set);
        return set;
    }

    // The description literal that ends a query, unescaped; nullopt when the query names none.
    // Text after the literal's closing apostrophe makes the query malformed, as WMI treats it.
    static std::optional<std::string> WantedDescription(const std::string& wql) {
        static constexpr std::string_view kCondition = " and Description='";
        const std::size_t start = wql.find(kCondition);
        if (start == std::string::npos) return std::nullopt;
        std::string literal;
        std::size_t i = start + kCondition.size();
        for (; i < wql.size() && wql[i] != '\''; ++i) {
            if (wql[i] == '\\' && i + 1 < wql.size()) ++i;
            literal += wql[i];
        }
        if (i + 1 != wql.size()) throw ManagementError(kInvalidQuery, "Invalid query");
        return literal;
    }

    EventLog& log_;
    std::vector<std::shared_ptr<FakeAdapter>> adapters_;
};

}  // namespace quorvel::testing_support
