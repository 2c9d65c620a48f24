#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/support/environment.h"
#include "simulated_fixture.h"

namespace quorvel::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsSupersetOf;

constexpr std::uint32_t kMonikerSyntax = 0x800401E4;
constexpr std::uint32_t kInvalidNamespace = 0x8004100E;
constexpr std::uint32_t kServerUnavailable = 0x800706BA;

class ConnectTest : public SimulatedMachineTest {
protected:
    void SetUp() override {
        SimulatedMachineTest::SetUp();
        WriteMachine(R"({ "adapters": [ { "Description": "Wired" } ] })");
    }
};

TEST_F(ConnectTest, TheLocalCimv2NamespaceAnswersBothWays) {
    SimulatedManagement management(machineFile_);
    for (const auto& nameSpace : {"root\\cimv2", "ROOT\\CimV2"}) {
        EXPECT_THAT(
            Descriptions(
                management.CreateLocator()->ConnectServer(".", nameSpace)->ExecQuery(kAllAdapters)),
            ElementsAre("Wired"));
    }
    for (const auto& moniker : {"winmgmts:\\\\.\\root\\cimv2", "WinMgmts:\\\\.\\Root\\CIMV2"}) {
        EXPECT_THAT(Descriptions(management.GetObjectByMoniker(moniker)->ExecQuery(kAllAdapters)),
                    ElementsAre("Wired"));
    }
}

struct LocatorTarget {
    std::string computer;
    std::string nameSpace;
    std::uint32_t hresult;

    friend void PrintTo(const LocatorTarget& target, std::ostream* out) {
        *out << target.computer << " " << target.nameSpace;
    }
};

class RefusedLocatorTargetTest : public ConnectTest,
                                 public ::testing::WithParamInterface<LocatorTarget> {};

TEST_P(RefusedLocatorTargetTest, RaisesAsWmiWould) {
    const auto locator = SimulatedManagement(machineFile_).CreateLocator();
    const auto error =
        RaisedBy([&] { locator->ConnectServer(GetParam().computer, GetParam().nameSpace); });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->hresult(), GetParam().hresult);
}

INSTANTIATE_TEST_SUITE_P(Targets, RefusedLocatorTargetTest,
                         ::testing::Values(LocatorTarget{".", "root\\default", kInvalidNamespace},
                                           LocatorTarget{".", "root", kInvalidNamespace},
                                           LocatorTarget{".", "root\\cimv2\\x", kInvalidNamespace},
                                           LocatorTarget{".", "cimv2", kInvalidNamespace},
                                           LocatorTarget{"fileserver", "root\\cimv2",
                                                         kServerUnavailable}));

struct MonikerTarget {
    std::string moniker;
    std::uint32_t hresult;

    friend void PrintTo(const MonikerTarget& target, std::ostream* out) {
        *out << (target.moniker.empty() ? "(empty)" : target.moniker);
    }
};

class RefusedMonikerTest : public ConnectTest,
                           public ::testing::WithParamInterface<MonikerTarget> {};

TEST_P(RefusedMonikerTest, RaisesAsWmiWould) {
    SimulatedManagement management(machineFile_);
    const auto error = RaisedBy([&] { management.GetObjectByMoniker(GetParam().moniker); });
    ASSERT_TRUE(error) << GetParam().moniker;
    EXPECT_EQ(error->hresult(), GetParam().hresult) << GetParam().moniker;
}

INSTANTIATE_TEST_SUITE_P(
    Monikers, RefusedMonikerTest,
    ::testing::Values(MonikerTarget{"", kMonikerSyntax},
                      MonikerTarget{"root\\cimv2", kMonikerSyntax},
                      MonikerTarget{"winmgmt:\\\\.\\root\\cimv2", kMonikerSyntax},
                      MonikerTarget{"winmgmts:\\\\.", kMonikerSyntax},
                      MonikerTarget{"winmgmts:\\\\\\root\\cimv2", kMonikerSyntax},
                      MonikerTarget{"winmgmts:\\\\.\\root\\default", kInvalidNamespace},
                      MonikerTarget{"winmgmts:\\\\.\\root", kInvalidNamespace},
                      MonikerTarget{"winmgmts:\\\\fileserver\\root\\cimv2", kServerUnavailable}));

