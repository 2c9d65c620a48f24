// quorvel.exe end to end on the real WMI of a Windows machine, read only: its list and each
// adapter's servers against what PowerShell's Get-CimInstance lists on the same machine
// (scripts/expected-adapters.ps1 writes that to the file named by QUORVEL_EXPECTED_ADAPTERS).
// No DNS command is pressed: the machine's settings stay as they are.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstddef>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "program_fixture.h"
#include "tests/support/environment.h"

namespace quorvel::e2e {
namespace {

using ::testing::IsEmpty;

struct ExpectedAdapter {
    std::string description;
    std::vector<std::string> servers;
};

// One line per adapter: its description, a tab, its DNS servers joined by commas (none when
// the list is null). UTF-8, with or without a byte order mark, lines ending in LF or CR LF.
std::vector<ExpectedAdapter> ReadExpectedAdapters(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + file.string());
    std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (text.rfind("\xEF\xBB\xBF", 0) == 0) text.erase(0, 3);
    std::vector<ExpectedAdapter> adapters;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) continue;
        const std::size_t tab = line.find('\t');
        if (tab == std::string::npos) throw std::runtime_error("no tab in the line: " + line);
        ExpectedAdapter adapter{line.substr(0, tab), {}};
        std::size_t from = tab + 1;
        while (from < line.size()) {
            std::size_t comma = line.find(',', from);
            if (comma == std::string::npos) comma = line.size();
            adapter.servers.push_back(line.substr(from, comma - from));
            from = comma + 1;
        }
        adapters.push_back(std::move(adapter));
    }
    return adapters;
}

using RealWmiProgram = ProgramTest;

TEST_F(RealWmiProgram, ListsTheMachinesAdaptersAndShowsEachOnesServers) {
    const auto file = test::EnvironmentPath("QUORVEL_EXPECTED_ADAPTERS");
    if (!file || file->empty()) {
        GTEST_SKIP() << "QUORVEL_EXPECTED_ADAPTERS names no list of this machine's adapters";
    }
    const std::vector<ExpectedAdapter> expected = ReadExpectedAdapters(*file);
    ASSERT_FALSE(expected.empty()) << "the list names no IP-enabled adapter";
    std::vector<std::string> descriptions;
    for (const ExpectedAdapter& adapter : expected) descriptions.push_back(adapter.description);

    ASSERT_THAT(StartProgram(kWmiProgram, std::nullopt), IsEmpty());
    ASSERT_EQ(ui_->Entries(), descriptions);
    SaveWindowPicture("main-window-real-wmi");
    for (std::size_t picked = 0; picked < expected.size(); ++picked) {
        // Adapters sharing a description are shown one after the other: the last one stays.
        std::vector<std::string> servers;
        for (const ExpectedAdapter& adapter : expected) {
            if (adapter.description == expected[picked].description) servers = adapter.servers;
        }
        ASSERT_THAT(Pick(static_cast<int>(picked)), IsEmpty());
        EXPECT_EQ(Text1(), servers.size() >= 1 ? servers[0] : "") << descriptions[picked];
        EXPECT_EQ(Text2(), servers.size() >= 2 ? servers[1] : "") << descriptions[picked];
    }
    Close();
}

}  // namespace
}  // namespace quorvel::e2e
