// ResultMessage for any 32-bit value: one line of printable ASCII, the same each time, and the
// default text for every value far beyond the codes the method returns.
#include <cstddef>
#include <cstdint>
#include <string>

#include "management/result_message.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < size && i < 4; ++i) value |= std::uint32_t{data[i]} << (8 * i);
    const std::string message = quorvel::ResultMessage(value);
    quorvel::fuzz::Check(!message.empty(), "a text for every value");
    for (const char c : message)
        quorvel::fuzz::Check(c >= 0x20 && c < 0x7F, "printable ASCII on one line");
    quorvel::fuzz::Check(quorvel::ResultMessage(value) == message, "the same text each time");
    // A table looked up by a truncated value would answer here.
    if (value > 0xFF) quorvel::fuzz::Check(message == "Unknown Error", "no code beyond 255");
    return 0;
}
