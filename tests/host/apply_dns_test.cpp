#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <ostream>

#include "main_harness.h"
#include "tests/support/raised_error.h"

namespace quorvel::testing_support {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr char kMoniker[] = "moniker winmgmts:\\\\.\\root\\cimv2";

class ApplyDnsTest : public ::testing::Test, protected MainHarness {
protected:
    void SetUp() override { combo1.text = "NIC"; }
};

struct TypedCase {
    const char* name;
    const char* text1;
    const char* text2;
    std::optional<ServerList> sent;
};

// Keeps test names and failure output readable.
void PrintTo(const TypedCase& c, std::ostream* os) { *os << c.name; }

class Command3Test : public ApplyDnsTest, public ::testing::WithParamInterface<TypedCase> {};

TEST_P(Command3Test, SendsTheTypedTextsByTheFirstRuleThatApplies) {
    FakeAdapter& adapter = management.AddAdapter("NIC", ServerList{"10.0.0.1"});
    text1.text = GetParam().text1;
    text2.text = GetParam().text2;
    window.Command3_Click();
    EXPECT_THAT(adapter.calls, ElementsAre(GetParam().sent));
}

INSTANTIATE_TEST_SUITE_P(
    TypedTexts, Command3Test,
    ::testing::Values(
        TypedCase{"Both", "1.1.1.1", "8.8.8.8", ServerList{"1.1.1.1", "8.8.8.8"}},
        TypedCase{"PrimaryOnly", "1.1.1.1", "", ServerList{"1.1.1.1"}},
        TypedCase{"SecondaryOnlyBecomesPrimary", "", "8.8.8.8", ServerList{"8.8.8.8"}},
        TypedCase{"BlankPrimaryIsSent", " ", "8.8.8.8", ServerList{" ", "8.8.8.8"}},
        TypedCase{"BlankSecondaryIsSent", "1.1.1.1", " ", ServerList{"1.1.1.1", " "}},
        TypedCase{"UnvalidatedText", "not an address", "", ServerList{"not an address"}},
        TypedCase{"NeitherMeansAutomatic", "", "", std::nullopt}),
    [](const ::testing::TestParamInfo<TypedCase>& info) { return std::string(info.param.name); });

TEST(Command3WithEmptyFields, BehavesExactlyAsCommand4) {
    MainHarness command3;
    MainHarness command4;
    for (MainHarness* harness : {&command3, &command4}) {
        harness->combo1.text = "NIC";
        harness->management.AddAdapter("NIC", ServerList{"10.0.0.1"}).dhcpServers =
            ServerList{"192.168.1.1"};
    }
    command3.window.Command3_Click();
    command4.window.Command4_Click();
    EXPECT_EQ(command3.log.entries, command4.log.entries);
    EXPECT_THAT(command3.log.Of("set"), ElementsAre("set #1 ()"));
}

TEST_F(ApplyDnsTest, Command4CallsTheMethodWithoutAnyArgument) {
    FakeAdapter& adapter = management.AddAdapter("NIC", ServerList{"10.0.0.1"});
    adapter.dhcpServers = ServerList{"192.168.1.1"};
    window.Command4_Click();
    ASSERT_EQ(adapter.calls.size(), 1u);
    EXPECT_EQ(adapter.calls[0], std::nullopt) << "an empty list is not the call without one";
    EXPECT_EQ(text1.text, "192.168.1.1");
    EXPECT_EQ(text2.text, "");
}

TEST_F(ApplyDnsTest, Command2SetsTheServiceResolversThroughTheMonikerAndRefreshes) {
    management.AddAdapter("NIC", ServerList{"10.0.0.1"});
    text1.text = "typed primary";
    text2.text = "typed secondary";
    window.Command2_Click();
    EXPECT_THAT(log.entries,
                ElementsAre(kMoniker, "query " + ApplyQuery("NIC"),
                            R"(set #1 ["9.9.9.9", "149.112.112.112"])", "box DNS设置成功",
                            "locator", "connect . root\\cimv2", "query " + DisplayQuery("NIC"),
                            "text1 = 9.9.9.9", "text2 = 149.112.112.112"));
}

TEST_F(ApplyDnsTest, ANullResultReportsAMissingAdapterAndStops) {
    management.AddAdapter("NIC", ServerList{"10.0.0.1"});
    text1.text = "typed";
    management.answerNull = true;
    window.Command2_Click();
    EXPECT_THAT(log.entries,
                ElementsAre(kMoniker, "query " + ApplyQuery("NIC"), "box 所选网卡不存在。"));
    EXPECT_EQ(text1.text, "typed");
}

TEST_F(ApplyDnsTest, AnEmptySelectorTextMatchingNothingChangesNothingAndStillRefreshes) {
    management.AddAdapter("NIC", ServerList{"10.0.0.1"});
    combo1.text = "";
    window.Command2_Click();
    EXPECT_THAT(log.entries, ElementsAre(kMoniker, "query " + ApplyQuery(""), "locator",
                                         "connect . root\\cimv2", "query " + DisplayQuery("")));
}

TEST_F(ApplyDnsTest, ChangesEveryMatchInOrderEachWithItsOwnBoxBeforeTheNext) {
    management.AddAdapter("NIC", ServerList{"10.0.0.1"}).results = {70};
    management.AddAdapter("Other", ServerList{"10.0.0.2"});
    management.AddAdapter("NIC", ServerList{"10.0.0.3"});
    text1.text = "1.1.1.1";
    text2.text = "";
    window.Command3_Click();
    EXPECT_THAT(log.entries,
                ElementsAre(kMoniker, "query " + ApplyQuery("NIC"), R"(set #1 ["1.1.1.1"])",
                            "box DNS设置失败: Invalid IP address.", R"(set #3 ["1.1.1.1"])",
                            "box DNS设置成功", "locator", "connect . root\\cimv2",
                            "query " + DisplayQuery("NIC"), "text1 = 10.0.0.1",
                            "text2 = ", "text1 = 1.1.1.1", "text2 = "));
}

TEST_F(ApplyDnsTest, TheSelectorTextIsEscapedInTheQuery) {
    FakeAdapter& adapter = management.AddAdapter("Bob's NIC\\2", ServerList{"10.0.0.1"});
    combo1.text = "Bob's NIC\\2";
    window.Command2_Click();
    EXPECT_EQ(log.Of("query").front(),
              "query Select * from Win32_NetworkAdapterConfiguration where IPEnabled=TRUE and "
              "Description='Bob\\'s NIC\\\\2'");
    EXPECT_EQ(adapter.calls.size(), 1u);
}

struct ResultCase {
    std::uint32_t value;
    const char* message;
};

// Keeps test names and failure output readable.
void PrintTo(const ResultCase& c, std::ostream* os) { *os << c.value; }

class ApplyDnsResultTest : public ApplyDnsTest, public ::testing::WithParamInterface<ResultCase> {};

TEST_P(ApplyDnsResultTest, ReportsTheReturnValueAndGoesOnToTheRefresh) {
    management.AddAdapter("NIC", ServerList{"10.0.0.1"}).results = {GetParam().value};
    window.Command2_Click();
    EXPECT_THAT(messageBox.shown, ElementsAre(GetParam().message));
    EXPECT_EQ(log.Of("query").size(), 2u);
}

INSTANTIATE_TEST_SUITE_P(
    ReturnValues, ApplyDnsResultTest,
    ::testing::Values(ResultCase{0, "DNS设置成功"},
                      ResultCase{1, "DNS设置失败: Successful completion. Reboot is required."},
                      ResultCase{70, "DNS设置失败: Invalid IP address."},
                      ResultCase{91, "DNS设置失败: Access denied."},
                      ResultCase{12345, "DNS设置失败: Unknown Error"}));

TEST_F(ApplyDnsTest, ARaisedErrorStopsTheRunAndPropagates) {
    management.AddAdapter("NIC", ServerList{"10.0.0.1"});
    management.AddAdapter("NIC", ServerList{"10.0.0.2"}).error =
        ManagementError(0x80070005, "Access is denied.");
    FakeAdapter& third = management.AddAdapter("NIC", ServerList{"10.0.0.3"});
    const auto error = test::RaisedBy([this] { window.Command2_Click(); });
    ASSERT_TRUE(error) << "the error was swallowed";
    EXPECT_EQ(error->hresult(), 0x80070005u);
    EXPECT_THAT(third.calls, IsEmpty());
    EXPECT_THAT(messageBox.shown, ElementsAre("DNS设置成功"));
    EXPECT_THAT(log.Of("locator"), IsEmpty()) << "no refresh after the error";
}

// ApplyDns keeps its connection to itself: the display's fields hold what they held before it,
// the empty fields of a window that has shown nothing yet as well as a display's objects.
class ApplyDnsFieldsTest : public ApplyDnsTest, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override {
        ApplyDnsTest::SetUp();
        if (GetParam()) {
            // Another adapter's display, so that no object of the apply could stand in for it.
            management.AddAdapter("Other", ServerList{"10.9.9.9"});
            combo1.text = "Other";
            window.ShowAdapterDns();
            ASSERT_NE(window.Fields().Adapter, nullptr);
            combo1.text = "NIC";
        }
        kept_ = window.Fields();
        log.entries.clear();
    }

