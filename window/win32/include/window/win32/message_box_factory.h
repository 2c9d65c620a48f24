// How the window and the start-up get their message box: made for its owner, so that tests can
// record what the program says.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>

#include "window/ports.h"

namespace quorvel::win32 {

// Makes the window's message box, modal to `owner`, the main window.
using MessageBoxFactory = std::function<std::unique_ptr<MessageBoxPort>(HWND owner)>;

// The program's own box: a Win32MessageBox.
std::unique_ptr<MessageBoxPort> MakeWin32MessageBox(HWND owner);

}  // namespace quorvel::win32