// The variable's value is a path, so on Windows it goes in as UTF-16 like a real file name.
void SetVariable(const char* name, const std::filesystem::path& value) {
#ifdef _WIN32
    const std::filesystem::path wideName(name);
    ASSERT_EQ(_wputenv_s(wideName.c_str(), value.c_str()), 0);
#else
    ASSERT_EQ(setenv(name, value.c_str(), 1), 0);
#endif
}

void UnsetVariable(const char* name) {
#ifdef _WIN32
    SetVariable(name, "");
#else
    ASSERT_EQ(unsetenv(name), 0);
#endif
}

// Sets QUORVEL_MACHINE for one test and puts back what was there.
class FromEnvironmentTest : public SimulatedMachineTest {
protected:
    void SetUp() override {
        SimulatedMachineTest::SetUp();
        saved_ = EnvironmentPath(kVariable);
    }

    void TearDown() override {
        if (saved_)
            SetVariable(kVariable, *saved_);
        else
            UnsetVariable(kVariable);
        SimulatedMachineTest::TearDown();
    }

    static std::vector<std::string> AllDescriptions(Management& management) {
        return Descriptions(management.GetObjectByMoniker(kLocalMoniker)->ExecQuery(kAllAdapters));
    }

    static constexpr const char* kVariable = "QUORVEL_MACHINE";
    std::optional<std::filesystem::path> saved_;
};

TEST_F(FromEnvironmentTest, UsesTheFileTheVariableNames) {
    machineFile_ = directory_ / Utf8Path("网卡 machine.json");
    WriteMachine(R"({ "adapters": [ { "Description": "From the file" } ] })");
    SetVariable(kVariable, machineFile_);

    const auto management = SimulatedManagement::FromEnvironment();
    EXPECT_THAT(AllDescriptions(*management), ElementsAre("From the file"));
}

TEST_F(FromEnvironmentTest, UsesTheSampleWhenTheVariableIsUnsetOrEmpty) {
    SimulatedManagement sample;
    const auto sampleDescriptions = AllDescriptions(sample);
    ASSERT_FALSE(sampleDescriptions.empty());

    UnsetVariable(kVariable);
    EXPECT_EQ(AllDescriptions(*SimulatedManagement::FromEnvironment()), sampleDescriptions);
    SetVariable(kVariable, "");
    EXPECT_EQ(AllDescriptions(*SimulatedManagement::FromEnvironment()), sampleDescriptions);
}

TEST(SampleMachineTest, CoversEveryShapeOfServerList) {
    SimulatedManagement sample;
    const auto service = sample.CreateLocator()->ConnectServer(".", kLocalNamespace);
    const auto all = service->ExecQuery(kAllAdapters)->Elements();
    const auto enabled =
        service->ExecQuery(std::string(kAllAdapters) + " WHERE IPEnabled=TRUE")->Elements();

    EXPECT_LT(enabled.size(), all.size()) << "an adapter that is not IP-enabled";
    std::multiset<std::string> descriptions;
    std::set<std::optional<std::size_t>> serverCounts;
    for (const auto& adapter : enabled) {
        descriptions.insert(adapter->Description().value());
        const auto servers = adapter->DNSServerSearchOrder();
        serverCounts.insert(servers ? std::optional(servers->size()) : std::nullopt);
    }
    EXPECT_THAT(serverCounts,
                IsSupersetOf({std::optional<std::size_t>(1), std::optional<std::size_t>(2),
                              std::optional<std::size_t>(3), std::optional<std::size_t>()}));
    EXPECT_TRUE(std::any_of(descriptions.begin(), descriptions.end(), [&](const std::string& d) {
        return descriptions.count(d) == 2;
    })) << "two adapters sharing one description";
}

TEST(SampleMachineTest, KeepsChangesAcrossConnections) {
    SimulatedManagement sample;
    const std::string wired = std::string(kAllAdapters) + " WHERE IPEnabled=TRUE AND " +
                              "Description='Realtek PCIe GbE Family Controller'";
    const auto adapters = sample.GetObjectByMoniker(kLocalMoniker)->ExecQuery(wired)->Elements();
    ASSERT_EQ(adapters.size(), 1u);
    ASSERT_EQ(adapters[0]->SetDNSServerSearchOrder({"8.8.4.4", "8.8.8.8"}), 0u);

    const auto service = sample.CreateLocator()->ConnectServer(".", kLocalNamespace);
    EXPECT_THAT(service->ExecQuery(wired)->Elements().at(0)->DNSServerSearchOrder(),
                ::testing::Optional(ElementsAre("8.8.4.4", "8.8.8.8")));
}

}  // namespace
}  // namespace quorvel::test
