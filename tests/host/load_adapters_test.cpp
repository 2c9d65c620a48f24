#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "main_harness.h"

namespace quorvel::testing_support {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class LoadAdaptersTest : public ::testing::Test, protected MainHarness {};

TEST_F(LoadAdaptersTest, ListsEveryDescriptionInServiceOrderUnsortedAndUnmerged) {
    management.AddAdapter("Zeta Wireless");
    management.AddAdapter("Alpha Ethernet");
    management.AddAdapter("Zeta Wireless");
    management.AddAdapter(" padded ");
    window.LoadAdapters();
    EXPECT_THAT(combo1.items,
                ElementsAre("Zeta Wireless", "Alpha Ethernet", "Zeta Wireless", " padded "));
    EXPECT_EQ(combo1.text, "");
}

TEST_F(LoadAdaptersTest, LeavesOutAnAdapterWithoutDescription) {
    management.AddAdapter("First");
    management.AddAdapter(std::nullopt);
    management.AddAdapter("Third");
    window.LoadAdapters();
    EXPECT_THAT(combo1.items, ElementsAre("First", "Third"));
}

TEST_F(LoadAdaptersTest, QueriesThroughTheLocatorThenEmptiesTheSelectorThenShowsDns) {
    management.AddAdapter("NIC", ServerList{"10.0.0.1"});
    combo1.items = {"stale"};
    combo1.text = "NIC";
    window.LoadAdapters();
    // The selector is emptied before the display reads it, so the display looks for ''.
    EXPECT_THAT(log.entries,
                ElementsAre("locator", "connect . root\\cimv2", "query " + std::string(kListQuery),
                            "combo clear", "combo append NIC", "locator", "connect . root\\cimv2",
                            "query " + DisplayQuery("")));
    EXPECT_THAT(combo1.items, ElementsAre("NIC"));
}

TEST_F(LoadAdaptersTest, WithoutAdaptersTheSelectorStaysEmptyAndTheFieldsKeepTheirText) {
    window.LoadAdapters();
    EXPECT_THAT(combo1.items, IsEmpty());
    EXPECT_THAT(log.Of("text1"), IsEmpty());
    EXPECT_THAT(log.Of("text2"), IsEmpty());
}

TEST_F(LoadAdaptersTest, AnAdapterWithAnEmptyDescriptionIsShownAtOnce) {
    management.AddAdapter("NIC", ServerList{"10.0.0.1", "10.0.0.2"});
    management.AddAdapter("", ServerList{"192.168.1.1", "192.168.1.2"});
    window.LoadAdapters();
    EXPECT_THAT(combo1.items, ElementsAre("NIC", ""));
    EXPECT_EQ(text1.text, "192.168.1.1");
    EXPECT_EQ(text2.text, "192.168.1.2");
}

TEST_F(LoadAdaptersTest, ANullResultListsNothing) {
    management.AddAdapter("NIC");
    combo1.items = {"stale"};
    management.answerNull = true;
    window.LoadAdapters();
    EXPECT_THAT(combo1.items, IsEmpty());
    EXPECT_THAT(log.Of("query"),
                ElementsAre("query " + std::string(kListQuery), "query " + DisplayQuery("")));
}

TEST_F(LoadAdaptersTest, ReleasesItsSetAndAdapterAndLeavesTheDisplayFieldsBehind) {
    management.AddAdapter("A");
    management.AddAdapter("B");
    window.LoadAdapters();
    ASSERT_EQ(management.sets.size(), 2u);
    EXPECT_TRUE(management.sets[0].expired()) << "the list's result set is still held";
    EXPECT_EQ(window.Fields().Adapter, nullptr);
    // The display ran last and matched nothing: its set is kept, its locator replaced the first.
    EXPECT_EQ(window.Fields().AdapterSet, management.sets[1].lock());
    ASSERT_EQ(management.locators.size(), 2u);
    EXPECT_TRUE(management.locators[0].expired());
    EXPECT_EQ(window.Fields().Locator, management.locators[1].lock());
    EXPECT_NE(window.Fields().Service, nullptr);
    EXPECT_EQ(window.Fields().Computer, ".");
    EXPECT_EQ(window.Fields().NameSpace, "root\\cimv2");
    EXPECT_EQ(window.Fields().QueryText,
              "Win32_NetworkAdapterConfiguration where IPEnabled=TRUE and Description=''");
}

TEST_F(LoadAdaptersTest, ARaisedErrorStopsBeforeTheSelectorIsTouched) {
    management.AddAdapter("NIC");
    combo1.items = {"kept"};
    management.queryError = ManagementError(kInvalidQuery, "Invalid query");
    EXPECT_THROW(window.LoadAdapters(), ManagementError);
    EXPECT_THAT(combo1.items, ElementsAre("kept"));
    EXPECT_THAT(log.Of("query"), ElementsAre("query " + std::string(kListQuery)));
}

}  // namespace
}  // namespace quorvel::testing_support
