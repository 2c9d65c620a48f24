#include <algorithm>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "management/wql.h"
#include "simulated_fixture.h"

namespace quorvel::test {
namespace {

using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

// Descriptions that a careless literal parser would confuse with each other: an apostrophe, a
// backslash, and both, each next to a neighbour that differs only in a backslash.
constexpr const char* kMachine = R"json({
  "adapters": [
    { "Description": "Intel(R) Ethernet Connection I219-V" },
    { "Description": "Realtek PCIe GbE Family Controller" },
    { "Description": "WAN Miniport (IP)",
                     "IPEnabled" : false
},
    { "Description": null },
    { "Description": "Intel(R) Ethernet Connection I219-V", "DNSServerSearchOrder": ["10.0.0.1"] },
    { "Description": "Bob's Wi-Fi" },
    { "Description": "Bob\\'s Wi-Fi" },
    { "Description": "Contoso\\Virtual\\Switch" },
    { "Description": "Contoso\\\\Virtual\\\\Switch" },
    { "Description": "x" },
    { "Description": "无线网卡 'α' \\ β" }
  ]
})json";

const std::vector<std::string> kAll = {"Intel(R) Ethernet Connection I219-V",
                                       "Realtek PCIe GbE Family Controller",
                                       "WAN Miniport (IP)",
                                       "(null)",
                                       "Intel(R) Ethernet Connection I219-V",
                                       "Bob's Wi-Fi",
                                       "Bob\\'s Wi-Fi",
                                       "Contoso\\Virtual\\Switch",
                                       "Contoso\\\\Virtual\\\\Switch",
                                       "x",
                                       "无线网卡 'α' \\ β"};

std::vector<std::string> AllBut(const std::vector<std::string>& left_out) {
    std::vector<std::string> rest;
    for (const auto& description : kAll)
        if (std::find(left_out.begin(), left_out.end(), description) == left_out.end())
            rest.push_back(description);
    return rest;
}

class SimulatedQueryTest : public SimulatedMachineTest {
protected:
    void SetUp() override {
        SimulatedMachineTest::SetUp();
        WriteMachine(kMachine);
    }

    std::vector<std::string> Select(const std::string& wql) {
        return Descriptions(Connect()->ExecQuery(wql));
    }
};

struct AcceptedQuery {
    std::string wql;
    std::vector<std::string> expected;

    friend void PrintTo(const AcceptedQuery& query, std::ostream* out) { *out << query.wql; }
};

class AcceptedQueryTest : public SimulatedQueryTest,
                          public ::testing::WithParamInterface<AcceptedQuery> {};

