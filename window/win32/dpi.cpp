#include "dpi.h"

#include "platform/handles.h"

namespace quorvel::win32 {
namespace {

constexpr unsigned kDefaultDpi = 96;

struct PerDpiFunctions {
    UINT(WINAPI* getDpiForWindow)(HWND) = nullptr;
    BOOL(WINAPI* adjustWindowRectExForDpi)(RECT*, DWORD, BOOL, DWORD, UINT) = nullptr;
    int(WINAPI* getSystemMetricsForDpi)(int, UINT) = nullptr;
    BOOL(WINAPI* systemParametersInfoForDpi)(UINT, UINT, void*, UINT, UINT) = nullptr;
};

template <typename Function>
void Resolve(HMODULE user32, const char* name, Function& function) {
    // Through the generic function pointer type, which every function type converts to.
    function =
        reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(user32, name)));
}

const PerDpiFunctions& Functions() {
    static const PerDpiFunctions functions = [] {
        PerDpiFunctions resolved;
        const HMODULE user32 = GetModuleHandleW(L"user32.dll");
        Resolve(user32, "GetDpiForWindow", resolved.getDpiForWindow);
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

unsigned WindowDpi(HWND window) {
    if (Functions().getDpiForWindow) {
        const UINT dpi = Functions().getDpiForWindow(window);
        if (dpi != 0) return dpi;
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
