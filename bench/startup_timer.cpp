// Times quorvel.exe from process start to its visible window, side by side with Wine's wmic
// running the same adapter query to its end, and reads quorvel.exe's peak working set. It runs as
// one process that starts both in turn, so Wine's own start-up cost is paid once and shared.
//   quorvel_startup_timer RUNS
// quorvel.exe is looked for next to this program. Prints one line per run, then key=value lines
// for bench/run; exits with 1 as soon as a start fails (message box, early exit, no window).
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <iterator>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr wchar_t kWindowTitle[] = L"Quorvel";
constexpr wchar_t kMessageBoxClass[] = L"#32770";
// The static text of a message box carries this control id.
constexpr int kMessageBoxTextId = 0xFFFF;
constexpr wchar_t kWmicCommand[] =
    L"wmic.exe path Win32_NetworkAdapterConfiguration get Description,DNSServerSearchOrder";
constexpr DWORD kStartDeadlineMs = 30'000;
constexpr DWORD kCloseDeadlineMs = 5'000;
constexpr DWORD kIdleDeadlineMs = 5'000;

class StartFailure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class UniqueHandle {
public:
    explicit UniqueHandle(HANDLE handle = nullptr) : handle_(handle) {}
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        std::swap(handle_, other.handle_);
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    ~UniqueHandle() {
        if (handle_ && handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
    }
    HANDLE get() const { return handle_; }

private:
    HANDLE handle_;
};

struct Process {
    UniqueHandle handle;
    DWORD id = 0;
};

std::string Utf8(const std::wstring& text) {
    if (text.empty()) return {};
    const int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                           nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(),
                        length, nullptr, nullptr);
    return result;
}

std::string LastErrorText(const char* what) {
    return std::string(what) + " failed with error " + std::to_string(GetLastError());
}

class Stopwatch {
public:
    Stopwatch() {
        QueryPerformanceFrequency(&frequency_);
        QueryPerformanceCounter(&start_);
    }
    double ElapsedMs() const {
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        return static_cast<double>(now.QuadPart - start_.QuadPart) * 1000.0 /
               static_cast<double>(frequency_.QuadPart);
    }

private:
    LARGE_INTEGER frequency_{};
    LARGE_INTEGER start_{};
};

std::wstring QuorvelPath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) throw std::runtime_error(LastErrorText("GetModuleFileNameW"));
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    path.resize(path.find_last_of(L'\\') + 1);
    return path + L"quorvel.exe";
}

// stdin and stdout of a started program: the null device, inheritable.
UniqueHandle OpenNullDevice() {
    SECURITY_ATTRIBUTES inheritable{sizeof(inheritable), nullptr, TRUE};
    UniqueHandle device(CreateFileW(L"NUL", GENERIC_READ | GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, &inheritable, OPEN_EXISTING,
                                    0, nullptr));
    if (device.get() == INVALID_HANDLE_VALUE)
        throw std::runtime_error(LastErrorText("CreateFileW"));
    return device;
}

Process Start(const wchar_t* application, std::wstring commandLine, HANDLE nullDevice) {
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    if (nullDevice) {
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = nullDevice;
        startup.hStdOutput = nullDevice;
        startup.hStdError = nullDevice;
    }
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(application, commandLine.data(), nullptr, nullptr, nullDevice != nullptr, 0,
                        nullptr, nullptr, &startup, &started)) {
        throw std::runtime_error(LastErrorText("CreateProcessW"));
    }
    CloseHandle(started.hThread);
    return {UniqueHandle(started.hProcess), started.dwProcessId};
}

struct FoundWindows {
    DWORD processId;
    HWND main = nullptr;
    HWND messageBox = nullptr;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM found) {
    auto& windows = *reinterpret_cast<FoundWindows*>(found);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != windows.processId || !IsWindowVisible(window)) return TRUE;
    wchar_t title[std::size(kWindowTitle) + 1]{};
    GetWindowTextW(window, title, static_cast<int>(std::size(title)));
    if (std::wcscmp(title, kWindowTitle) != 0) return TRUE;
    wchar_t className[std::size(kMessageBoxClass) + 1]{};
    GetClassNameW(window, className, static_cast<int>(std::size(className)));
    if (std::wcscmp(className, kMessageBoxClass) == 0) {
        windows.messageBox = window;
    } else {
        windows.main = window;
    }
    return TRUE;
}

std::wstring MessageBoxText(HWND messageBox) {
    wchar_t text[1024]{};
    GetDlgItemTextW(messageBox, kMessageBoxTextId, text, static_cast<int>(std::size(text)));
    return text;
}

void EndProcess(const Process& process, HWND window) {
    if (window && PostMessageW(window, WM_CLOSE, 0, 0) &&
        WaitForSingleObject(process.handle.get(), kCloseDeadlineMs) == WAIT_OBJECT_0) {
        return;
    }
    TerminateProcess(process.handle.get(), 1);
    WaitForSingleObject(process.handle.get(), kCloseDeadlineMs);
}

