// Starts the help command's process on Win32: the program the caller names, minimized.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "window/ports.h"

namespace quorvel::win32 {

// What CreateProcessW is given.
struct ProcessStartArguments {
    // The program's full path: given, CreateProcessW searches no folder for it.
    std::wstring applicationName;
    // Writable, zero-terminated: CreateProcessW may change it.
    std::vector<wchar_t> commandLine;
    DWORD startupFlags;
    WORD showWindow;
};

ProcessStartArguments MinimizedStartArguments(const std::string& programPath,
                                              const std::string& commandLine);

// Starts the process and lets it run on its own. A start that fails throws platform::Error with
// the platform's text and code, which the window reports like any other failed command.
void StartProcess(ProcessStartArguments arguments);

class ShellProcessStart final : public ProcessStartPort {
public:
    // GetSystemWindowsDirectoryW's answer; throws platform::Error when it has none.
    std::string WindowsDirectory() const override;
    void StartMinimized(const std::string& programPath, const std::string& commandLine) override;
};

}  // namespace quorvel::win32
