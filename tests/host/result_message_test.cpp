#include "management/result_message.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

namespace quorvel {
namespace {

struct Case {
    std::uint32_t value;
    const char* text;
};

class ResultMessageTest : public testing::TestWithParam<Case> {};

TEST_P(ResultMessageTest, GivesTheTextOfItsCode) {
    EXPECT_EQ(ResultMessage(GetParam().value), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ResultMessageTest,
    testing::Values(Case{1, "Successful completion. Reboot is required."},
                    Case{64, "Method not supported on this platform."},
                    Case{70, "Invalid IP address."}, Case{84, "IP not enabled on adapter."},
                    Case{91, "Access denied."}, Case{94, "Path, file, or object not found."},
                    Case{98, "Not all DHCP leases can be released or renewed."},
                    Case{100, "DHCP not enabled on adapter."}, Case{0, "Unknown Error"},
                    Case{2, "Unknown Error"}, Case{63, "Unknown Error"}, Case{99, "Unknown Error"},
                    Case{101, "Unknown Error"},
                    Case{std::numeric_limits<std::uint32_t>::max(), "Unknown Error"}));

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
