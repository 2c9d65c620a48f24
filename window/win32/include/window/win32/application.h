// The program: its one window on a management service, until the user closes it.
#pragma once

#include <windows.h>

#include "management/management.h"

namespace quorvel::win32 {

// Creates the main window hidden, raises its Load event, shows it centred and runs the message
// loop. Returns the exit code for wWinMain.
int RunMainWindow(HINSTANCE instance, Management& management, int showCommand);

}  // namespace quorvel::win32
