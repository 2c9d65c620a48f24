// How an error text quotes a piece of a machine file: bounded, on one line, well-formed UTF-8.
#include <string>

#include <gtest/gtest.h>

#include "machine_format.h"

namespace quorvel::test {
namespace {

struct Quoted {
    std::string input;
    std::size_t most;
    std::string expected;
};

TEST(QuoteInputTest, BoundsEscapesAndNeverSplitsACharacter) {
    const Quoted cases[] = {
        {"Wired", 200, "Wired"},
        {"abcdef", 3, "abc..."},
        {"abc", 3, "abc"},
        // A character that crosses the bound is kept whole.
        {"\xC3\xA9\xC3\xA9\xC3\xA9", 3, "\xC3\xA9\xC3\xA9..."},
        {"\xE6\x9C\x89\xE7\xBA\xBF", 4, "\xE6\x9C\x89\xE7\xBA\xBF"},
        {std::string("a\0b\n\x7F", 5), 200, "a\\u0000b\\u000A\\u007F"},
        // Bytes that start no well-formed character: stray, surrogate, cut short at the end.
        {"\xFF", 200, "\\xFF"},
        {"\xED\xA0\x80", 200, "\\xED\\xA0\\x80"},
        {"a\xE4\xB8", 200, "a\\xE4\\xB8"},
        {"\xF4\x90\x80\x80", 200, "\\xF4\\x90\\x80\\x80"},
        {"\xF0\x9F\x98\x80", 200, "\xF0\x9F\x98\x80"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(simulated::QuoteInput(c.input, c.most), c.expected)
            << ::testing::PrintToString(c.input);
}

}  // namespace
}  // namespace quorvel::test
