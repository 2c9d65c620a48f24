#include "window/win32/shell_process_start.h"

#include "window/win32/unique_handles.h"
#include "management/utf16.h"

namespace quorvel::win32 {
namespace {

std::wstring WindowsDirectory() {
    std::wstring directory(MAX_PATH, L'\0');
    UINT length = GetWindowsDirectoryW(directory.data(), static_cast<UINT>(directory.size()));
    if (length >= directory.size()) {
        directory.resize(length);
        length = GetWindowsDirectoryW(directory.data(), static_cast<UINT>(directory.size()));
    }
    directory.resize(length);
    return directory;
}

}  // namespace

ProcessStartArguments ShellStartArguments(const std::string& commandLine) {
    const std::wstring text = ToUtf16(commandLine);
    std::vector<wchar_t> writable(text.begin(), text.end());
    writable.push_back(L'\0');
    return ProcessStartArguments{WindowsDirectory() + L"\\explorer.exe", std::move(writable),
                                 STARTF_USESHOWWINDOW, SW_SHOWMINIMIZED};
}

void ShellProcessStart::StartMinimized(const std::string& commandLine) {
    ProcessStartArguments arguments = ShellStartArguments(commandLine);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = arguments.startupFlags;
    startup.wShowWindow = arguments.showWindow;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(arguments.applicationName.c_str(), arguments.commandLine.data(), nullptr,
                        nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        return;
    }
    // Not waited for: both handles go at once.
    UniqueKernelHandle processHandle(process.hProcess);
    UniqueKernelHandle threadHandle(process.hThread);
}

}  // namespace quorvel::win32
