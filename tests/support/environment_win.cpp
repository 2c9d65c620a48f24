#include "tests/support/environment.h"

#include <windows.h>

#include <string>

namespace quorvel::test {

std::optional<std::filesystem::path> EnvironmentPath(const char* name) {
    // The C runtime's own copy of the environment follows the process's: _wputenv_s sets both.
    const std::wstring wideName = std::filesystem::path(name).wstring();
    std::wstring value(GetEnvironmentVariableW(wideName.c_str(), nullptr, 0), L'\0');
    if (value.empty()) return std::nullopt;
    value.resize(
        GetEnvironmentVariableW(wideName.c_str(), value.data(), static_cast<DWORD>(value.size())));
    return std::filesystem::path(value);
}

}  // namespace quorvel::test
