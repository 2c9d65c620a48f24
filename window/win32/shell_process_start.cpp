#include "window/win32/shell_process_start.h"

#include <stdexcept>

#include "management/management_error.h"
#include "management/utf16.h"
#include "window/win32/unique_handles.h"

namespace quorvel::win32 {
namespace {

// The system's text for a Win32 error code, without its line break.
std::string SystemMessage(DWORD error) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text = length != 0 ? std::wstring(buffer, length) : std::wstring();
    LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r')) text.pop_back();
    return text.empty() ? std::string("The program cannot be started.") : ToUtf8(text);
}

// An empty answer is an error: the program would then be looked for relative to the current
// drive.
std::wstring QueryWindowsDirectory() {
    std::wstring directory(MAX_PATH, L'\0');
    UINT length = GetWindowsDirectoryW(directory.data(), static_cast<UINT>(directory.size()));
    if (length >= directory.size()) {
        directory.resize(length);
        length = GetWindowsDirectoryW(directory.data(), static_cast<UINT>(directory.size()));
    }
    if (length == 0 || length >= directory.size()) {
        const DWORD error = GetLastError();
        throw std::runtime_error(SystemMessage(error) + " (" +
                                 FormatHresult(HRESULT_FROM_WIN32(error)) + ")");
    }
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
    if (!CreateProcessW(arguments.applicationName.c_str(), arguments.commandLine.data(), nullptr,
                        nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        const DWORD error = GetLastError();
        throw std::runtime_error(SystemMessage(error) + " (" +
                                 FormatHresult(HRESULT_FROM_WIN32(error)) + ")");
    }
    // Not waited for: both handles go at once.
    UniqueKernelHandle processHandle(process.hProcess);
    UniqueKernelHandle threadHandle(process.hThread);
}

std::string ShellProcessStart::WindowsDirectory() const { return ToUtf8(QueryWindowsDirectory()); }

void ShellProcessStart::StartMinimized(const std::string& programPath,
                                       const std::string& commandLine) {
    StartProcess(MinimizedStartArguments(programPath, commandLine));
}

}  // namespace quorvel::win32
