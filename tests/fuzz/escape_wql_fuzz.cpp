// EscapeWqlString: the result holds no bare apostrophe or backslash, and reading its escapes
// back gives the text.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "management/wql.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::string escaped = quorvel::EscapeWqlString(text);
    std::string unescaped;
    for (std::size_t i = 0; i < escaped.size(); ++i) {
        quorvel::fuzz::Check(escaped[i] != '\'', "no bare apostrophe");
        if (escaped[i] == '\\') {
            quorvel::fuzz::Check(
                i + 1 < escaped.size() && (escaped[i + 1] == '\\' || escaped[i + 1] == '\''),
                "a backslash starts one of the two escapes");
            ++i;
        }
        unescaped += escaped[i];
    }
    quorvel::fuzz::Check(unescaped == text, "the escapes read back give the text");
    return 0;
}
