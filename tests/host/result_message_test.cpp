#include "management/result_message.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <limits>
#include <ostream>
#include <string>
#include <string_view>

namespace quorvel {
namespace {

struct Case {
    std::uint32_t value;
    const char* text;
};

// Written out by hand, not taken from the program's own table, so that a slip in one text shows.
constexpr std::array<Case, 37> kTable{{
    {1, "Successful completion. Reboot is required."},
    {64, "Method not supported on this platform."},
    {65, "Unknown failure."},
    {66, "Invalid subnet mask."},
    {67, "An error occurred while processing an instance that is returned."},
    {68, "Invalid input parameter."},
    {69, "More than five gateways specified."},
    {70, "Invalid IP address."},
    {71, "Invalid gateway IP address."},
    {72, "An error occurred while accessing the registry for the requested information."},
    {73, "Invalid domain name."},
    {74, "Invalid host name."},
    {75, "No primary or secondary WINS server defined."},
    {76, "Invalid file."},
    {77, "Invalid system path."},
    {78, "File copy failed."},
    {79, "Invalid security parameter."},
    {80, "Unable to configure TCP/IP service."},
    {81, "Unable to configure DHCP service."},
    {82, "Unable to renew DHCP lease."},
    {83, "Unable to release DHCP lease."},
    {84, "IP not enabled on adapter."},
    {85, "IPX not enabled on adapter."},
    {86, "Frame or network number bounds error."},
    {87, "Invalid frame type."},
    {88, "Invalid network number."},
    {89, "Duplicate network number."},
    {90, "Parameter out of bounds."},
    {91, "Access denied."},
    {92, "Out of memory."},
    {93, "Already exists."},
    {94, "Path, file, or object not found."},
    {95, "Unable to notify service."},
    {96, "Unable to notify DNS service."},
    {97, "Interface not configurable."},
    {98, "Not all DHCP leases can be released or renewed."},
    {100, "DHCP not enabled on adapter."},
}};

constexpr char kDefault[] = "Unknown Error";

void PrintTo(const Case& c, std::ostream* out) { *out << c.value; }

class ResultMessageTest : public testing::TestWithParam<Case> {};

TEST_P(ResultMessageTest, GivesTheTextOfItsCode) {
    EXPECT_EQ(ResultMessage(GetParam().value), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Table, ResultMessageTest, testing::ValuesIn(kTable));

INSTANTIATE_TEST_SUITE_P(Default, ResultMessageTest,
                         testing::Values(Case{0, kDefault}, Case{2, kDefault}, Case{63, kDefault},
                                         Case{99, kDefault}, Case{101, kDefault},
                                         Case{std::numeric_limits<std::uint32_t>::max(),
                                              kDefault}));

TEST(ResultMessage, EveryValueOutsideTheTableGivesTheDefault) {
    // Far past the last code, so that a code added to the program's table shows too.
    for (std::uint32_t value = 0; value <= 4096; ++value) {
        bool listed = false;
        for (const Case& row : kTable) listed = listed || row.value == value;
        if (!listed) {
            EXPECT_EQ(ResultMessage(value), kDefault) << value;
        }
    }
}

TEST(ResultMessage, EveryCodeOfTheRunHasItsOwnFullStoppedText) {
    // 1, 64 to 98 and 100 are listed; each text differs from the default and from its neighbour.
    std::string previous;
    for (std::uint32_t value = 64; value <= 98; ++value) {
        const std::string text = ResultMessage(value);
        EXPECT_NE(text, "Unknown Error") << value;
        EXPECT_NE(text, previous) << value;
        EXPECT_EQ(text.back(), '.') << value;
        previous = text;
    }
}

TEST(ResultMessage, DefaultIsExactlyThirteenCharacters) {
    const std::string text = ResultMessage(12345);
    EXPECT_EQ(text.size(), 13u);
    EXPECT_EQ(text, "Unknown Error");
}

}  // namespace
}  // namespace quorvel
