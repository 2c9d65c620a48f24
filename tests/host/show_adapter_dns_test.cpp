#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <ostream>

#include "main_harness.h"

namespace quorvel::testing_support {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class ShowAdapterDnsTest : public ::testing::Test, protected MainHarness {
protected:
    // The fields hold text of their own, so that "emptied" and "kept" differ.
    void SetUp() override {
        text1.text = "old primary";
        text2.text = "old secondary";
        combo1.text = "NIC";
    }
};

struct DnsCase {
    const char* name;
    std::optional<ServerList> servers;
    const char* text1;
    const char* text2;
};

// Keeps test names and failure output readable.
void PrintTo(const DnsCase& c, std::ostream* os) { *os << c.name; }

class ShowAdapterDnsTableTest : public ShowAdapterDnsTest,
                                public ::testing::WithParamInterface<DnsCase> {};

TEST_P(ShowAdapterDnsTableTest, FillsBothFieldsFromTheServerList) {
    management.AddAdapter("NIC", GetParam().servers);
    window.ShowAdapterDns();
    EXPECT_EQ(text1.text, GetParam().text1);
    EXPECT_EQ(text2.text, GetParam().text2);
    EXPECT_THAT(log.entries,
                ElementsAre("locator", "connect . root\\cimv2", "query " + DisplayQuery("NIC"),
                            "text1 = " + std::string(GetParam().text1),
                            "text2 = " + std::string(GetParam().text2)));
}

INSTANTIATE_TEST_SUITE_P(
    ServerLists, ShowAdapterDnsTableTest,
    ::testing::Values(DnsCase{"Null", std::nullopt, "", ""}, DnsCase{"Empty", ServerList{}, "", ""},
                      DnsCase{"One", ServerList{"10.0.0.1"}, "10.0.0.1", ""},
                      DnsCase{"Two", ServerList{"10.0.0.1", "10.0.0.2"}, "10.0.0.1", "10.0.0.2"},
                      DnsCase{"Three", ServerList{"10.0.0.1", "10.0.0.2", "10.0.0.3"}, "10.0.0.1",
                              "10.0.0.2"}),
    [](const ::testing::TestParamInfo<DnsCase>& info) { return std::string(info.param.name); });

TEST_F(ShowAdapterDnsTest, WithSeveralMatchesTheLastEnumeratedWins) {
    management.AddAdapter("NIC", ServerList{"10.0.0.1", "10.0.0.2"});
    management.AddAdapter("NIC", ServerList{"172.16.0.1"});
    management.AddAdapter("Other", ServerList{"192.168.0.1", "192.168.0.2"});
    window.ShowAdapterDns();
    EXPECT_EQ(text1.text, "172.16.0.1");
    EXPECT_EQ(text2.text, "");
    EXPECT_THAT(log.Of("text1"), ElementsAre("text1 = 10.0.0.1", "text1 = 172.16.0.1"));
}

TEST_F(ShowAdapterDnsTest, WithoutAMatchBothFieldsKeepTheirText) {
    management.AddAdapter("Other", ServerList{"10.0.0.1", "10.0.0.2"});
    window.ShowAdapterDns();
    EXPECT_EQ(text1.text, "old primary");
    EXPECT_EQ(text2.text, "old secondary");
}

TEST_F(ShowAdapterDnsTest, ANullResultKeepsBothFields) {
    management.AddAdapter("NIC", ServerList{"10.0.0.1", "10.0.0.2"});
    management.answerNull = true;
    window.ShowAdapterDns();
    EXPECT_EQ(text1.text, "old primary");
    EXPECT_EQ(text2.text, "old secondary");
    EXPECT_EQ(window.Fields().AdapterSet, nullptr);
}

TEST_F(ShowAdapterDnsTest, NeverTouchesTheSelector) {
    management.AddAdapter("NIC", ServerList{"10.0.0.1"});
    combo1.items = {"NIC"};
    window.ShowAdapterDns();
    EXPECT_THAT(log.Of("combo"), IsEmpty());
    EXPECT_EQ(combo1.text, "NIC");
}

TEST_F(ShowAdapterDnsTest, ReplacesTheConnectionAndKeepsItsSetAndLastAdapter) {
    management.AddAdapter("NIC", ServerList{"10.0.0.1"});
    management.AddAdapter("NIC", ServerList{"10.0.0.2"});
    window.ShowAdapterDns();
    const LocatorRef firstLocator = window.Fields().Locator;
    window.ShowAdapterDns();

    EXPECT_NE(window.Fields().Locator, firstLocator);
    ASSERT_EQ(management.sets.size(), 2u);
    EXPECT_EQ(window.Fields().AdapterSet, management.sets[1].lock());
    ASSERT_NE(window.Fields().Adapter, nullptr);
    EXPECT_EQ(window.Fields().Adapter->DNSServerSearchOrder(), ServerList{"10.0.0.2"});
    EXPECT_EQ(window.Fields().Computer, ".");
    EXPECT_EQ(window.Fields().NameSpace, "root\\cimv2");
    EXPECT_EQ(window.Fields().QueryText,
              "Win32_NetworkAdapterConfiguration where IPEnabled=TRUE and Description='NIC'");
    EXPECT_THAT(log.Of("connect"), ElementsAre("connect . root\\cimv2", "connect . root\\cimv2"));
}

struct QueryCase {
    const char* name;
    const char* selectorText;
    const char* queryText;
};

// Keeps test names and failure output readable.
void PrintTo(const QueryCase& c, std::ostream* os) { *os << c.name; }

class ShowAdapterDnsQueryTest : public ShowAdapterDnsTest,
                                public ::testing::WithParamInterface<QueryCase> {};

TEST_P(ShowAdapterDnsQueryTest, SendsTheSelectorTextEscapedAndFindsItsAdapter) {
    management.AddAdapter(GetParam().selectorText, ServerList{"10.9.9.9"});
    combo1.text = GetParam().selectorText;
    window.ShowAdapterDns();
    EXPECT_EQ(window.Fields().QueryText, GetParam().queryText);
    EXPECT_THAT(log.Of("query"),
                ElementsAre("query SELECT * FROM " + std::string(GetParam().queryText)));
    EXPECT_EQ(text1.text, "10.9.9.9");
}

INSTANTIATE_TEST_SUITE_P(
    SelectorTexts, ShowAdapterDnsQueryTest,
    ::testing::Values(
        QueryCase{"Empty", "",
                  "Win32_NetworkAdapterConfiguration where IPEnabled=TRUE and Description=''"},
        QueryCase{"Plain", "Intel(R) Ethernet I219-V #2",
                  "Win32_NetworkAdapterConfiguration where IPEnabled=TRUE and "
                  "Description='Intel(R) Ethernet I219-V #2'"},
        QueryCase{"Chinese", "无线网卡 2",
                  "Win32_NetworkAdapterConfiguration where IPEnabled=TRUE and "
                  "Description='无线网卡 2'"},
        QueryCase{"Apostrophe", "Bob's NIC",
                  "Win32_NetworkAdapterConfiguration where IPEnabled=TRUE and "
                  "Description='Bob\\'s NIC'"},
        QueryCase{"Backslash", "NIC\\1",
                  "Win32_NetworkAdapterConfiguration where IPEnabled=TRUE and "
                  "Description='NIC\\\\1'"},
        QueryCase{"Injection", "x' or Description<>'",
                  "Win32_NetworkAdapterConfiguration where IPEnabled=TRUE and "
                  "Description='x\\' or Description<>\\''"}),
    [](const ::testing::TestParamInfo<QueryCase>& info) { return std::string(info.param.name); });

TEST_F(ShowAdapterDnsTest, ARaisedErrorPropagatesAndLeavesTheFields) {
    management.AddAdapter("NIC", ServerList{"10.0.0.1"});
    management.queryError = ManagementError(kInvalidQuery, "Invalid query");
    EXPECT_THROW(window.ShowAdapterDns(), ManagementError);
    EXPECT_EQ(text1.text, "old primary");
    EXPECT_EQ(text2.text, "old secondary");
}

}  // namespace
}  // namespace quorvel::testing_support
