// Reads an environment variable in the tests. Not through std::getenv: MSVC deprecates it
// (C4996, an error with /WX), and on Windows it would pass the value through the ANSI code page.
#pragma once

#include <filesystem>
#include <optional>

namespace quorvel::test {

// The value of the variable `name` (ASCII) as a path, or nothing when it is unset.
std::optional<std::filesystem::path> EnvironmentPath(const char* name);

}  // namespace quorvel::test
