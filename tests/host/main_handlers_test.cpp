#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <ostream>
#include <stdexcept>
#include <string>

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
    EXPECT_THAT(
        log.entries,
        ElementsAre("start C:\\Windows\\explorer.exe | explorer.exe http://www.quorvel.com",
                    "start C:\\Windows\\explorer.exe | explorer.exe http://www.quorvel.com"));
}

struct HelpPathCase {
    const char* windowsDirectory;
    const char* programPath;
};

void PrintTo(const HelpPathCase& c, std::ostream* os) { *os << c.windowsDirectory; }

class HelpProgramPathTest : public MainHandlersTest,
                            public ::testing::WithParamInterface<HelpPathCase> {};

// The shell program is always named by its full path in the Windows directory, wherever that
// is; the command line stays the bare program name and the page.
TEST_P(HelpProgramPathTest, StartsTheShellProgramOfTheWindowsDirectory) {
    processStart.windowsDirectory = GetParam().windowsDirectory;
    window.Command5_Click();
    EXPECT_THAT(log.entries, ElementsAre(std::string("start ") + GetParam().programPath +
                                         " | explorer.exe http://www.quorvel.com"));
}

INSTANTIATE_TEST_SUITE_P(
    WindowsDirectories, HelpProgramPathTest,
    ::testing::Values(HelpPathCase{"C:\\Windows", "C:\\Windows\\explorer.exe"},
                      HelpPathCase{"D:\\WINNT", "D:\\WINNT\\explorer.exe"},
                      // A Windows directory at a drive's root keeps its one separator.
                      HelpPathCase{"E:\\", "E:\\explorer.exe"},
                      HelpPathCase{"C:\\用户系统", "C:\\用户系统\\explorer.exe"},
                      HelpPathCase{"\\\\server\\share\\Windows",
                                   "\\\\server\\share\\Windows\\explorer.exe"}));

TEST_F(MainHandlersTest, HelpStartsNothingWhenTheWindowsDirectoryIsUnknown) {
    processStart.directoryUnknown = true;
    EXPECT_THROW(window.Command5_Click(), std::runtime_error);
    EXPECT_THAT(log.Of("start"), ::testing::IsEmpty());
}

}  // namespace
}  // namespace quorvel::testing_support
