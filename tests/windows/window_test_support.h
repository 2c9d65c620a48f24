// What the window tests stand on: recording ports, a machine file of their own, and a few
// readings of real windows.
#pragma once

#include <windows.h>

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "window/ports.h"

namespace quorvel::test {

class RecordingMessageBox final : public MessageBoxPort {
public:
    void Show(const std::string& text) override { texts.push_back(text); }

    std::vector<std::string> texts;
};

class RecordingProcessStart final : public ProcessStartPort {
public:
    void StartMinimized(const std::string& commandLine) override {
        commandLines.push_back(commandLine);
    }

    std::vector<std::string> commandLines;
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