    void ExpectFieldsKept() const {
        const MainFields& now = window.Fields();
        EXPECT_EQ(now.Locator, kept_.Locator);
        EXPECT_EQ(now.Service, kept_.Service);
        EXPECT_EQ(now.AdapterSet, kept_.AdapterSet);
        EXPECT_EQ(now.Adapter, kept_.Adapter);
        EXPECT_EQ(now.Computer, kept_.Computer);
        EXPECT_EQ(now.NameSpace, kept_.NameSpace);
        EXPECT_EQ(now.QueryText, kept_.QueryText);
    }

private:
    MainFields kept_;
};

TEST_P(ApplyDnsFieldsTest, ANullResultRunLeavesTheFieldsAndConnectsByMonikerEveryTime) {
    management.answerNull = true;
    window.ApplyDns("1.1.1.1", "8.8.8.8");
    window.ApplyDns("1.1.1.1", "8.8.8.8");
    ExpectFieldsKept();
    EXPECT_THAT(log.Of("moniker"), ElementsAre(kMoniker, kMoniker));
    EXPECT_THAT(log.Of("locator"), IsEmpty());
}

TEST_P(ApplyDnsFieldsTest, AnInterruptedRunLeavesTheFields) {
    management.AddAdapter("NIC", ServerList{"10.0.0.1"}).error =
        ManagementError(0x80041001, "Generic failure");
    EXPECT_THROW(window.ApplyDns("1.1.1.1", "8.8.8.8"), ManagementError);
    ExpectFieldsKept();
}

INSTANTIATE_TEST_SUITE_P(WindowStates, ApplyDnsFieldsTest, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return std::string(info.param ? "AfterADisplay" : "BeforeAnyDisplay");
                         });

}  // namespace
}  // namespace quorvel::testing_support
