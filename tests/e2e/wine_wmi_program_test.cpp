// quorvel.exe end to end on the WMI of the Wine it runs under, checked against Wine's own wmic.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "program_fixture.h"
#include "tests/support/wine_tools.h"

namespace quorvel::e2e {
namespace {

using ::testing::IsEmpty;
using ::testing::SizeIs;
using ::testing::StartsWith;

// What wmic prints for a DNS server list whose first two entries the fields show: {"a","b",...}
// or {"a"}; nothing (null) or {} when both fields are empty.
bool WmicShowsTheSameServers(const std::string& cell, const std::string& text1,
                             const std::string& text2) {
    if (text1.empty()) return text2.empty() && (cell.empty() || cell == "{}");
    const std::string first = "{\"" + text1 + "\"";
    if (cell.rfind(first, 0) != 0) return false;
    const std::string rest = cell.substr(first.size());
    return text2.empty() ? rest == "}" : rest.rfind(",\"" + text2 + "\"", 0) == 0;
}

using WineWmiProgram = ProgramTest;

TEST_F(WineWmiProgram, ListsWinesAdaptersShowsTheirServersAndReportsTheMissingMethod) {
    if (!test::RunningUnderWine()) {
        GTEST_SKIP() << "would change the DNS servers of a real adapter";
    }
    // Wine's wmic prints the columns in this order, whatever order they are asked in.
    std::vector<std::string> enabled;
    std::vector<std::string> servers;
    for (const auto& row :
         test::WmicNicConfig({"Description", "DNSServerSearchOrder", "IPEnabled"})) {
        ASSERT_TRUE(row[2] == "-1" || row[2] == "0" || row[2] == "TRUE" || row[2] == "FALSE")
            << "not an IPEnabled value: " << row[2];
        if (row[2] == "-1" || row[2] == "TRUE") {
            enabled.push_back(row[0]);
            servers.push_back(row[1]);
        }
    }
    ASSERT_FALSE(enabled.empty()) << "Wine reports no IP-enabled adapter";

    ASSERT_THAT(StartProgram(kWmiProgram, std::nullopt), IsEmpty());
    EXPECT_EQ(ui_->Entries(), enabled);
    ASSERT_THAT(Pick(0), IsEmpty());
    const std::string text1 = Text1();
    const std::string text2 = Text2();
    EXPECT_TRUE(WmicShowsTheSameServers(servers[0], text1, text2))
        << "the window shows \"" << text1 << "\", \"" << text2 << "\"; wmic " << servers[0];
    SaveWindowPicture("main-window-wmi");

    // Wine's WMI has no SetDNSServerSearchOrder: the error is reported, nothing else happens.
    const std::vector<std::string> boxes = Press(kSetQuorvel);
    ASSERT_THAT(boxes, SizeIs(1));
    EXPECT_THAT(boxes[0], StartsWith("操作失败: "));
    EXPECT_EQ(Text1(), text1);

    EXPECT_THAT(Pick(0), IsEmpty());
    EXPECT_EQ(Text1(), text1);
    EXPECT_EQ(Text2(), text2);
    Close();
}

}  // namespace
}  // namespace quorvel::e2e
