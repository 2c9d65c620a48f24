#include "app_process.h"

#include <stdexcept>
#include <string>

namespace quorvel::e2e {

std::filesystem::path ProgramDirectory() {
    std::wstring path(MAX_PATH, L'\0');
    while (true) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) throw std::runtime_error("GetModuleFileNameW failed");
        if (length < path.size()) {
            path.resize(length);
            return std::filesystem::path(path).parent_path();
        }
        path.resize(path.size() * 2);
    }
}

std::filesystem::path OutputDirectory() {
    const std::filesystem::path directory = ProgramDirectory().parent_path() / "e2e";
    std::filesystem::create_directories(directory);
    return directory;
}

namespace {

test::ChildProcess Start(const std::wstring& program,
                         const std::optional<std::filesystem::path>& machineFile) {
    // The child inherits the driver's environment; the driver runs one program at a time.
    if (!SetEnvironmentVariableW(L"QUORVEL_MACHINE",
                                 machineFile ? machineFile->c_str() : nullptr) &&
        machineFile) {
        throw std::runtime_error("cannot set QUORVEL_MACHINE");
    }
    const std::filesystem::path path = ProgramDirectory() / program;
    return test::ChildProcess(path.wstring(), L"\"" + path.wstring() + L"\"");
}

}  // namespace

AppProcess::AppProcess(const std::wstring& program,
                       const std::optional<std::filesystem::path>& machineFile)
    : process_(Start(program, machineFile)) {}

}  // namespace quorvel::e2e
