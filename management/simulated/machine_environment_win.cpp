#include <windows.h>

#include <string>

#include "machine_environment.h"

namespace quorvel::simulated {

std::optional<std::filesystem::path> MachineFileFromEnvironment() {
    // Read in UTF-16: the name may hold any character.
    constexpr wchar_t kName[] = L"QUORVEL_MACHINE";
    std::wstring value(GetEnvironmentVariableW(kName, nullptr, 0), L'\0');
    while (!value.empty()) {
        const DWORD length =
            GetEnvironmentVariableW(kName, value.data(), static_cast<DWORD>(value.size()));
        if (length < value.size()) {
            value.resize(length);
            break;
        }
        value.resize(length);  // grown between the two calls
    }
    if (value.empty()) return std::nullopt;
    return std::filesystem::path(value);
}

}  // namespace quorvel::simulated
