// Where the window's DPI comes from: the window's own DPI, else its monitor's effective DPI
// (Windows 8.1), else the system DPI.
#include <windows.h>

#include <gtest/gtest.h>

#include "platform/handles.h"
#include "dpi.h"

namespace quorvel::test {
namespace {

// What the stand-in lookups answer, and what they were asked.
UINT windowAnswer = 0;
HRESULT monitorResult = S_OK;
UINT monitorAnswer = 0;
HMONITOR askedMonitor = nullptr;
MONITOR_DPI_TYPE askedType = MDT_RAW_DPI;

UINT WINAPI ForWindow(HWND) { return windowAnswer; }

HRESULT WINAPI ForMonitor(HMONITOR monitor, MONITOR_DPI_TYPE type, UINT* x, UINT* y) {
    askedMonitor = monitor;
    askedType = type;
    *x = monitorAnswer;
    *y = monitorAnswer;
    return monitorResult;
}

unsigned SystemDpi() {
    const platform::WindowDc screen(nullptr);
    return static_cast<unsigned>(GetDeviceCaps(screen.get(), LOGPIXELSX));
}

struct LookupCase {
    const char* name;
    bool hasForWindow;
    UINT window;
    bool hasForMonitor;
    HRESULT monitorResult;
    UINT monitor;
    unsigned expected;  // 0: the system DPI
};

void PrintTo(const LookupCase& c, std::ostream* out) { *out << c.name; }

class DpiLookupTest : public ::testing::TestWithParam<LookupCase> {};

TEST_P(DpiLookupTest, TakesTheFirstSourceThatAnswers) {
    const LookupCase& c = GetParam();
    windowAnswer = c.window;
    monitorResult = c.monitorResult;
    monitorAnswer = c.monitor;
    askedMonitor = nullptr;
    const HWND desktop = GetDesktopWindow();
    const win32::DpiLookups lookups{c.hasForWindow ? ForWindow : nullptr,
                                    c.hasForMonitor ? ForMonitor : nullptr};
    EXPECT_EQ(win32::WindowDpi(desktop, lookups), c.expected ? c.expected : SystemDpi());
    if (c.hasForMonitor && !(c.hasForWindow && c.window != 0)) {
        EXPECT_EQ(askedMonitor, MonitorFromWindow(desktop, MONITOR_DEFAULTTONEAREST));
        EXPECT_EQ(askedType, MDT_EFFECTIVE_DPI);
    } else {
        EXPECT_EQ(askedMonitor, nullptr) << "the monitor was asked needlessly";
    }
}

// 168 and 120 are DPIs no prefix runs at, so an answer from the wrong source shows.
INSTANTIATE_TEST_SUITE_P(
    Sources, DpiLookupTest,
    ::testing::Values(LookupCase{"WindowFirst", true, 120, true, S_OK, 168, 120},
                      LookupCase{"MonitorWithoutWindowLookup", false, 0, true, S_OK, 168, 168},
                      LookupCase{"MonitorWhenTheWindowHasNone", true, 0, true, S_OK, 168, 168},
                      LookupCase{"SystemWhenTheMonitorFails", false, 0, true, E_INVALIDARG, 168, 0},
                      LookupCase{"SystemWhenTheMonitorAnswersZero", false, 0, true, S_OK, 0, 0},
                      LookupCase{"SystemWithoutEither", false, 0, false, S_OK, 0, 0}),
    [](const auto& info) { return std::string(info.param.name); });

// The platform's own GetDpiForMonitor, found in system32's shcore.dll, on its own.
TEST(PlatformDpiLookupsTest, TheMonitorLookupAloneAnswersTheScreensDpi) {
    const win32::DpiLookups& platform = win32::PlatformDpiLookups();
    ASSERT_NE(platform.forWindow, nullptr);
    ASSERT_NE(platform.forMonitor, nullptr);
    const win32::DpiLookups monitorOnly{nullptr, platform.forMonitor};
    EXPECT_EQ(win32::WindowDpi(GetDesktopWindow(), monitorOnly), SystemDpi());
}

}  // namespace
}  // namespace quorvel::test
