// A program the tests (and the bench) start as a process of their own, owned until it ends.
#pragma once

#include <windows.h>

#include <chrono>
#include <optional>
#include <string>

#include "platform/handles.h"

namespace quorvel::test {

// What the child gets as stdin, stdout and stderr; the child inherits these three and nothing
// else that is not inheritable.
struct StandardHandles {
    HANDLE input;
    HANDLE output;
    HANDLE error;
};

class ChildProcess {
public:
    // Starts `commandLine`; `application` names the program's file, or is empty to take it from
    // the command line. Throws platform::Error naming the program when it cannot start.
    ChildProcess(const std::wstring& application, std::wstring commandLine,
                 const std::optional<StandardHandles>& standardHandles = std::nullopt,
                 DWORD creationFlags = 0);
    // A child still running here is killed, so that a hung one cannot hold the run.
    ~ChildProcess();
    ChildProcess(ChildProcess&&) noexcept = default;
    ChildProcess& operator=(ChildProcess&&) noexcept = default;

    DWORD Id() const { return id_; }
    HANDLE Handle() const { return process_.get(); }
    bool Running() const;
    // Waits for the end within `deadline`; the exit code, or nothing if it still runs.
    std::optional<DWORD> WaitForExit(std::chrono::milliseconds deadline) const;
    // Ends it at once, if it still runs, and waits up to `deadline` for the end.
    void Kill(std::chrono::milliseconds deadline) const;

private:
    platform::UniqueHandle process_;
    DWORD id_ = 0;
};

}  // namespace quorvel::test
