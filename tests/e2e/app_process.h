// One run of a shipped program, started as a process of its own for one scenario.
#pragma once

#include <windows.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>

#include "platform/handles.h"
#include "tests/support/child_process.h"

namespace quorvel::e2e {

using namespace std::chrono_literals;

// How long any one step may take before the scenario counts the program as hung.
inline constexpr std::chrono::milliseconds kDeadline = 10s;

// The folder of this driver, where the programs it drives are built too.
std::filesystem::path ProgramDirectory();

// Where the driver leaves its machine files and screenshots: build/<preset>/e2e.
std::filesystem::path OutputDirectory();

class AppProcess {
public:
    // Starts `program` from the driver's folder. `machineFile` goes to QUORVEL_MACHINE; without
    // one the variable is removed, so the program uses what it uses by default.
    AppProcess(const std::wstring& program,
               const std::optional<std::filesystem::path>& machineFile);
    // A program still running here belongs to a failed scenario: it is killed, so that a hung
    // window cannot hold the run.
    ~AppProcess() { process_.Kill(kDeadline); }
    AppProcess(const AppProcess&) = delete;
    AppProcess& operator=(const AppProcess&) = delete;

    DWORD Id() const { return process_.Id(); }
    bool Running() const { return process_.Running(); }
    // Waits for the end within the deadline; the exit code, or nothing if it still runs.
    std::optional<DWORD> WaitForExit(std::chrono::milliseconds deadline = kDeadline) const {
        return process_.WaitForExit(deadline);
    }

private:
    test::ChildProcess process_;
};

}  // namespace quorvel::e2e
