#include <optional>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "simulated_fixture.h"

namespace quorvel::test {
namespace {

using ::testing::ElementsAre;
using ServerList = std::vector<std::string>;

constexpr const char* kMachine = R"json({
  "adapters": [
    { "Description": "Wired", "DNSServerSearchOrder": ["192.168.1.1", "192.168.1.2"],
      "DHCPDNSServers": ["192.168.1.1"] },
    { "Description": "Wireless", "DNSServerSearchOrder": ["10.0.0.53"] },
    { "Description": "Miniport", "IPEnabled": false, "DNSServerSearchOrder": ["10.9.9.9"],
      "DHCPDNSServers": ["10.9.9.1"] },
    { "Description": "Locked", "DNSServerSearchOrder": ["10.1.1.1"],
      "DHCPDNSServers": ["10.1.1.2"], "SetDNSServerSearchOrderResult": 91 },
    { "Description": "Locked miniport", "IPEnabled": false, "SetDNSServerSearchOrderResult": 1 },
    { "Description": "Pretends", "DNSServerSearchOrder": ["10.2.2.2"],
      "DHCPDNSServers": ["10.2.2.1"], "SetDNSServerSearchOrderResult": 0 }
  ]
})json";

constexpr std::uint32_t kInvalidIpAddress = 70;
constexpr std::uint32_t kIpNotEnabled = 84;

class SimulatedMethodTest : public SimulatedMachineTest {
protected:
    void SetUp() override {
        SimulatedMachineTest::SetUp();
        WriteMachine(kMachine);
    }

    // Sets the servers of the adapter named `description` as the window does: a fresh connection
    // and query; no list means back to automatic.
    std::uint32_t Set(const std::string& description, const std::optional<ServerList>& servers) {
        const auto adapter = Adapter(description);
        return servers ? adapter->SetDNSServerSearchOrder(*servers)
                       : adapter->SetDNSServerSearchOrder();
    }

    std::optional<ServerList> Servers(const std::string& description) {
        return Adapter(description)->DNSServerSearchOrder();
    }
};

TEST_F(SimulatedMethodTest, StoresTheListItIsGiven) {
    EXPECT_EQ(Set("Wired", ServerList{"1.1.1.1", "1.0.0.1"}), 0u);
    EXPECT_EQ(Set("Wireless", ServerList{"9.9.9.9"}), 0u);

    EXPECT_THAT(Servers("Wired"), ::testing::Optional(ElementsAre("1.1.1.1", "1.0.0.1")));
    EXPECT_THAT(Servers("Wireless"), ::testing::Optional(ElementsAre("9.9.9.9")));
    EXPECT_THAT(Servers("Miniport"), ::testing::Optional(ElementsAre("10.9.9.9")));
}

TEST_F(SimulatedMethodTest, WithoutAListGoesBackToTheDhcpServers) {
    EXPECT_EQ(Set("Wired", std::nullopt), 0u);
    EXPECT_EQ(Set("Wireless", std::nullopt), 0u);

    EXPECT_THAT(Servers("Wired"), ::testing::Optional(ElementsAre("192.168.1.1")));
    EXPECT_EQ(Servers("Wireless"), std::nullopt);
}

struct Refusal {
    std::string adapter;
    std::optional<ServerList> servers;
    std::uint32_t expected;

    friend void PrintTo(const Refusal& refusal, std::ostream* out) {
        *out << refusal.adapter << " with "
             << (refusal.servers ? ::testing::PrintToString(*refusal.servers) : "no list");
    }
};

// Every refused call returns its code and leaves the machine file exactly as it was.
class RefusedSetTest : public SimulatedMethodTest, public ::testing::WithParamInterface<Refusal> {};

TEST_P(RefusedSetTest, ReturnsTheCodeAndChangesNothing) {
    const std::string before = MachineBytes();
    const auto serversBefore = Servers(GetParam().adapter);

    EXPECT_EQ(Set(GetParam().adapter, GetParam().servers), GetParam().expected);

    EXPECT_EQ(MachineBytes(), before);
    EXPECT_EQ(Servers(GetParam().adapter), serversBefore);
}

INSTANTIATE_TEST_SUITE_P(
    ForcedResult, RefusedSetTest,
    ::testing::Values(Refusal{"Locked", ServerList{"8.8.8.8"}, 91},
                      Refusal{"Locked", std::nullopt, 91},
                      // The forced result comes before the IP and address checks.
                      Refusal{"Locked miniport", ServerList{"8.8.8.8"}, 1},
                      Refusal{"Locked miniport", std::nullopt, 1},
                      Refusal{"Pretends", ServerList{"not an address"}, 0},
                      Refusal{"Pretends", ServerList{"8.8.8.8"}, 0},
                      Refusal{"Pretends", std::nullopt, 0}));

INSTANTIATE_TEST_SUITE_P(NotIpEnabled, RefusedSetTest,
                         ::testing::Values(Refusal{"Miniport", ServerList{"8.8.8.8"},
                                                   kIpNotEnabled},
                                           Refusal{"Miniport", std::nullopt, kIpNotEnabled},
                                           // Checked before the addresses.
                                           Refusal{"Miniport", ServerList{"x"}, kIpNotEnabled}));

class BadAddressTest : public SimulatedMethodTest,
                       public ::testing::WithParamInterface<std::string> {};

TEST_P(BadAddressTest, IsRefusedAloneAndAfterAGoodOne) {
    const std::string before = MachineBytes();

    EXPECT_EQ(Set("Wired", ServerList{GetParam()}), kInvalidIpAddress);
    EXPECT_EQ(Set("Wired", ServerList{"8.8.8.8", GetParam()}), kInvalidIpAddress);

    EXPECT_EQ(MachineBytes(), before);
}

INSTANTIATE_TEST_SUITE_P(Addresses, BadAddressTest,
                         ::testing::Values("", " ", "1.2.3", "1.2.3.4.5", "1.2.3.", ".1.2.3",
                                           "1..2.3", "256.1.1.1", "1.2.3.256", "1.2.3.1000",
                                           "01.2.3.4", "+1.2.3.4", "1.2.3.-4", " 1.2.3.4",
                                           "1.2.3.4 ", "1.2. 3.4", "a.b.c.d", "0x1.2.3.4",
                                           "1.2.3.4/24", "::1", "１.2.3.4",
                                           std::string("1.2.3.4\0", 8)));

class GoodAddressTest : public SimulatedMethodTest,
                        public ::testing::WithParamInterface<std::string> {};

TEST_P(GoodAddressTest, IsStored) {
    EXPECT_EQ(Set("Wired", ServerList{GetParam()}), 0u);
    EXPECT_THAT(Servers("Wired"), ::testing::Optional(ElementsAre(GetParam())));
}

INSTANTIATE_TEST_SUITE_P(Addresses, GoodAddressTest,
                         ::testing::Values("0.0.0.0", "255.255.255.255", "8.8.8.8", "10.0.0.1",
                                           "199.99.9.0", "100.64.250.249"));

}  // namespace
}  // namespace quorvel::test
