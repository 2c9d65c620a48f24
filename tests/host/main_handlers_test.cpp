#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "main_harness.h"

namespace quorvel::testing_support {
namespace {

using ::testing::ElementsAre;

class MainHandlersTest : public ::testing::Test, protected MainHarness {};

TEST_F(MainHandlersTest, LoadFillsTheSelectorAndShowsTheDisplay) {
    management.AddAdapter("NIC", ServerList{"10.0.0.1"});
    window.Main_Load();
    EXPECT_THAT(combo1.items, ElementsAre("NIC"));
    EXPECT_THAT(log.Of("query"),
                ElementsAre("query " + std::string(kListQuery), "query " + DisplayQuery("")));
}

TEST_F(MainHandlersTest, PickingAnEntryShowsItsServers) {
    management.AddAdapter("NIC", ServerList{"10.0.0.1", "10.0.0.2"});
    window.Main_Load();
    combo1.text = "NIC";
    window.Combo1_Click();
    EXPECT_EQ(text1.text, "10.0.0.1");
    EXPECT_EQ(text2.text, "10.0.0.2");
}

TEST_F(MainHandlersTest, HelpStartsExplorerWithThePageAndDoesNothingElse) {
    management.AddAdapter("NIC", ServerList{"10.0.0.1"});
    combo1.text = "NIC";
    text1.text = "1.1.1.1";
    window.Command5_Click();
    window.Command5_Click();
    EXPECT_THAT(log.entries, ElementsAre("start explorer.exe http://www.quorvel.com",
                                         "start explorer.exe http://www.quorvel.com"));
}

}  // namespace
}  // namespace quorvel::testing_support
