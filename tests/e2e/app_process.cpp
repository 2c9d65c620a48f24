#include "tests/e2e/app_process.h"

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

AppProcess::AppProcess(const std::wstring& program,
                       const std::optional<std::filesystem::path>& machineFile) {
    // The child inherits the driver's environment; the driver runs one program at a time.
    if (!SetEnvironmentVariableW(L"QUORVEL_MACHINE",
                                 machineFile ? machineFile->c_str() : nullptr) &&
        machineFile) {
        throw std::runtime_error("cannot set QUORVEL_MACHINE");
    }
    const std::filesystem::path path = ProgramDirectory() / program;
    std::wstring commandLine = L"\"" + path.wstring() + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process)) {
        throw std::runtime_error("cannot start " + path.string() + " (error " +
                                 std::to_string(GetLastError()) + ")");
    }
    CloseHandle(process.hThread);
    process_.reset(process.hProcess);
    id_ = process.dwProcessId;
}

AppProcess::~AppProcess() {
    if (Running()) {
        TerminateProcess(process_.get(), 1);
        WaitForSingleObject(process_.get(), static_cast<DWORD>(kDeadline.count()));
    }
}

bool AppProcess::Running() const { return WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT; }

std::optional<DWORD> AppProcess::WaitForExit(std::chrono::milliseconds deadline) const {
    if (WaitForSingleObject(process_.get(), static_cast<DWORD>(deadline.count())) != WAIT_OBJECT_0)
        return std::nullopt;
    DWORD code = 0;
    GetExitCodeProcess(process_.get(), &code);
    return code;
}

}  // namespace quorvel::e2e