// Null, with the reason in `failure`, when the process cannot be read.
std::optional<size_t> PeakWorkingSet(DWORD processId, std::string& failure) {
    const UniqueHandle process(
        OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId));
    if (!process.get()) {
        failure = LastErrorText("OpenProcess");
        return std::nullopt;
    }
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof(counters);
    if (!GetProcessMemoryInfo(process.get(), &counters, sizeof(counters))) {
        failure = LastErrorText("GetProcessMemoryInfo");
        return std::nullopt;
    }
    return counters.PeakWorkingSetSize;
}

struct QuorvelRun {
    double windowMs;
    size_t peakWorkingSet;
};

QuorvelRun RunQuorvel(const std::wstring& path) {
    const Stopwatch stopwatch;
    const Process process = Start(path.c_str(), L"\"" + path + L"\"", nullptr);
    FoundWindows windows{process.id};
    for (;;) {
        EnumWindows(&CollectWindow, reinterpret_cast<LPARAM>(&windows));
        if (windows.messageBox) {
            const std::string text = Utf8(MessageBoxText(windows.messageBox));
            EndProcess(process, nullptr);
            throw StartFailure("quorvel.exe showed a message box: " + text);
        }
        if (windows.main) break;
        if (WaitForSingleObject(process.handle.get(), 1) == WAIT_OBJECT_0) {
            DWORD code = 0;
            GetExitCodeProcess(process.handle.get(), &code);
            throw StartFailure("quorvel.exe ended with code " + std::to_string(code) +
                               " before its window appeared");
        }
        if (stopwatch.ElapsedMs() > kStartDeadlineMs) {
            EndProcess(process, nullptr);
            throw StartFailure("quorvel.exe showed no window within 30 s");
        }
    }
    const double windowMs = stopwatch.ElapsedMs();
    // The peak once the window has painted and the program waits for input.
    WaitForInputIdle(process.handle.get(), kIdleDeadlineMs);
    std::string failure;
    const std::optional<size_t> peak = PeakWorkingSet(process.id, failure);
    EndProcess(process, windows.main);
    if (!peak) throw std::runtime_error(failure);
    return {windowMs, *peak};
}

double RunWmic(HANDLE nullDevice) {
    const Stopwatch stopwatch;
    const Process process = Start(nullptr, kWmicCommand, nullDevice);
    if (WaitForSingleObject(process.handle.get(), kStartDeadlineMs) != WAIT_OBJECT_0) {
        EndProcess(process, nullptr);
        throw StartFailure("wmic.exe did not end within 30 s");
    }
    const double elapsed = stopwatch.ElapsedMs();
    DWORD code = 0;
    GetExitCodeProcess(process.handle.get(), &code);
    if (code != 0) throw StartFailure("wmic.exe ended with code " + std::to_string(code));
    return elapsed;
}

template <typename T>
double Median(std::vector<T> values) {
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    if (values.size() % 2 == 1) return static_cast<double>(values[middle]);
    return (static_cast<double>(values[middle - 1]) + static_cast<double>(values[middle])) / 2.0;
}

std::optional<int> ParseRuns(const char* text) {
    int runs = 0;
    const char* end = text + std::strlen(text);
    const auto [stop, error] = std::from_chars(text, end, runs);
    if (error != std::errc() || stop != end || runs < 1) return std::nullopt;
    return runs;
}

int Measure(int runs) {
    const std::wstring quorvel = QuorvelPath();
    const UniqueHandle nullDevice = OpenNullDevice();

    // The first start of each loads what later starts find cached; it is not counted.
    RunQuorvel(quorvel);
    RunWmic(nullDevice.get());

    std::vector<double> quorvelMs, wmicMs;
    std::vector<size_t> peaks;
    for (int run = 1; run <= runs; ++run) {
        const QuorvelRun started = RunQuorvel(quorvel);
        const double wmic = RunWmic(nullDevice.get());
        quorvelMs.push_back(started.windowMs);
        peaks.push_back(started.peakWorkingSet);
        wmicMs.push_back(wmic);
        std::printf(
            "run %2d: quorvel.exe window %7.1f ms, peak working set %zu bytes; wmic %7.1f ms\n",
            run, started.windowMs, started.peakWorkingSet, wmic);
        std::fflush(stdout);
    }
    const double quorvelMedian = Median(quorvelMs);
    const double wmicMedian = Median(wmicMs);
    std::printf("runs=%d\n", runs);
    std::printf("window_ms_median=%.1f\n", quorvelMedian);
    std::printf("wmic_ms_median=%.1f\n", wmicMedian);
    std::printf("ratio=%.3f\n", quorvelMedian / wmicMedian);
    std::printf("peak_working_set_max=%zu\n", *std::max_element(peaks.begin(), peaks.end()));
    std::printf("peak_working_set_median=%.0f\n", Median(peaks));
    return 0;
}

}  // namespace

int main(int argc, char* argv[]) {
    const std::optional<int> runs = argc == 2 ? ParseRuns(argv[1]) : std::nullopt;
    if (!runs) {
        std::fprintf(stderr, "usage: quorvel_startup_timer RUNS\n");
        return 2;
    }
    try {
        return Measure(*runs);
    } catch (const StartFailure& failure) {
        std::printf("failure=%s\n", failure.what());
    } catch (const std::exception& error) {
        std::printf("error=%s\n", error.what());
    }
    return 1;
}
