#include "tests/support/environment.h"

#include <cstdlib>

namespace quorvel::test {

std::optional<std::filesystem::path> EnvironmentPath(const char* name) {
    const char* const value = std::getenv(name);
    if (value == nullptr) return std::nullopt;
    return std::filesystem::path(value);
}

}  // namespace quorvel::test
