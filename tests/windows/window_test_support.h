// What the window tests stand on: recording ports, a machine file of their own, and a few
// readings of real windows.
#pragma once

#include <windows.h>

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "window/ports.h"
#include "main_window.h"
#include "shell_process_start.h"

namespace quorvel::test {

// What the window's message boxes showed, and the owner each box was made for.
class RecordedMessageBoxes {
public:
    // For MainWindow: makes boxes that record here instead of showing.
    win32::MessageBoxFactory Factory();

    std::vector<std::string> texts;
    std::vector<HWND> owners;
};

// Starts nothing: records each start, and answers the platform's own Windows directory.
class RecordingProcessStart final : public ProcessStartPort {
public:
    struct Start {
        std::string programPath;
        std::string commandLine;
        bool operator==(const Start&) const = default;
    };

    std::string WindowsDirectory() const override { return platform_.WindowsDirectory(); }
    void StartMinimized(const std::string& programPath, const std::string& commandLine) override {
        starts.push_back({programPath, commandLine});
    }

    std::vector<Start> starts;

private:
    win32::ShellProcessStart platform_;
};

// A machine file (JSON, UTF-8) in the temporary folder, removed again at the end.
class TemporaryMachineFile {
public:
    explicit TemporaryMachineFile(std::string_view json);
    ~TemporaryMachineFile();
    TemporaryMachineFile(const TemporaryMachineFile&) = delete;
    TemporaryMachineFile& operator=(const TemporaryMachineFile&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    // Every connection reads the file anew, so this changes the machine at once.
    void Write(std::string_view json) const;

private:
    std::filesystem::path path_;
};

// The DPI the Wine prefix runs at: QUORVEL_WINE_DPI, as the test's ctest entry sets it, else 96.
unsigned ExpectedDpi();

// `window`'s rectangle in its parent's client area.
RECT RectInParent(HWND window);

// Removes the WM_QUIT that closing a main window leaves; true when there was one.
bool TakeQuitMessage();

}  // namespace quorvel::test
