#include "shell_process_start.h"

#include "platform/handles.h"
#include "platform/utf16.h"
#include "platform/win32_error.h"
#include "window/service_constants.h"

namespace quorvel::win32 {
namespace {

// The shared Windows directory. GetWindowsDirectoryW answers a per-user folder on a Remote
// Desktop host for programs not marked Terminal Server aware, and the user can write there. An
// empty answer is an error: the program would then be looked for relative to the current drive.
std::wstring QueryWindowsDirectory() {
    std::wstring directory(MAX_PATH, L'\0');
    UINT length = GetSystemWindowsDirectoryW(directory.data(), static_cast<UINT>(directory.size()));
    if (length >= directory.size()) {
        directory.resize(length);
        length = GetSystemWindowsDirectoryW(directory.data(), static_cast<UINT>(directory.size()));
    }
    platform::ThrowLastErrorIf(length == 0 || length >= directory.size());
    directory.resize(length);
    return directory;
}

}  // namespace

ProcessStartArguments MinimizedStartArguments(const std::string& programPath,
                                              const std::string& commandLine) {
    const std::wstring text = ToUtf16(commandLine);
    std::vector<wchar_t> writable(text.begin(), text.end());
    writable.push_back(L'\0');
    return ProcessStartArguments{ToUtf16(programPath), std::move(writable), STARTF_USESHOWWINDOW,
                                 SW_SHOWMINIMIZED};
}

void StartProcess(ProcessStartArguments arguments) {
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = arguments.startupFlags;
    startup.wShowWindow = arguments.showWindow;
    PROCESS_INFORMATION process{};
    platform::ThrowLastErrorIf(!CreateProcessW(arguments.applicationName.c_str(),
                                               arguments.commandLine.data(), nullptr, nullptr,
                                               FALSE, 0, nullptr, nullptr, &startup, &process));
    // Not waited for: both handles go at once.
    const platform::UniqueHandle processHandle(process.hProcess);
    const platform::UniqueHandle threadHandle(process.hThread);
}

std::string ShellProcessStart::WindowsDirectory() const { return ToUtf8(QueryWindowsDirectory()); }

void ShellProcessStart::StartMinimized(const std::string& programPath,
                                       const std::string& commandLine) {
    StartProcess(MinimizedStartArguments(programPath, commandLine));
}

}  // namespace quorvel::win32
