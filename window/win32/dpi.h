// DPI-dependent system values. The per-DPI functions of Windows 10 (and Windows 8.1's
// GetDpiForMonitor) are looked up at run time; where they are missing, the system DPI and the
// values measured at it stand in.
#pragma once

#include <windows.h>

#include <shellscalingapi.h>

namespace quorvel::win32 {

// Where a window's DPI can be read, best first; a missing function is null.
struct DpiLookups {
    // user32's GetDpiForWindow (Windows 10 1607 and later).
    UINT(WINAPI* forWindow)(HWND) = nullptr;
    // shcore's GetDpiForMonitor (Windows 8.1 and later).
    HRESULT(WINAPI* forMonitor)(HMONITOR, MONITOR_DPI_TYPE, UINT*, UINT*) = nullptr;
};

// The functions of this system; shcore.dll is loaded from system32 only.
const DpiLookups& PlatformDpiLookups();

// The DPI the window is drawn at: its monitor's for a per-monitor aware process. Asks
// `lookups.forWindow`, then `lookups.forMonitor` for the effective DPI of the window's monitor,
// and takes the system DPI only when neither answers.
unsigned WindowDpi(HWND window, const DpiLookups& lookups = PlatformDpiLookups());

// The window rectangle, with (0, 0) at the client area's top-left corner, of a window whose
// client area is `width` x `height` pixels.
RECT WindowRectForClient(int width, int height, DWORD style, DWORD exStyle, unsigned dpi);

// GetSystemMetrics at `dpi`.
int SystemMetric(int index, unsigned dpi);

// The platform's default UI font at `dpi`: the message-box font of the non-client metrics.
LOGFONTW MessageFont(unsigned dpi);

}  // namespace quorvel::win32
