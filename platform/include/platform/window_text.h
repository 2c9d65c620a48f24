// What the window system keeps for a window: its text (a title, a caption, a control's text in
// this process) and its class name. Neither sends anything to another process, so both answer
// while that process is busy.
#pragma once

#include <windows.h>

#include <string>

namespace quorvel::platform {

// UTF-8.
std::string WindowText(HWND window);
std::wstring ClassName(HWND window);

}  // namespace quorvel::platform
