#include "window_test_support.h"

#include <cwchar>
#include <fstream>
#include <stdexcept>

namespace quorvel::test {
namespace {

class RecordingMessageBox final : public MessageBoxPort {
public:
    explicit RecordingMessageBox(std::vector<std::string>& texts) : texts_(texts) {}

    void Show(const std::string& text) override { texts_.push_back(text); }

private:
    std::vector<std::string>& texts_;
};

}  // namespace

win32::MessageBoxFactory RecordedMessageBoxes::Factory() {
    return [this](HWND owner) -> std::unique_ptr<MessageBoxPort> {
        owners.push_back(owner);
        return std::make_unique<RecordingMessageBox>(texts);
    };
}

TemporaryMachineFile::TemporaryMachineFile(std::string_view json) {
    wchar_t folder[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, folder);
    wchar_t file[MAX_PATH + 1] = {};
    if (!GetTempFileNameW(folder, L"qmf", 0, file)) {
        throw std::runtime_error("no temporary file for the machine");
    }
    path_ = file;
    Write(json);
}

TemporaryMachineFile::~TemporaryMachineFile() {
    std::error_code ignored;
    std::filesystem::remove(path_, ignored);
}

void TemporaryMachineFile::Write(std::string_view json) const {
    std::ofstream out(path_, std::ios::binary | std::ios::trunc);
    out << json;
    if (!out) throw std::runtime_error("the machine file cannot be written");
}

unsigned ExpectedDpi() {
    wchar_t dpi[16] = {};
    const DWORD length = GetEnvironmentVariableW(L"QUORVEL_WINE_DPI", dpi, 16);
    if (length == 0 || length >= 16) return 96;
    return static_cast<unsigned>(std::wcstoul(dpi, nullptr, 10));
}

RECT RectInParent(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    MapWindowPoints(HWND_DESKTOP, GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

bool TakeQuitMessage() {
    MSG message{};
    return PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE;
}

}  // namespace quorvel::test
