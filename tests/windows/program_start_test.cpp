// What wWinMain runs, in this process: a start that fails on the way shows the failure in the
// program's box and ends with a non-zero exit code; a start that succeeds runs the window.
#include <windows.h>

#include <objbase.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "management/simulated/simulated_management.h"
#include "platform/error.h"
#include "platform/win32_error.h"
#include "window/win32/application.h"
#include "picture_box.h"
#include "window_test_support.h"

namespace quorvel::test {
namespace {

constexpr char kMachine[] = R"({"adapters": [
    {"Description": "Intel(R) Ethernet Connection I219-V", "DNSServerSearchOrder": ["10.0.0.1"]}
]})";

std::string FailureText(HRESULT hresult) {
    return "操作失败: " + platform::ErrorText(hresult) + " (" +
           platform::FormatHresult(static_cast<std::uint32_t>(hresult)) + ")";
}

class ProgramStartTest : public ::testing::Test {
protected:
    // The window that ran posts one more when it goes.
    void TearDown() override { TakeQuitMessage(); }

    win32::ManagementFactory Factory() {
        return [this]() -> std::unique_ptr<Management> {
            ++managementsMade;
            return std::make_unique<SimulatedManagement>(machine_.Path());
        };
    }

    int managementsMade = 0;
    RecordedMessageBoxes boxes;

private:
    TemporaryMachineFile machine_{kMachine};
};

TEST_F(ProgramStartTest, RunsTheWindowUntilTheMessageLoopEnds) {
    // The loop meets the quit message as soon as the window is up.
    PostQuitMessage(7);
    EXPECT_EQ(win32::RunProgram(GetModuleHandleW(nullptr), SW_SHOW, Factory(), boxes.Factory()), 7);
    EXPECT_EQ(managementsMade, 1);
    ASSERT_EQ(boxes.owners.size(), 1u);
    EXPECT_NE(boxes.owners[0], nullptr);
    EXPECT_TRUE(boxes.texts.empty());
}

// A thread already in the multithreaded apartment cannot enter the window's single-threaded one.
TEST_F(ProgramStartTest, ComInAnotherModeIsShownAndEndsTheProgram) {
    int exitCode = 0;
    std::thread program([&] {
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED)));
        exitCode =
            win32::RunProgram(GetModuleHandleW(nullptr), SW_SHOW, Factory(), boxes.Factory());
        CoUninitialize();
    });
    program.join();
    EXPECT_EQ(exitCode, win32::kStartFailedExitCode);
    EXPECT_EQ(boxes.texts, std::vector<std::string>{FailureText(RPC_E_CHANGED_MODE)});
    // Before any window: the box has no owner.
    EXPECT_EQ(boxes.owners, std::vector<HWND>{nullptr});
    EXPECT_EQ(managementsMade, 0);
}

LRESULT CALLBACK ForeignProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(window, message, wParam, lParam);
}

// Holds one of the program's class names for another window procedure, as other code in the
// process could, and gives it back at the end.
class ForeignClass {
public:
    explicit ForeignClass(const wchar_t* name) : name_(name) {
        // The windows of earlier tests have gone; their class may still be registered.
        UnregisterClassW(name_, GetModuleHandleW(nullptr));
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.lpfnWndProc = ForeignProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = name_;
        registered_ = RegisterClassExW(&windowClass) != 0;
    }
    ~ForeignClass() { UnregisterClassW(name_, GetModuleHandleW(nullptr)); }
    ForeignClass(const ForeignClass&) = delete;
    ForeignClass& operator=(const ForeignClass&) = delete;

    bool Registered() const { return registered_; }

private:
    const wchar_t* name_;
    bool registered_ = false;
};

class ForeignClassTest : public ProgramStartTest,
                         public ::testing::WithParamInterface<const wchar_t*> {};

TEST_P(ForeignClassTest, IsShownAndEndsTheProgramWithoutAWindow) {
    const ForeignClass foreign(GetParam());
    ASSERT_TRUE(foreign.Registered());
    // Should a window run after all, its loop ends at once instead of waiting for a user.
    PostQuitMessage(0);
    const int exitCode =
        win32::RunProgram(GetModuleHandleW(nullptr), SW_SHOW, Factory(), boxes.Factory());
    TakeQuitMessage();
    EXPECT_EQ(exitCode, win32::kStartFailedExitCode);
    EXPECT_EQ(boxes.texts, std::vector<std::string>{
                               FailureText(HRESULT_FROM_WIN32(ERROR_CLASS_ALREADY_EXISTS))});
    EXPECT_EQ(boxes.owners, std::vector<HWND>{nullptr});
    EXPECT_EQ(FindWindowW(L"QuorvelMain", nullptr), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Classes, ForeignClassTest,
                         ::testing::Values(L"QuorvelMain", win32::kPictureBoxClass),
                         [](const auto& info) {
                             return std::wstring(info.param) == L"QuorvelMain"
                                        ? std::string("MainWindow")
                                        : std::string("PictureBox");
                         });

TEST_F(ProgramStartTest, AManagementServiceThatCannotBeMadeIsShown) {
    const win32::ManagementFactory failing = []() -> std::unique_ptr<Management> {
        throw platform::Error(0x80040154, "Class not registered");
    };
    EXPECT_EQ(win32::RunProgram(GetModuleHandleW(nullptr), SW_SHOW, failing, boxes.Factory()),
              win32::kStartFailedExitCode);
    EXPECT_EQ(boxes.texts, std::vector<std::string>{"操作失败: Class not registered (0x80040154)"});
}

}  // namespace
}  // namespace quorvel::test
