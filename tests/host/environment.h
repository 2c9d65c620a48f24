// Reads an environment variable in the tests. Not through std::getenv: MSVC deprecates it
// (C4996, an error with /WX), and on Windows it would pass the value through the ANSI code page.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#ifdef _WIN32
#include <windows.h>
#else
#include <cstdlib>
#endif

namespace quorvel::test {

// The value of the variable `name` (ASCII) as a path, or nothing when it is unset.
inline std::optional<std::filesystem::path> EnvironmentPath(const char* name) {
#ifdef _WIN32
    // The C runtime's own copy of the environment follows the process's: _wputenv_s sets both.
    const std::wstring wideName = std::filesystem::path(name).wstring();
    std::wstring value(GetEnvironmentVariableW(wideName.c_str(), nullptr, 0), L'\0');
    if (value.empty()) return std::nullopt;
    value.resize(
        GetEnvironmentVariableW(wideName.c_str(), value.data(), static_cast<DWORD>(value.size())));
    return std::filesystem::path(value);
#else
    const char* const value = std::getenv(name);
    if (value == nullptr) return std::nullopt;
    return std::filesystem::path(value);
#endif
}

}  // namespace quorvel::test
