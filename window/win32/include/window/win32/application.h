// The program: its one window on a management service, until the user closes it.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>

#include "management/management.h"
#include "window/win32/message_box_factory.h"

namespace quorvel::win32 {

// The exit code of a program that could not start.
inline constexpr int kStartFailedExitCode = 1;

using ManagementFactory = std::function<std::unique_ptr<Management>()>;

// What wWinMain runs: enters the thread's COM apartment, makes the management service and runs
// the window on it (RunMainWindow). A failure on the way (COM initialised otherwise on the
// thread, the window class, the window) is shown in a box that `makeMessageBox` makes without
// an owner, as the window reports a failed command, and returns kStartFailedExitCode.
int RunProgram(HINSTANCE instance, int showCommand, const ManagementFactory& makeManagement,
               const MessageBoxFactory& makeMessageBox = MakeWin32MessageBox) noexcept;

// Creates the main window hidden, raises its Load event, shows it centred and runs the message
// loop. Returns the exit code for wWinMain.
int RunMainWindow(HINSTANCE instance, Management& management, int showCommand,
                  const MessageBoxFactory& makeMessageBox);

}  // namespace quorvel::win32
