// Starts the help command's process: the platform's shell program handed a URL.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "window/ports.h"

namespace quorvel::win32 {

// What CreateProcessW is given.
struct ProcessStartArguments {
    // The shell program by its full path in the Windows directory. Left to the command line, a bare
    // "explorer.exe" would be looked for in this program's own folder first, so a file planted
    // there would run instead.
    std::wstring applicationName;
    // Writable, zero-terminated: CreateProcessW may change it.
    std::vector<wchar_t> commandLine;
    DWORD startupFlags;
    WORD showWindow;
};

ProcessStartArguments ShellStartArguments(const std::string& commandLine);

// Starts the process and lets it run on its own. A start that fails throws platform::Error with
// the platform's text and code, which the window reports like any other failed command.
void StartProcess(ProcessStartArguments arguments);

class ShellProcessStart final : public ProcessStartPort {
public:
    void StartMinimized(const std::string& commandLine) override;
};

}  // namespace quorvel::win32