TEST_P(AcceptedQueryTest, SelectsTheMatchingAdaptersInOrder) {
    EXPECT_THAT(Select(GetParam().wql), ElementsAreArray(GetParam().expected)) << GetParam().wql;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, AcceptedQueryTest,
    ::testing::Values(
        AcceptedQuery{"SELECT * FROM Win32_NetworkAdapterConfiguration", kAll},
        // The window's own three texts.
        AcceptedQuery{"SELECT * FROM Win32_NetworkAdapterConfiguration where IPEnabled=TRUE",
                      AllBut({"WAN Miniport (IP)"})},
        AcceptedQuery{"SELECT * FROM Win32_NetworkAdapterConfiguration where IPEnabled=TRUE and "
                      "Description='Realtek PCIe GbE Family Controller'",
                      {"Realtek PCIe GbE Family Controller"}},
        AcceptedQuery{
            "Select * from Win32_NetworkAdapterConfiguration where IPEnabled=TRUE and "
            "Description='Intel(R) Ethernet Connection I219-V'",
            {"Intel(R) Ethernet Connection I219-V", "Intel(R) Ethernet Connection I219-V"}},
        // Keywords, class, property names, TRUE/FALSE and literals ignore case.
        AcceptedQuery{"select * from win32_networkadapterconfiguration WHERE ipenabled=false",
                      {"WAN Miniport (IP)"}},
        AcceptedQuery{"SeLeCt * FrOm WIN32_NETWORKADAPTERCONFIGURATION wHeRe DESCRIPTION='REALTEK "
                      "pcie gbe FAMILY controller' aNd IpEnAbLeD=True",
                      {"Realtek PCIe GbE Family Controller"}},
        // Whitespace between tokens, or none where WQL needs none.
        AcceptedQuery{" \tSELECT\n*\r\nFROM   Win32_NetworkAdapterConfiguration  WHERE\tIPEnabled "
                      "=  FALSE  AND Description = 'WAN Miniport (IP)'\n",
                      {"WAN Miniport (IP)"}},
        AcceptedQuery{"SELECT*FROM Win32_NetworkAdapterConfiguration WHERE Description='x'AND "
                      "IPEnabled=TRUE",
                      {"x"}},
        // Equality of whole descriptions only; a null description equals nothing, not even ''.
        AcceptedQuery{"SELECT * FROM Win32_NetworkAdapterConfiguration WHERE Description=''", {}},
        AcceptedQuery{"SELECT * FROM Win32_NetworkAdapterConfiguration WHERE Description='Realtek'",
                      {}},
        AcceptedQuery{"SELECT * FROM Win32_NetworkAdapterConfiguration WHERE Description='x '", {}},
        AcceptedQuery{"SELECT * FROM Win32_NetworkAdapterConfiguration WHERE Description='WAN "
                      "Miniport (IP)' AND IPEnabled=TRUE",
                      {}},
        AcceptedQuery{"SELECT * FROM Win32_NetworkAdapterConfiguration WHERE IPEnabled=TRUE AND "
                      "IPEnabled=FALSE",
                      {}},
        // Escapes inside a literal.
        AcceptedQuery{"SELECT * FROM Win32_NetworkAdapterConfiguration WHERE Description='Bob\\'s "
                      "Wi-Fi'",
                      {"Bob's Wi-Fi"}},
        AcceptedQuery{"SELECT * FROM Win32_NetworkAdapterConfiguration WHERE "
                      "Description='Contoso\\\\Virtual\\\\Switch'",
                      {"Contoso\\Virtual\\Switch"}}));

// Each tricky description, escaped as WMI wants it, selects its own adapter and no other.
class EscapedDescriptionTest : public SimulatedQueryTest,
                               public ::testing::WithParamInterface<std::string> {};

TEST_P(EscapedDescriptionTest, MatchesExactlyItsAdapter) {
    const std::string wql =
        std::string(kAllAdapters) + " WHERE Description='" + EscapeWqlString(GetParam()) + "'";
    EXPECT_THAT(Select(wql), ElementsAreArray({GetParam()})) << wql;
}

INSTANTIATE_TEST_SUITE_P(Descriptions, EscapedDescriptionTest,
                         ::testing::Values("Bob's Wi-Fi", "Bob\\'s Wi-Fi",
                                           "Contoso\\Virtual\\Switch",
                                           "Contoso\\\\Virtual\\\\Switch", "无线网卡 'α' \\ β"));

TEST_F(SimulatedQueryTest, AnEscapedTextCannotWidenTheQuery) {
    const std::string wql = std::string(kAllAdapters) + " WHERE IPEnabled=TRUE AND Description='" +
                            EscapeWqlString("x' or IPEnabled=TRUE or Description='") + "'";
    EXPECT_THAT(Select(wql), IsEmpty()) << wql;
}

struct RejectedQuery {
    std::string wql;
    std::uint32_t hresult;

    friend void PrintTo(const RejectedQuery& query, std::ostream* out) { *out << query.wql; }
};

class RejectedQueryTest : public SimulatedQueryTest,
                          public ::testing::WithParamInterface<RejectedQuery> {};

TEST_P(RejectedQueryTest, RaisesTheServiceError) {
    const auto service = Connect();
    const auto error = RaisedBy([&] { service->ExecQuery(GetParam().wql); });
    ASSERT_TRUE(error) << GetParam().wql;
    EXPECT_EQ(error->hresult(), GetParam().hresult) << GetParam().wql;
}

constexpr std::uint32_t kInvalidQuery = 0x80041017;
constexpr std::uint32_t kInvalidClass = 0x80041010;

