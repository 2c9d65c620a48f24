#include "management/wql.h"

#include <gtest/gtest.h>

namespace quorvel {
namespace {

TEST(EscapeWqlString, LeavesPlainTextAlone) {
    EXPECT_EQ(EscapeWqlString(""), "");
    EXPECT_EQ(EscapeWqlString("Intel(R) Ethernet Connection I219-V #2"),
              "Intel(R) Ethernet Connection I219-V #2");
    EXPECT_EQ(EscapeWqlString("网卡 \"A\""), "网卡 \"A\"");
}

TEST(EscapeWqlString, EscapesApostropheAndBackslash) {
    EXPECT_EQ(EscapeWqlString("Bob's adapter"), "Bob\\'s adapter");
    EXPECT_EQ(EscapeWqlString("a\\b"), "a\\\\b");
    EXPECT_EQ(EscapeWqlString("\\'"), "\\\\\\'");
    EXPECT_EQ(EscapeWqlString("x' or IPEnabled=TRUE or Description='"),
              "x\\' or IPEnabled=TRUE or Description=\\'");
}

}  // namespace
}  // namespace quorvel
