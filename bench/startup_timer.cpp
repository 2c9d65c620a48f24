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
#include <chrono>
#include <cstdio>
#include <cstring>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "platform/handles.h"
#include "platform/utf16.h"
#include "platform/win32_error.h"
#include "platform/window_text.h"
#include "tests/support/child_process.h"

namespace {

using quorvel::test::ChildProcess;
using namespace std::chrono_literals;

constexpr char kWindowTitle[] = "Quorvel";
constexpr wchar_t kMessageBoxClass[] = L"#32770";
// The static text of a message box carries this control id.
constexpr int kMessageBoxTextId = 0xFFFF;
constexpr wchar_t kWmicCommand[] =
    L"wmic.exe path Win32_NetworkAdapterConfiguration get Description,DNSServerSearchOrder";
constexpr DWORD kStartDeadlineMs = 30'000;
constexpr std::chrono::milliseconds kStartDeadline{kStartDeadlineMs};
constexpr std::chrono::milliseconds kCloseDeadline = 5s;
constexpr DWORD kIdleDeadlineMs = 5'000;

class StartFailure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// "<what> failed: <text> (0x<HRESULT>)" for the call that has just failed.
std::string LastErrorText(const char* what) {
    return std::string(what) +
           " failed: " + quorvel::platform::ErrorFor(quorvel::platform::LastErrorHresult()).what();
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
quorvel::platform::UniqueFileHandle OpenNullDevice() {
    SECURITY_ATTRIBUTES inheritable{sizeof(inheritable), nullptr, TRUE};
    quorvel::platform::UniqueFileHandle device(
        CreateFileW(L"NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    &inheritable, OPEN_EXISTING, 0, nullptr));
    if (!device) throw std::runtime_error(LastErrorText("CreateFileW"));
    return device;
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
    if (quorvel::platform::WindowText(window) != kWindowTitle) return TRUE;
    if (quorvel::platform::ClassName(window) == kMessageBoxClass) {
        windows.messageBox = window;
    } else {
        windows.main = window;
    }
    return TRUE;
}

std::string MessageBoxText(HWND messageBox) {
    return quorvel::platform::WindowText(GetDlgItem(messageBox, kMessageBoxTextId));
}

void EndProcess(const ChildProcess& process, HWND window) {
    if (window && PostMessageW(window, WM_CLOSE, 0, 0) &&
        process.WaitForExit(kCloseDeadline).has_value()) {
        return;
    }
    process.Kill(kCloseDeadline);
}

// Null, with the reason in `failure`, when the process cannot be read.
std::optional<size_t> PeakWorkingSet(DWORD processId, std::string& failure) {
    const quorvel::platform::UniqueHandle process(
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
    const ChildProcess process(path, L"\"" + path + L"\"");
    FoundWindows windows{process.Id()};
    for (;;) {
        EnumWindows(&CollectWindow, reinterpret_cast<LPARAM>(&windows));
        if (windows.messageBox) {
            const std::string text = MessageBoxText(windows.messageBox);
            EndProcess(process, nullptr);
            throw StartFailure("quorvel.exe showed a message box: " + text);
        }
        if (windows.main) break;
        if (const std::optional<DWORD> code = process.WaitForExit(1ms)) {
            throw StartFailure("quorvel.exe ended with code " + std::to_string(*code) +
                               " before its window appeared");
        }
        if (stopwatch.ElapsedMs() > kStartDeadlineMs) {
            EndProcess(process, nullptr);
            throw StartFailure("quorvel.exe showed no window within 30 s");
        }
    }
    const double windowMs = stopwatch.ElapsedMs();
    // The peak once the window has painted and the program waits for input.
    WaitForInputIdle(process.Handle(), kIdleDeadlineMs);
    std::string failure;
    const std::optional<size_t> peak = PeakWorkingSet(process.Id(), failure);
    EndProcess(process, windows.main);
    if (!peak) throw std::runtime_error(failure);
    return {windowMs, *peak};
}

double RunWmic(HANDLE nullDevice) {
    const Stopwatch stopwatch;
    const ChildProcess process(L"", kWmicCommand,
                               quorvel::test::StandardHandles{nullDevice, nullDevice, nullDevice});
    const std::optional<DWORD> code = process.WaitForExit(kStartDeadline);
    if (!code) {
        EndProcess(process, nullptr);
        throw StartFailure("wmic.exe did not end within 30 s");
    }
    const double elapsed = stopwatch.ElapsedMs();
    if (*code != 0) throw StartFailure("wmic.exe ended with code " + std::to_string(*code));
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
    const quorvel::platform::UniqueFileHandle nullDevice = OpenNullDevice();

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
