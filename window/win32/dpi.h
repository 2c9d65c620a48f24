// DPI-dependent system values. The per-DPI functions of Windows 10 are looked up at run time;
// where they are missing, the system DPI and the values measured at it stand in.
#pragma once

#include <windows.h>

namespace quorvel::win32 {

// The DPI the window is drawn at: its monitor's for a per-monitor aware process.
unsigned WindowDpi(HWND window);

// The window rectangle, with (0, 0) at the client area's top-left corner, of a window whose
// client area is `width` x `height` pixels.
RECT WindowRectForClient(int width, int height, DWORD style, DWORD exStyle, unsigned dpi);

// GetSystemMetrics at `dpi`.
int SystemMetric(int index, unsigned dpi);

// The platform's default UI font at `dpi`: the message-box font of the non-client metrics.
LOGFONTW MessageFont(unsigned dpi);

}  // namespace quorvel::win32