INSTANTIATE_TEST_SUITE_P(
    Malformed, RejectedQueryTest,
    ::testing::Values(
        RejectedQuery{"", kInvalidQuery}, RejectedQuery{"SELECT", kInvalidQuery},
        RejectedQuery{"SELECT * FROM", kInvalidQuery},
        RejectedQuery{"SELECT * Win32_NetworkAdapterConfiguration", kInvalidQuery},
        RejectedQuery{"SELECT Description FROM Win32_NetworkAdapterConfiguration", kInvalidQuery},
        RejectedQuery{"SELECT * FROM Win32_NetworkAdapterConfiguration extra", kInvalidQuery},
        RejectedQuery{"SELECT * FROM Win32_NetworkAdapterConfiguration WHERE", kInvalidQuery},
        RejectedQuery{"SELECT * FROM Win32_NetworkAdapterConfiguration WHERE IPEnabled",
                      kInvalidQuery},
        RejectedQuery{"SELECT * FROM Win32_NetworkAdapterConfiguration WHERE IPEnabled=",
                      kInvalidQuery},
        RejectedQuery{"SELECT * FROM Win32_NetworkAdapterConfiguration WHERE IPEnabled==TRUE",
                      kInvalidQuery},
        RejectedQuery{"SELECT * FROM Win32_NetworkAdapterConfiguration WHERE IPEnabled=TRUE AND",
                      kInvalidQuery},
        RejectedQuery{"SELECT * FROM Win32_NetworkAdapterConfiguration WHERE IPEnabled=TRUE;",
                      kInvalidQuery},
        RejectedQuery{"SELECT * FROM Win32_NetworkAdapterConfiguration WHERE IPEnabled=TRUE OR "
                      "Description='x'",
                      kInvalidQuery},
        // An apostrophe the window inserts unescaped ends the literal early.
        RejectedQuery{"SELECT * FROM Win32_NetworkAdapterConfiguration WHERE Description='Bob's "
                      "Wi-Fi'",
                      kInvalidQuery},
        RejectedQuery{"SELECT * FROM Win32_NetworkAdapterConfiguration WHERE Description='x",
                      kInvalidQuery},
        RejectedQuery{"SELECT * FROM Win32_NetworkAdapterConfiguration WHERE Description='x\\'",
                      kInvalidQuery},
        RejectedQuery{"SELECT * FROM Win32_NetworkAdapterConfiguration WHERE Description='a\\qb'",
                      kInvalidQuery},
        RejectedQuery{"SELECT * FROM Win32_NetworkAdapterConfiguration WHERE Description=\"x\"",
                      kInvalidQuery},
        // Unknown properties and values of the wrong kind.
        RejectedQuery{"SELECT * FROM Win32_NetworkAdapterConfiguration WHERE MACAddress='x'",
                      kInvalidQuery},
        RejectedQuery{"SELECT * FROM Win32_NetworkAdapterConfiguration WHERE IPEnabled='TRUE'",
                      kInvalidQuery},
        RejectedQuery{"SELECT * FROM Win32_NetworkAdapterConfiguration WHERE Description=TRUE",
                      kInvalidQuery},
        RejectedQuery{"SELECT * FROM Win32_NetworkAdapterConfiguration WHERE IPEnabled=1",
                      kInvalidQuery}));

INSTANTIATE_TEST_SUITE_P(
    UnknownClass, RejectedQueryTest,
    ::testing::Values(
        RejectedQuery{"SELECT * FROM Win32_NetworkAdapter", kInvalidClass},
        RejectedQuery{"SELECT * FROM Win32_NetworkAdapterConfigurations WHERE IPEnabled=TRUE",
                      kInvalidClass},
        RejectedQuery{"SELECT * FROM Win32_NetworkAdapter WHERE MACAddress='x'", kInvalidClass}));

TEST_F(SimulatedQueryTest, ErrorsCarryThePlatformText) {
    const auto service = Connect();
    const auto malformed = RaisedBy([&] { service->ExecQuery("SELECT"); });
    const auto unknownClass = RaisedBy([&] { service->ExecQuery("SELECT * FROM Win32_Foo"); });
    ASSERT_TRUE(malformed && unknownClass);
    EXPECT_EQ(malformed->text(), "Invalid query");
    EXPECT_EQ(unknownClass->text(), "Invalid class");
}

}  // namespace
}  // namespace quorvel::test
