#include "dpi.h"

#include "platform/handles.h"

namespace quorvel::win32 {
namespace {

constexpr unsigned kDefaultDpi = 96;

struct PerDpiFunctions {
    BOOL(WINAPI* adjustWindowRectExForDpi)(RECT*, DWORD, BOOL, DWORD, UINT) = nullptr;
    int(WINAPI* getSystemMetricsForDpi)(int, UINT) = nullptr;
    BOOL(WINAPI* systemParametersInfoForDpi)(UINT, UINT, void*, UINT, UINT) = nullptr;
};

template <typename Function>
void Resolve(HMODULE module, const char* name, Function& function) {
    // Through the generic function pointer type, which every function type converts to.
    function =
        reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

const PerDpiFunctions& Functions() {
    static const PerDpiFunctions functions = [] {
        PerDpiFunctions resolved;
        const HMODULE user32 = GetModuleHandleW(L"user32.dll");
        Resolve(user32, "AdjustWindowRectExForDpi", resolved.adjustWindowRectExForDpi);
        Resolve(user32, "GetSystemMetricsForDpi", resolved.getSystemMetricsForDpi);
        Resolve(user32, "SystemParametersInfoForDpi", resolved.systemParametersInfoForDpi);
        return resolved;
    }();
    return functions;
}

unsigned SystemDpi() {
    const platform::WindowDc screen(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen.get(), LOGPIXELSX) : 0;
    return dpi > 0 ? static_cast<unsigned>(dpi) : kDefaultDpi;
}

int ScaleFromSystemDpi(int value, unsigned dpi) {
    return MulDiv(value, static_cast<int>(dpi), static_cast<int>(SystemDpi()));
}

}  // namespace

const DpiLookups& PlatformDpiLookups() {
    // Loaded once and kept: the lookups point into it for the rest of the process. Only from
    // system32, so that no file beside the program is loaded in its place.
    static const platform::UniqueModule shcore(
        LoadLibraryExW(L"shcore.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
    static const DpiLookups lookups = [] {
        DpiLookups resolved;
        Resolve(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow", resolved.forWindow);
        if (shcore) Resolve(shcore.get(), "GetDpiForMonitor", resolved.forMonitor);
        return resolved;
    }();
    return lookups;
}

unsigned WindowDpi(HWND window, const DpiLookups& lookups) {
    if (lookups.forWindow) {
        const UINT dpi = lookups.forWindow(window);
        if (dpi != 0) return dpi;
    }
    if (lookups.forMonitor) {
        UINT x = 0;
        UINT y = 0;
        const HMONITOR monitor = MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST);
        if (SUCCEEDED(lookups.forMonitor(monitor, MDT_EFFECTIVE_DPI, &x, &y)) && x != 0) return x;
    }
    return SystemDpi();
}

RECT WindowRectForClient(int width, int height, DWORD style, DWORD exStyle, unsigned dpi) {
    RECT rect{0, 0, width, height};
    if (Functions().adjustWindowRectExForDpi) {
        Functions().adjustWindowRectExForDpi(&rect, style, FALSE, exStyle, dpi);
    } else {
        AdjustWindowRectEx(&rect, style, FALSE, exStyle);
    }
    return rect;
}

int SystemMetric(int index, unsigned dpi) {
    if (Functions().getSystemMetricsForDpi) return Functions().getSystemMetricsForDpi(index, dpi);
    return ScaleFromSystemDpi(GetSystemMetrics(index), dpi);
}

LOGFONTW MessageFont(unsigned dpi) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (Functions().systemParametersInfoForDpi &&
        Functions().systemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics,
                                               0, dpi)) {
        return metrics.lfMessageFont;
    }
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    metrics.lfMessageFont.lfHeight = ScaleFromSystemDpi(metrics.lfMessageFont.lfHeight, dpi);
    return metrics.lfMessageFont;
}

}  // namespace quorvel::win32
