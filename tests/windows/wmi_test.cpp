// The backend against the WMI of the Wine it runs under, checked against Wine's own wmic.
#include "management/wmi/wmi_management.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "management/management_error.h"
#include "platform/com_apartment.h"
#include "tests/support/raised_error.h"
#include "tests/support/wine_tools.h"

namespace quorvel {
namespace {

using test::RunningUnderWine;
using test::WmicNicConfig;

constexpr const char* kListQuery =
    "SELECT * FROM Win32_NetworkAdapterConfiguration where IPEnabled=TRUE";

std::vector<std::string> Descriptions(const AdapterSetRef& adapters) {
    std::vector<std::string> descriptions;
    for (const AdapterRef& adapter : adapters->Elements()) {
        const std::optional<std::string> description = adapter->Description();
        descriptions.push_back(description.value_or("<null>"));
    }
    return descriptions;
}

// wmic prints a list as {"a","b"} and nothing for null.
std::optional<std::vector<std::string>> WmicList(const std::string& cell) {
    if (cell.empty()) return std::nullopt;
    if (cell.size() < 2 || cell.front() != '{' || cell.back() != '}') {
        ADD_FAILURE() << "not a wmic list: " << cell;
        return std::nullopt;
    }
    std::vector<std::string> items;
    std::string item;
    bool quoted = false;
    for (const char c : cell.substr(1, cell.size() - 2)) {
        if (c == '"') {
            quoted = !quoted;
        } else if (c == ',' && !quoted) {
            items.push_back(std::exchange(item, {}));
        } else if (quoted) {
            item += c;
        }
    }
    if (cell.size() > 2) items.push_back(item);
    return items;
}

class WineWmi : public ::testing::Test {
protected:
    void SetUp() override {
        if (!RunningUnderWine()) {
            GTEST_SKIP() << "compares with Wine's own wmic and Wine's missing method";
        }
    }

    ServiceRef ByLocator() {
        return management_.CreateLocator()->ConnectServer(".", "root\\cimv2");
    }
    ServiceRef ByMoniker() { return management_.GetObjectByMoniker("winmgmts:\\\\.\\root\\cimv2"); }

    platform::ComApartment apartment_;
    WmiManagement management_;
};

TEST_F(WineWmi, ListQueryYieldsTheIpEnabledAdaptersWmicReportsInItsOrder) {
    std::vector<std::string> expected;
    for (const auto& row : WmicNicConfig({"Description", "IPEnabled"})) {
        if (row[1] == "-1" || row[1] == "TRUE") expected.push_back(row[0]);
    }
    ASSERT_FALSE(expected.empty()) << "Wine reports no IP-enabled adapter";

    const AdapterSetRef adapters = ByLocator()->ExecQuery(kListQuery);
    ASSERT_NE(adapters, nullptr);
    EXPECT_EQ(Descriptions(adapters), expected);
}

TEST_F(WineWmi, DnsServerListsEqualWhatWmicReports) {
    const auto rows = WmicNicConfig({"Description", "DNSServerSearchOrder"});
    const AdapterSetRef adapters =
        ByLocator()->ExecQuery("SELECT * FROM Win32_NetworkAdapterConfiguration");
    ASSERT_NE(adapters, nullptr);
    const std::vector<AdapterRef> elements = adapters->Elements();
    ASSERT_EQ(elements.size(), rows.size());
    for (std::size_t index = 0; index < rows.size(); ++index) {
        SCOPED_TRACE(rows[index][0]);
        EXPECT_EQ(elements[index]->Description(), rows[index][0]);
        EXPECT_EQ(elements[index]->DNSServerSearchOrder(), WmicList(rows[index][1]));
    }
}

TEST_F(WineWmi, LocatorAndMonikerReachTheSameService) {
    const std::vector<std::string> byLocator = Descriptions(ByLocator()->ExecQuery(kListQuery));
    const std::vector<std::string> byMoniker = Descriptions(ByMoniker()->ExecQuery(kListQuery));
    EXPECT_FALSE(byLocator.empty());
    EXPECT_EQ(byMoniker, byLocator);
}

TEST_F(WineWmi, DisplayAndApplyQueriesSelectByDescription) {
    const std::vector<std::string> all = Descriptions(ByLocator()->ExecQuery(kListQuery));
    ASSERT_FALSE(all.empty());
    const std::string& wanted = all.front();
    const auto expected = std::count(all.begin(), all.end(), wanted);

    const std::string display =
        std::string("SELECT * FROM ") +
        "Win32_NetworkAdapterConfiguration where IPEnabled=TRUE and Description='" + wanted + "'";
    const std::string apply =
        "Select * from Win32_NetworkAdapterConfiguration where IPEnabled=TRUE and Description='" +
        wanted + "'";
    const std::vector<std::string> shown = Descriptions(ByLocator()->ExecQuery(display));
    const std::vector<std::string> applied = Descriptions(ByMoniker()->ExecQuery(apply));
    EXPECT_EQ(shown, std::vector<std::string>(static_cast<std::size_t>(expected), wanted));
    EXPECT_EQ(applied, shown);
}

TEST_F(WineWmi, QueryMatchingNothingIsAnEmptySetNotNull) {
    const AdapterSetRef adapters = ByMoniker()->ExecQuery(
        "Select * from Win32_NetworkAdapterConfiguration where IPEnabled=TRUE and "
        "Description='没有这个网卡'");
    ASSERT_NE(adapters, nullptr);
    EXPECT_TRUE(adapters->Elements().empty());
}

TEST_F(WineWmi, UnescapedApostropheIsAnInvalidQuery) {
    const ServiceRef service = ByLocator();
    const auto error = test::RaisedBy([&] {
        // Enumerating too: a service may report the fault only when the results are read.
        const AdapterSetRef adapters = service->ExecQuery(
            "SELECT * FROM Win32_NetworkAdapterConfiguration where IPEnabled=TRUE and "
            "Description='Bob's adapter'");
        if (adapters) adapters->Elements();
    });
    ASSERT_TRUE(error) << "no error raised";
    EXPECT_EQ(error->hresult(), 0x80041017u);
    EXPECT_FALSE(error->text().empty());
}

// Wine's Win32_NetworkAdapterConfiguration has no SetDNSServerSearchOrder; the failure must come
// back as the error, leaving the process and the apartment usable. On Windows this would change
// the machine's settings, hence Wine only.
TEST_F(WineWmi, MissingMethodRaisesManagementErrorInBothForms) {
    const ServiceRef service = ByMoniker();
    const std::vector<AdapterRef> adapters = service->ExecQuery(kListQuery)->Elements();
    ASSERT_FALSE(adapters.empty());
    const AdapterRef& adapter = adapters.front();

    const auto automatic = test::RaisedBy([&] { adapter->SetDNSServerSearchOrder(); });
    ASSERT_TRUE(automatic) << "no error raised";
    EXPECT_EQ(automatic->hresult(), static_cast<std::uint32_t>(DISP_E_UNKNOWNNAME));
    EXPECT_FALSE(automatic->text().empty());
    const auto listed = test::RaisedBy([&] {
        adapter->SetDNSServerSearchOrder({"192.0.2.53", "198.51.100.53"});
    });
    ASSERT_TRUE(listed) << "no error raised";
    EXPECT_EQ(listed->hresult(), static_cast<std::uint32_t>(DISP_E_UNKNOWNNAME));
    EXPECT_TRUE(adapter->Description().has_value());
    EXPECT_FALSE(Descriptions(service->ExecQuery(kListQuery)).empty());
}

}  // namespace
}  // namespace quorvel
