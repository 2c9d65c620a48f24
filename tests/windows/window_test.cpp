// The main window as Win32 builds it, in this process, on a simulated machine: its frame, its
// controls and their places at the prefix's DPI, tab order and focus, and the events that reach
// the window's handlers.
#include <windows.h>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "management/simulated/simulated_management.h"
#include "window/service_constants.h"
#include "banner.h"
#include "main_window.h"
#include "shell_process_start.h"
#include "platform/utf16.h"
#include "platform/error.h"
#include "platform/handles.h"
#include "platform/window_text.h"
#include "tests/support/raised_error.h"
#include "window_test_support.h"

namespace quorvel::test {
namespace {

using win32::ControlId;
using win32::MainWindow;

constexpr char kMachine[] = R"({"adapters": [
    {"Description": "Intel(R) Ethernet Connection I219-V",
     "DNSServerSearchOrder": ["192.168.1.1", "192.168.1.2"], "DHCPDNSServers": ["192.168.1.254"]},
    {"Description": "无线网络连接",
     "DNSServerSearchOrder": ["10.0.0.53"], "DHCPDNSServers": ["10.0.0.1", "10.0.0.2"]},
    {"Description": "Realtek PCIe GbE Family Controller", "DNSServerSearchOrder": null}
]})";

constexpr char kMachineRaisingOnQuery[] = R"({"adapters": [
    {"Description": "Intel(R) Ethernet Connection I219-V",
     "DNSServerSearchOrder": ["192.168.1.1", "192.168.1.2"]}
], "raise": {"query": "0x80041017"}})";

// Machines whose file shows what a click changed: only the named adapters, in enumeration order.
constexpr char kMachineWithLookalikes[] = R"({"adapters": [
    {"Description": "Bob", "DNSServerSearchOrder": ["10.1.1.1"]},
    {"Description": "Bob's adapter", "DNSServerSearchOrder": ["10.2.2.2"]},
    {"Description": "Hyper-V Virtual Ethernet Adapter", "DNSServerSearchOrder": ["10.3.3.3"],
     "DHCPDNSServers": ["172.28.16.1"]},
    {"Description": "Hyper-V Virtual Ethernet Adapter", "DNSServerSearchOrder": ["10.4.4.4"],
     "SetDNSServerSearchOrderResult": 91}
]})";

std::vector<nlohmann::json> ServersInFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    const nlohmann::json machine = nlohmann::json::parse(in);
    std::vector<nlohmann::json> servers;
    for (const auto& adapter : machine.at("adapters")) {
        servers.push_back(adapter.at("DNSServerSearchOrder"));
    }
    return servers;
}

// Left, top, right, bottom: comparable and printable.
std::array<LONG, 4> Edges(const RECT& rect) {
    return {rect.left, rect.top, rect.right, rect.bottom};
}

// Takes the WM_QUIT that destroying the window posts, after the window has gone.
struct QuitMessageTaker {
    ~QuitMessageTaker() { TakeQuitMessage(); }
};

class MainWindowTest : public ::testing::Test {
protected:
    HWND Window() const { return window_.Handle(); }
    HWND Control(ControlId id) const { return window_.Control(id); }
    std::wstring Text(ControlId id) const { return ToUtf16(platform::WindowText(Control(id))); }

    void LoadAndShow() {
        window_.Load();
        window_.Show(SW_SHOW);
    }

    // What the combo box does when the user picks an entry: it selects it and tells its parent.
    void Pick(int index) {
        const HWND combo = Control(ControlId::Combo1);
        SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        SendMessageW(Window(), WM_COMMAND,
                     MAKEWPARAM(static_cast<int>(ControlId::Combo1), CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(combo));
    }

    void Click(ControlId button) { SendMessageW(Control(button), BM_CLICK, 0, 0); }

    // A key press as the program's message loop passes it on: to the dialog manager first.
    void PressKey(HWND target, UINT key) {
        MSG message{target, WM_KEYDOWN, key, 1, 0, {}};
        if (!IsDialogMessageW(Window(), &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }

    QuitMessageTaker quitMessageTaker_;
    TemporaryMachineFile machine_{kMachine};
    SimulatedManagement management_{machine_.Path()};
    RecordedMessageBoxes messageBox_;
    RecordingProcessStart processStart_;
    MainWindow window_{GetModuleHandleW(nullptr), management_, processStart_,
                       messageBox_.Factory()};
};

// ---------------------------------------------------------------------------------------------
// The controls

struct ControlCase {
    const char* name;
    ControlId id;
    const wchar_t* className;
    const wchar_t* text;
    ControlId container;
    DWORD typeMask;  // the style bits that name the control's type ...
    DWORD type;      // ... and their value
    DWORD styleSet;
    DWORD styleClear;
    DWORD exStyleSet;
    DWORD exStyleClear;
    RECT at96;
    RECT at144;
};

void PrintTo(const ControlCase& control, std::ostream* out) { *out << control.name; }

constexpr DWORD kAnyEdge = WS_BORDER | WS_DLGFRAME;
constexpr DWORD kAnyExEdge = WS_EX_CLIENTEDGE | WS_EX_STATICEDGE | WS_EX_WINDOWEDGE;

// Places by converting the edges of the twips rectangles: pixels = round(twips * dpi / 1440).
// clang-format off
const ControlCase kControlCases[] = {
    // name, id, class, text, container,
    //   type mask, type, styles set, styles clear, extended styles set, extended styles clear,
    //   rectangle at 96 DPI, at 144 DPI
    {"Picture1", ControlId::Picture1, L"QuorvelPictureBox", L"", ControlId::Main,
        0, 0, WS_TABSTOP, kAnyEdge, 0, kAnyExEdge,
        {0, 0, 321, 89}, {0, 0, 482, 134}},
    {"Frame3", ControlId::Frame3, L"Button", L"操作", ControlId::Main,
        BS_TYPEMASK, BS_GROUPBOX, 0, WS_TABSTOP, 0, 0,
        {170, 140, 321, 208}, {255, 210, 481, 312}},
    {"Command5", ControlId::Command5, L"Button", L"帮 助", ControlId::Frame3,
        BS_TYPEMASK, BS_PUSHBUTTON, WS_TABSTOP, 0, 0, 0,
        {251, 180, 317, 203}, {376, 270, 476, 304}},
    {"Command4", ControlId::Command4, L"Button", L"自动获取", ControlId::Frame3,
        BS_TYPEMASK, BS_PUSHBUTTON, WS_TABSTOP, 0, 0, 0,
        {251, 156, 317, 179}, {376, 234, 476, 268}},
    {"Command3", ControlId::Command3, L"Button", L"自定义设置", ControlId::Frame3,
        BS_TYPEMASK, BS_PUSHBUTTON, WS_TABSTOP, 0, 0, 0,
        {174, 180, 251, 203}, {261, 270, 376, 304}},
    {"Command2", ControlId::Command2, L"Button", L"设置Quorvel", ControlId::Frame3,
        BS_TYPEMASK, BS_PUSHBUTTON, WS_TABSTOP, 0, 0, 0,
        {174, 156, 251, 179}, {261, 234, 376, 268}},
    {"frame1", ControlId::frame1, L"Button", L"请选择网卡", ControlId::Main,
        BS_TYPEMASK, BS_GROUPBOX, 0, WS_TABSTOP, 0, 0,
        {1, 93, 321, 134}, {2, 140, 482, 202}},
    // A drop-down combo box sizes its field to its font: its bottom is checked apart.
    {"Combo1", ControlId::Combo1, L"ComboBox", L"", ControlId::frame1,
        CBS_DROPDOWNLIST, CBS_DROPDOWN, WS_TABSTOP | CBS_AUTOHSCROLL, CBS_SORT, 0, 0,
        {9, 109, 314, 129}, {14, 164, 472, 194}},
    {"Frame2", ControlId::Frame2, L"Button", L"DNS设置", ControlId::Main,
        BS_TYPEMASK, BS_GROUPBOX, 0, WS_TABSTOP, 0, 0,
        {0, 140, 169, 208}, {0, 210, 254, 312}},
    {"Text1", ControlId::Text1, L"Edit", L"", ControlId::Frame2,
        ES_MULTILINE, 0, WS_TABSTOP | ES_AUTOHSCROLL, ES_READONLY | ES_NUMBER | ES_PASSWORD,
        WS_EX_CLIENTEDGE, 0,
        {48, 157, 161, 177}, {72, 236, 242, 266}},
    {"Text2", ControlId::Text2, L"Edit", L"", ControlId::Frame2,
        ES_MULTILINE, 0, WS_TABSTOP | ES_AUTOHSCROLL, ES_READONLY | ES_NUMBER | ES_PASSWORD,
        WS_EX_CLIENTEDGE, 0,
        {48, 180, 161, 200}, {72, 270, 242, 300}},
    // Labels centre their line, so that a default font taller than they are keeps its glyphs.
    {"Label2", ControlId::Label2, L"Static", L"辅DNS", ControlId::Frame2,
        SS_TYPEMASK, SS_LEFT, SS_CENTERIMAGE, WS_TABSTOP, 0, 0,
        {8, 185, 43, 198}, {12, 278, 64, 297}},
    {"Label1", ControlId::Label1, L"Static", L"主DNS", ControlId::Frame2,
        SS_TYPEMASK, SS_LEFT, SS_CENTERIMAGE, WS_TABSTOP, 0, 0,
        {8, 161, 43, 173}, {12, 242, 64, 260}},
};
// clang-format on

RECT ExpectedRect(const ControlCase& control, unsigned dpi) {
    return dpi == 144 ? control.at144 : control.at96;
}

// Visual-style controls report a versioned class name ("6.0...!Button") on some systems.
std::wstring BaseClassName(HWND window) {
    const std::wstring name = platform::ClassName(window);
    return name.substr(name.find_last_of(L'!') + 1);
}

class ControlTest : public MainWindowTest, public ::testing::WithParamInterface<ControlCase> {};

TEST_P(ControlTest, HasItsKindTextAndStyles) {
    const ControlCase& expected = GetParam();
    const HWND control = Control(expected.id);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(_wcsicmp(BaseClassName(control).c_str(), expected.className), 0)
        << "class " << ToUtf8(platform::ClassName(control));
    EXPECT_EQ(ToUtf16(platform::WindowText(control)), expected.text);
    EXPECT_EQ(GetDlgCtrlID(control), static_cast<int>(expected.id));

    const auto style = static_cast<DWORD>(GetWindowLongPtrW(control, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(control, GWL_EXSTYLE));
    EXPECT_EQ(style & expected.typeMask, expected.type);
    EXPECT_EQ(style & expected.styleSet, expected.styleSet);
    EXPECT_EQ(style & expected.styleClear, 0u);
    EXPECT_EQ(exStyle & expected.exStyleSet, expected.exStyleSet);
    EXPECT_EQ(exStyle & expected.exStyleClear, 0u);
}

// Every control is a child of the window itself, also those inside a frame: a group box would
// keep its children's notifications from the window.
TEST_P(ControlTest, SitsInItsContainerAsAChildOfTheWindow) {
    const ControlCase& expected = GetParam();
    const HWND control = Control(expected.id);
    EXPECT_EQ(GetParent(control), Window());

    const RECT rect = RectInParent(control);
    const RECT wanted = ExpectedRect(expected, ExpectedDpi());
    EXPECT_EQ(rect.left, wanted.left);
    EXPECT_EQ(rect.top, wanted.top);
    EXPECT_EQ(rect.right, wanted.right);
    if (expected.id != ControlId::Combo1) {
        EXPECT_EQ(rect.bottom, wanted.bottom);
    }

    RECT container{};
    GetClientRect(Window(), &container);
    if (expected.container != ControlId::Main)
        container = RectInParent(Control(expected.container));
    EXPECT_GE(rect.left, container.left);
    EXPECT_GE(rect.top, container.top);
    EXPECT_LE(rect.right, container.right);
    EXPECT_LE(rect.bottom, container.bottom);
}

INSTANTIATE_TEST_SUITE_P(AllThirteen, ControlTest, ::testing::ValuesIn(kControlCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(MainWindowTest, RunsAtThePrefixDpi) {
    EXPECT_EQ(window_.Dpi(), ExpectedDpi());
    EXPECT_EQ(GetDpiForWindow(Window()), ExpectedDpi());
}

TEST_F(MainWindowTest, ButtonsOfARowTouch) {
    EXPECT_EQ(RectInParent(Control(ControlId::Command2)).right,
              RectInParent(Control(ControlId::Command4)).left);
    EXPECT_EQ(RectInParent(Control(ControlId::Command3)).right,
              RectInParent(Control(ControlId::Command5)).left);
}

TEST_F(MainWindowTest, EditFieldsHaveNoLengthLimitOfTheirOwn) {
    for (const ControlId id : {ControlId::Text1, ControlId::Text2}) {
        EXPECT_EQ(SendMessageW(Control(id), EM_GETLIMITTEXT, 0, 0), 0x7FFFFFFE);
    }
}

TEST_F(MainWindowTest, SelectorListsEntriesInAppendOrderWithSeveralRowsDropped) {
    window_.Load();
    const HWND combo = Control(ControlId::Combo1);
    ASSERT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 3);
    wchar_t entry[64] = {};
    SendMessageW(combo, CB_GETLBTEXT, 1, reinterpret_cast<LPARAM>(entry));
    EXPECT_STREQ(entry, L"无线网络连接");

    RECT dropped{};
    SendMessageW(combo, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
    RECT closed{};
    GetWindowRect(combo, &closed);
    const auto row = SendMessageW(combo, CB_GETITEMHEIGHT, 0, 0);
    EXPECT_GE((dropped.bottom - dropped.top) - (closed.bottom - closed.top), 5 * row);
}

// No font is chosen by the program: every control gets the system's message font for the
// window's DPI, not the bold System font a bare control starts with.
TEST_F(MainWindowTest, ControlsUseTheMessageFontOfTheWindowDpi) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    ASSERT_TRUE(SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0,
                                           ExpectedDpi()));
    for (const auto& control : kControlCases) {
        if (control.id == ControlId::Picture1) continue;
        const auto font =
            reinterpret_cast<HFONT>(SendMessageW(Control(control.id), WM_GETFONT, 0, 0));
        ASSERT_NE(font, nullptr) << control.name;
        LOGFONTW used{};
        GetObjectW(font, sizeof(used), &used);
        EXPECT_EQ(used.lfHeight, metrics.lfMessageFont.lfHeight) << control.name;
        EXPECT_STREQ(used.lfFaceName, metrics.lfMessageFont.lfFaceName) << control.name;
    }
}

// ---------------------------------------------------------------------------------------------
// The frame

TEST_F(MainWindowTest, HasAFixedDialogFrameWithACloseButtonOnly) {
    EXPECT_EQ(ToUtf16(platform::WindowText(Window())), L"Quorvel");
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(Window(), GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(Window(), GWL_EXSTYLE));
    EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU), static_cast<DWORD>(WS_CAPTION | WS_SYSMENU));
    EXPECT_EQ(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0u);
    EXPECT_EQ(exStyle & (WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT),
              static_cast<DWORD>(WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT));

    const HMENU menu = GetSystemMenu(Window(), FALSE);
    for (const UINT present : {SC_MOVE, SC_CLOSE}) {
        EXPECT_NE(GetMenuState(menu, present, MF_BYCOMMAND), static_cast<UINT>(-1)) << present;
    }
    for (const UINT absent : {SC_SIZE, SC_MINIMIZE, SC_MAXIMIZE, SC_RESTORE}) {
        EXPECT_EQ(GetMenuState(menu, absent, MF_BYCOMMAND), static_cast<UINT>(-1)) << absent;
    }
}

TEST_F(MainWindowTest, ClientAreaMeasures4830By3225Twips) {
    RECT client{};
    GetClientRect(Window(), &client);
    const SIZE expected = ExpectedDpi() == 144 ? SIZE{483, 323} : SIZE{322, 215};
    EXPECT_EQ(client.right, expected.cx);
    EXPECT_EQ(client.bottom, expected.cy);
}

TEST_F(MainWindowTest, IsCentredOnTheWorkAreaOfItsMonitor) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    ASSERT_TRUE(GetMonitorInfoW(MonitorFromWindow(Window(), MONITOR_DEFAULTTONEAREST), &monitor));
    RECT window{};
    GetWindowRect(Window(), &window);
    const RECT& work = monitor.rcWork;
    EXPECT_LE(std::abs((window.left - work.left) - (work.right - window.right)), 1);
    EXPECT_LE(std::abs((window.top - work.top) - (work.bottom - window.bottom)), 1);
}

TEST_F(MainWindowTest, CarriesTheProgramIconAtTheSizesOfItsDpi) {
    const unsigned dpi = ExpectedDpi();
    const struct {
        WPARAM which;
        int size;
    } icons[] = {{ICON_BIG, GetSystemMetricsForDpi(SM_CXICON, dpi)},
                 {ICON_SMALL, GetSystemMetricsForDpi(SM_CXSMICON, dpi)}};
    for (const auto& icon : icons) {
        const auto handle =
            reinterpret_cast<HICON>(SendMessageW(Window(), WM_GETICON, icon.which, 0));
        ASSERT_NE(handle, nullptr);
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(handle, &info));
        // GetIconInfo hands out copies of both bitmaps.
        const platform::UniqueBitmap maskBitmap(info.hbmMask);
        const platform::UniqueBitmap colourBitmap(info.hbmColor);
        BITMAP mask{};
        GetObjectW(maskBitmap.get(), sizeof(mask), &mask);
        EXPECT_EQ(mask.bmWidth, icon.size);
    }
}

// ---------------------------------------------------------------------------------------------
// The banner

// The picture box's client area as 32-bit pixels, drawn through WM_PRINTCLIENT.
std::vector<std::uint32_t> PrintClient(HWND window, SIZE& size) {
    RECT client{};
    GetClientRect(window, &client);
    size = {client.right, client.bottom};
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), size.cx, -size.cy, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    const platform::UniqueBitmap bitmap(
        CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    const platform::UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    if (!bitmap || !dc) throw std::runtime_error("no bitmap to print the window into");
    const platform::SelectedObject selected(dc.get(), bitmap.get());
    SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.get()),
                 PRF_CLIENT | PRF_ERASEBKGND);
    GdiFlush();
    const auto* first = static_cast<const std::uint32_t*>(bits);
    return std::vector<std::uint32_t>(first, first + size.cx * size.cy);
}

std::vector<std::uint32_t> BitmapPixels(HBITMAP bitmap, SIZE& size) {
    DIBSECTION section{};
    GetObjectW(bitmap, sizeof(section), &section);
    size = {section.dsBm.bmWidth, section.dsBm.bmHeight};
    const auto* first = static_cast<const std::uint32_t*>(section.dsBm.bmBits);
    return std::vector<std::uint32_t>(first, first + size.cx * size.cy);
}

std::uint32_t AsDibPixel(COLORREF colour) {
    return (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
}

TEST(BannerTest, DecodesAtNaturalSizeAndScalesWithTheDpi) {
    for (const auto& [dpi, size] :
         {std::pair{96u, SIZE{400, 83}}, std::pair{144u, SIZE{600, 125}}}) {
        const platform::UniqueBitmap banner = win32::LoadBanner(GetModuleHandleW(nullptr), dpi);
        ASSERT_TRUE(banner) << dpi;
        SIZE decoded{};
        const std::vector<std::uint32_t> pixels = BitmapPixels(banner.get(), decoded);
        EXPECT_EQ(decoded.cx, size.cx) << dpi;
        EXPECT_EQ(decoded.cy, size.cy) << dpi;
        // A picture, not a blank.
        EXPECT_LT(std::count(pixels.begin(), pixels.end(), pixels.front()),
                  static_cast<std::ptrdiff_t>(pixels.size() / 2))
            << dpi;
    }
}

// Drawn from the box's top-left corner at the banner's own size: cut off at the box's right
// edge, the button face below it, never stretched to fit.
TEST_F(MainWindowTest, PictureBoxShowsTheBannerUnscaledAndClipped) {
    const platform::UniqueBitmap banner =
        win32::LoadBanner(GetModuleHandleW(nullptr), ExpectedDpi());
    ASSERT_TRUE(banner);
    SIZE bannerSize{};
    const std::vector<std::uint32_t> expected = BitmapPixels(banner.get(), bannerSize);
    SIZE boxSize{};
    const std::vector<std::uint32_t> shown = PrintClient(Control(ControlId::Picture1), boxSize);
    ASSERT_LT(boxSize.cx, bannerSize.cx);
    ASSERT_GT(boxSize.cy, bannerSize.cy);

    const std::uint32_t face = AsDibPixel(GetSysColor(COLOR_BTNFACE));
    int wrong = 0;
    for (int y = 0; y < boxSize.cy; ++y) {
        for (int x = 0; x < boxSize.cx; ++x) {
            const std::uint32_t want = y < bannerSize.cy ? expected[y * bannerSize.cx + x] : face;
            if ((shown[y * boxSize.cx + x] & 0xFFFFFF) != (want & 0xFFFFFF)) ++wrong;
        }
    }
    EXPECT_EQ(wrong, 0);
}

// ---------------------------------------------------------------------------------------------
// Start-up, focus and keys

TEST_F(MainWindowTest, LoadsWhileHiddenAndShowsWithTheFocusInTheSelector) {
    EXPECT_FALSE(IsWindowVisible(Window()));
    window_.Load();
    EXPECT_FALSE(IsWindowVisible(Window()));
    EXPECT_EQ(SendMessageW(Control(ControlId::Combo1), CB_GETCOUNT, 0, 0), 3);

    window_.Show(SW_SHOW);
    EXPECT_TRUE(IsWindowVisible(Window()));
    const HWND focus = GetFocus();
    EXPECT_TRUE(focus == Control(ControlId::Combo1) || IsChild(Control(ControlId::Combo1), focus));
    EXPECT_EQ(Text(ControlId::Combo1), L"");
    EXPECT_TRUE(messageBox_.texts.empty());
}

TEST_F(MainWindowTest, TabWalksTheControlsByTabIndex) {
    LoadAndShow();
    const ControlId order[] = {ControlId::Text2,    ControlId::Text1,    ControlId::Command2,
                               ControlId::Command3, ControlId::Command4, ControlId::Command5,
                               ControlId::Picture1, ControlId::Combo1};
    // From the focus at start-up, the field inside the combo box.
    HWND at = GetFocus();
    for (std::size_t step = 0; step < std::size(order); ++step) {
        at = GetNextDlgTabItem(Window(), at, FALSE);
        EXPECT_EQ(at, Control(order[step])) << "step " << step;
    }
}

// Screen readers name a field after the label just above it in the z-order.
TEST_F(MainWindowTest, EachFieldHasItsLabelJustAboveItInTheZOrder) {
    EXPECT_EQ(GetWindow(Control(ControlId::Text1), GW_HWNDPREV), Control(ControlId::Label1));
    EXPECT_EQ(GetWindow(Control(ControlId::Text2), GW_HWNDPREV), Control(ControlId::Label2));
}

TEST_F(MainWindowTest, TabKeyMovesTheFocusFromTheSelectorToTheSecondaryField) {
    LoadAndShow();
    PressKey(GetFocus(), VK_TAB);
    EXPECT_EQ(GetFocus(), Control(ControlId::Text2));
    PressKey(GetFocus(), VK_TAB);
    EXPECT_EQ(GetFocus(), Control(ControlId::Text1));
}

TEST_F(MainWindowTest, EnterAndEscClickNothingAndCloseNothing) {
    LoadAndShow();
    for (const ControlId focus : {ControlId::Text1, ControlId::Command5, ControlId::Command2}) {
        SetFocus(Control(focus));
        PressKey(Control(focus), VK_RETURN);
        PressKey(Control(focus), VK_ESCAPE);
    }
    EXPECT_TRUE(IsWindow(Window()));
    EXPECT_TRUE(processStart_.starts.empty());
    EXPECT_TRUE(messageBox_.texts.empty());
}

TEST_F(MainWindowTest, ClosingDestroysTheWindowAndEndsTheMessageLoop) {
    LoadAndShow();
    const HWND main = Window();
    SendMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(main));
    EXPECT_EQ(window_.Handle(), nullptr);
    EXPECT_TRUE(TakeQuitMessage());
}

// ---------------------------------------------------------------------------------------------
// Picks in the selector

struct PickCase {
    int entry;
    const wchar_t* primary;
    const wchar_t* secondary;
};

class PickTest : public MainWindowTest, public ::testing::WithParamInterface<PickCase> {};

TEST_P(PickTest, ShowsThePickedAdaptersServers) {
    LoadAndShow();
    // From a display with two servers, so that emptied fields show.
    Pick(0);
    Pick(GetParam().entry);
    EXPECT_EQ(Text(ControlId::Text1), GetParam().primary);
    EXPECT_EQ(Text(ControlId::Text2), GetParam().secondary);
    EXPECT_TRUE(messageBox_.texts.empty());
}

INSTANTIATE_TEST_SUITE_P(Entries, PickTest,
                         ::testing::Values(PickCase{0, L"192.168.1.1", L"192.168.1.2"},
                                           PickCase{1, L"10.0.0.53", L""}, PickCase{2, L"", L""}));

// The combo box reports a pick made with the arrow keys before its field shows the entry.
TEST_F(MainWindowTest, PickWithTheArrowKeysShowsThatEntrysServers) {
    LoadAndShow();
    PressKey(GetFocus(), VK_DOWN);
    EXPECT_EQ(Text(ControlId::Text1), L"192.168.1.1");
    EXPECT_EQ(Text(ControlId::Text2), L"192.168.1.2");
    PressKey(GetFocus(), VK_DOWN);
    EXPECT_EQ(Text(ControlId::Text1), L"10.0.0.53");
    EXPECT_EQ(Text(ControlId::Text2), L"");
}

// During a pick the edit field may still show the entry picked before (as with the arrow keys):
// the display looks up the entry the list selects, and once the pick is handled the selector's
// text is the field's again.
TEST_F(MainWindowTest, DuringAPickTheSelectorTextIsThePickedEntryNotTheField) {
    machine_.Write(kMachineWithLookalikes);
    LoadAndShow();
    const HWND combo = Control(ControlId::Combo1);
    SendMessageW(combo, CB_SETCURSEL, 1, 0);
    SetWindowTextW(combo, L"Bob");
    ASSERT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 1);
    SendMessageW(Window(), WM_COMMAND,
                 MAKEWPARAM(static_cast<int>(ControlId::Combo1), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo));
    EXPECT_EQ(Text(ControlId::Text1), L"10.2.2.2");
    ASSERT_EQ(Text(ControlId::Combo1), L"Bob");

    Click(ControlId::Command2);
    const nlohmann::json builtIn = {kServicePrimaryDns, kServiceSecondaryDns};
    EXPECT_EQ(ServersInFile(machine_.Path()),
              (std::vector<nlohmann::json>{builtIn, {"10.2.2.2"}, {"10.3.3.3"}, {"10.4.4.4"}}));
    EXPECT_EQ(messageBox_.texts, std::vector<std::string>{"DNS设置成功"});
}

// A selection change that leaves no entry selected is no pick.
TEST_F(MainWindowTest, SelectionChangeWithoutAnEntryLooksNothingUp) {
    LoadAndShow();
    const HWND combo = Control(ControlId::Combo1);
    SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    SetWindowTextW(combo, L"Intel(R) Ethernet Connection I219-V");
    SendMessageW(Window(), WM_COMMAND,
                 MAKEWPARAM(static_cast<int>(ControlId::Combo1), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo));
    EXPECT_EQ(Text(ControlId::Text1), L"");
    EXPECT_EQ(Text(ControlId::Text2), L"");
}

TEST_F(MainWindowTest, TypingIntoTheSelectorLooksNothingUp) {
    LoadAndShow();
    const HWND field = GetFocus();
    for (const wchar_t c : std::wstring(L"Intel(R) Ethernet Connection I219-V")) {
        SendMessageW(field, WM_CHAR, c, 1);
    }
    EXPECT_EQ(Text(ControlId::Combo1), L"Intel(R) Ethernet Connection I219-V");
    EXPECT_EQ(Text(ControlId::Text1), L"");
    EXPECT_EQ(Text(ControlId::Text2), L"");
}

TEST_F(MainWindowTest, RaisedErrorIsShownAndTheNextPickWorks) {
    LoadAndShow();
    machine_.Write(kMachineRaisingOnQuery);
    Pick(0);
    ASSERT_EQ(messageBox_.texts.size(), 1u);
    EXPECT_EQ(messageBox_.texts[0].rfind("操作失败: ", 0), 0u) << messageBox_.texts[0];
    EXPECT_TRUE(messageBox_.texts[0].ends_with(" (0x80041017)")) << messageBox_.texts[0];
    EXPECT_EQ(Text(ControlId::Text1), L"");

    machine_.Write(kMachine);
    Pick(1);
    EXPECT_EQ(Text(ControlId::Text1), L"10.0.0.53");
    EXPECT_EQ(messageBox_.texts.size(), 1u);
}

TEST_F(MainWindowTest, ErrorDuringLoadIsShownAndTheWindowStillOpens) {
    machine_.Write(kMachineRaisingOnQuery);
    window_.Load();
    window_.Show(SW_SHOW);
    ASSERT_EQ(messageBox_.texts.size(), 1u);
    EXPECT_TRUE(messageBox_.texts[0].ends_with(" (0x80041017)")) << messageBox_.texts[0];
    EXPECT_TRUE(IsWindowVisible(Window()));
    EXPECT_EQ(SendMessageW(Control(ControlId::Combo1), CB_GETCOUNT, 0, 0), 0);
}

// ---------------------------------------------------------------------------------------------
// The commands

struct CommandCase {
    const char* name;
    ControlId button;
    const wchar_t* typedPrimary;
    const wchar_t* typedSecondary;
    std::wstring primary;
    std::wstring secondary;
};

void PrintTo(const CommandCase& command, std::ostream* out) { *out << command.name; }

class CommandTest : public MainWindowTest, public ::testing::WithParamInterface<CommandCase> {};

TEST_P(CommandTest, AppliesToThePickedAdapterAndShowsItsNewServers) {
    LoadAndShow();
    Pick(1);
    SetWindowTextW(Control(ControlId::Text1), GetParam().typedPrimary);
    SetWindowTextW(Control(ControlId::Text2), GetParam().typedSecondary);
    Click(GetParam().button);
    EXPECT_EQ(messageBox_.texts, std::vector<std::string>{"DNS设置成功"});
    EXPECT_EQ(Text(ControlId::Text1), GetParam().primary);
    EXPECT_EQ(Text(ControlId::Text2), GetParam().secondary);
    EXPECT_TRUE(processStart_.starts.empty());
}

INSTANTIATE_TEST_SUITE_P(Commands, CommandTest,
                         ::testing::Values(CommandCase{"Command2", ControlId::Command2, L"", L"",
                                                       ToUtf16(kServicePrimaryDns),
                                                       ToUtf16(kServiceSecondaryDns)},
                                           CommandCase{"Command3", ControlId::Command3, L"1.1.1.1",
                                                       L"", L"1.1.1.1", L""},
                                           CommandCase{"Command4", ControlId::Command4, L"1.1.1.1",
                                                       L"8.8.8.8", L"10.0.0.1", L"10.0.0.2"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(MainWindowTest, ApostropheInTheDescriptionChangesThatAdapterOnly) {
    machine_.Write(kMachineWithLookalikes);
    LoadAndShow();
    Pick(1);
    ASSERT_EQ(Text(ControlId::Combo1), L"Bob's adapter");
    Click(ControlId::Command2);

    EXPECT_EQ(messageBox_.texts, std::vector<std::string>{"DNS设置成功"});
    const nlohmann::json builtIn = {kServicePrimaryDns, kServiceSecondaryDns};
    EXPECT_EQ(ServersInFile(machine_.Path()),
              (std::vector<nlohmann::json>{{"10.1.1.1"}, builtIn, {"10.3.3.3"}, {"10.4.4.4"}}));
    EXPECT_EQ(Text(ControlId::Text1), ToUtf16(kServicePrimaryDns));
    EXPECT_EQ(Text(ControlId::Text2), ToUtf16(kServiceSecondaryDns));
}

TEST_F(MainWindowTest, SharedDescriptionChangesEveryAdapterInOrderWithABoxEach) {
    machine_.Write(kMachineWithLookalikes);
    LoadAndShow();
    Pick(2);
    Click(ControlId::Command4);

    EXPECT_EQ(messageBox_.texts,
              (std::vector<std::string>{"DNS设置成功", "DNS设置失败: Access denied."}));
    EXPECT_EQ(
        ServersInFile(machine_.Path()),
        (std::vector<nlohmann::json>{{"10.1.1.1"}, {"10.2.2.2"}, {"172.28.16.1"}, {"10.4.4.4"}}));
    // The display shows the adapter enumerated last.
    EXPECT_EQ(Text(ControlId::Text1), L"10.4.4.4");
}

// Explorer by its full path in the platform's Windows directory, never left to a search that
// would look in this program's own folder first.
TEST_F(MainWindowTest, HelpCommandStartsTheShellOfTheWindowsDirectoryOnTheHelpPage) {
    LoadAndShow();
    Click(ControlId::Command5);
    Click(ControlId::Command5);
    wchar_t windows[MAX_PATH] = {};
    ASSERT_NE(GetSystemWindowsDirectoryW(windows, MAX_PATH), 0u);
    const RecordingProcessStart::Start start{ToUtf8(windows) + "\\explorer.exe",
                                             "explorer.exe http://www.quorvel.com"};
    EXPECT_EQ(processStart_.starts, (std::vector<RecordingProcessStart::Start>{start, start}));
    EXPECT_TRUE(messageBox_.texts.empty());
}

// The shared one: on a Remote Desktop host GetWindowsDirectoryW may answer a per-user folder.
TEST(ShellProcessStartTest, AnswersTheSharedWindowsDirectoryOfThePlatform) {
    wchar_t windows[MAX_PATH] = {};
    ASSERT_NE(GetSystemWindowsDirectoryW(windows, MAX_PATH), 0u);
    EXPECT_EQ(win32::ShellProcessStart().WindowsDirectory(), ToUtf8(windows));
}

TEST(ShellProcessStartTest, StartsTheGivenProgramWithTheGivenCommandLineMinimized) {
    const win32::ProcessStartArguments arguments = win32::MinimizedStartArguments(
        "C:\\视窗\\explorer.exe", "explorer.exe http://www.quorvel.com");
    EXPECT_EQ(arguments.applicationName, L"C:\\视窗\\explorer.exe");
    ASSERT_FALSE(arguments.commandLine.empty());
    EXPECT_EQ(arguments.commandLine.back(), L'\0');
    EXPECT_EQ(std::wstring(arguments.commandLine.data()), L"explorer.exe http://www.quorvel.com");
    EXPECT_EQ(arguments.startupFlags, static_cast<DWORD>(STARTF_USESHOWWINDOW));
    EXPECT_EQ(arguments.showWindow, SW_SHOWMINIMIZED);
}

TEST(ShellProcessStartTest, FailedStartThrowsThePlatformsTextAndCode) {
    win32::ProcessStartArguments arguments = win32::MinimizedStartArguments(
        "C:\\no such folder\\explorer.exe", "explorer.exe http://www.quorvel.com");
    const auto error =
        RaisedBy<platform::Error>([&] { win32::StartProcess(std::move(arguments)); });
    ASSERT_TRUE(error) << "a missing program started";
    const std::string text = error->what();
    EXPECT_TRUE(text.ends_with(" (0x80070003)") || text.ends_with(" (0x80070002)")) << text;
    EXPECT_GT(text.size(), std::string(" (0x80070003)").size()) << text;
    EXPECT_TRUE(error->hresult() == 0x80070003u || error->hresult() == 0x80070002u);
}

TEST_F(MainWindowTest, HelpCommandThatCannotStartIsReportedInTheBox) {
    // The port of the real window, driven through the window's own dispatch.
    struct FailingStart final : ProcessStartPort {
        std::string WindowsDirectory() const override { return "C:\\windows"; }
        void StartMinimized(const std::string&, const std::string&) override {
            throw platform::Error(0x80070002, "The system cannot find the file specified.");
        }
    } failingStart;
    MainWindow window(GetModuleHandleW(nullptr), management_, failingStart, messageBox_.Factory());
    window.Load();
    SendMessageW(window.Control(ControlId::Command5), BM_CLICK, 0, 0);
    EXPECT_EQ(messageBox_.texts,
              std::vector<std::string>{"操作失败: The system cannot find the file specified. "
                                       "(0x80070002)"});
}

// ---------------------------------------------------------------------------------------------
// The message box

struct SeenMessageBox {
    HWND owner = nullptr;
    bool ownerEnabled = true;
    std::vector<std::wstring> buttons;
    std::vector<std::wstring> texts;
    int visibleIcons = 0;
};

// Waits on another thread for the box titled "Quorvel", reads it and presses OK.
SeenMessageBox ReadAndClose(HWND main) {
    SeenMessageBox seen;
    HWND box = nullptr;
    // The box exists before its buttons and texts do; it is read once it shows.
    for (int tries = 0; tries < 200; ++tries) {
        box = FindWindowW(L"#32770", L"Quorvel");
        if (box && IsWindowVisible(box)) break;
        Sleep(25);
    }
    if (!box) return seen;
    seen.owner = GetWindow(box, GW_OWNER);
    seen.ownerEnabled = IsWindowEnabled(main) != FALSE;
    EnumChildWindows(
        box,
        [](HWND child, LPARAM context) -> BOOL {
            auto& into = *reinterpret_cast<SeenMessageBox*>(context);
            if (!IsWindowVisible(child)) return TRUE;
            const std::wstring name = BaseClassName(child);
            const auto style = static_cast<DWORD>(GetWindowLongPtrW(child, GWL_STYLE));
            if (_wcsicmp(name.c_str(), L"Button") == 0)
                into.buttons.push_back(ToUtf16(platform::WindowText(child)));
            if (_wcsicmp(name.c_str(), L"Static") == 0) {
                if ((style & SS_TYPEMASK) == SS_ICON) {
                    if (SendMessageW(child, STM_GETICON, 0, 0)) ++into.visibleIcons;
                } else if (!ToUtf16(platform::WindowText(child)).empty()) {
                    into.texts.push_back(ToUtf16(platform::WindowText(child)));
                }
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&seen));
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    return seen;
}

TEST_F(MainWindowTest, MakesItsMessageBoxForItself) {
    EXPECT_EQ(messageBox_.owners, std::vector<HWND>{Window()});
}

// The window's own box, as the program shows it: no test box stands in.
TEST_F(MainWindowTest, MessageBoxIsModalToTheWindowWithOkOnlyAndNoIcon) {
    MainWindow window(GetModuleHandleW(nullptr), management_, processStart_);
    window.Load();
    window.Show(SW_SHOW);
    const HWND combo = window.Control(ControlId::Combo1);
    SendMessageW(combo, CB_SETCURSEL, 1, 0);
    SendMessageW(window.Handle(), WM_COMMAND,
                 MAKEWPARAM(static_cast<int>(ControlId::Combo1), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo));
    SeenMessageBox seen;
    std::thread reader([&seen, main = window.Handle()] { seen = ReadAndClose(main); });
    SendMessageW(window.Control(ControlId::Command2), BM_CLICK, 0, 0);
    reader.join();

    EXPECT_EQ(seen.owner, window.Handle());
    EXPECT_FALSE(seen.ownerEnabled);
    EXPECT_TRUE(IsWindowEnabled(window.Handle()));
    ASSERT_EQ(seen.buttons.size(), 1u);
    EXPECT_EQ(seen.texts, std::vector<std::wstring>{L"DNS设置成功"});
    EXPECT_EQ(seen.visibleIcons, 0);
}

// ---------------------------------------------------------------------------------------------
// A move to a monitor of another DPI (Wine raises no WM_DPICHANGED; the test does)

TEST_F(MainWindowTest, MoveToAnotherDpiLaysEverythingOutAgain) {
    LoadAndShow();
    const unsigned other = ExpectedDpi() == 144 ? 96 : 144;
    RECT window{};
    GetWindowRect(Window(), &window);
    RECT suggested{window.left, window.top, window.left + 500, window.top + 400};
    SendMessageW(Window(), WM_DPICHANGED, MAKEWPARAM(other, other),
                 reinterpret_cast<LPARAM>(&suggested));

    EXPECT_EQ(window_.Dpi(), other);
    // Placed where suggested, sized from the twips: the suggestion's size is deliberately off.
    GetWindowRect(Window(), &window);
    EXPECT_EQ(window.left, suggested.left);
    EXPECT_EQ(window.top, suggested.top);
    RECT client{};
    GetClientRect(Window(), &client);
    const SIZE exact = other == 144 ? SIZE{483, 323} : SIZE{322, 215};
    EXPECT_EQ(client.right, exact.cx);
    EXPECT_EQ(client.bottom, exact.cy);
    for (const auto& control : kControlCases) {
        const RECT rect = RectInParent(Control(control.id));
        const RECT wanted = ExpectedRect(control, other);
        EXPECT_EQ(rect.left, wanted.left) << control.name;
        EXPECT_EQ(rect.top, wanted.top) << control.name;
        EXPECT_EQ(rect.right, wanted.right) << control.name;
        if (control.id != ControlId::Combo1) {
            EXPECT_EQ(rect.bottom, wanted.bottom) << control.name;
        }
    }

    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    ASSERT_TRUE(
        SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0, other));
    LOGFONTW used{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(Control(ControlId::Text1), WM_GETFONT, 0, 0)),
               sizeof(used), &used);
    EXPECT_EQ(used.lfHeight, metrics.lfMessageFont.lfHeight);

    SIZE boxSize{};
    const std::vector<std::uint32_t> shown = PrintClient(Control(ControlId::Picture1), boxSize);
    const platform::UniqueBitmap banner = win32::LoadBanner(GetModuleHandleW(nullptr), other);
    SIZE bannerSize{};
    const std::vector<std::uint32_t> expected = BitmapPixels(banner.get(), bannerSize);
    EXPECT_EQ(shown[(bannerSize.cy - 1) * boxSize.cx + 10] & 0xFFFFFF,
              expected[(bannerSize.cy - 1) * bannerSize.cx + 10] & 0xFFFFFF);
}

// Windows asks before it moves the window to a monitor of another DPI; the answer keeps the
// client area exact in twips there.
TEST_F(MainWindowTest, AsksForTheWindowSizeOfTheClientAreaInTwipsAtTheNewDpi) {
    LoadAndShow();
    RECT before{};
    GetWindowRect(Window(), &before);
    for (const auto& [dpi, client] :
         {std::pair{96u, SIZE{322, 215}}, std::pair{144u, SIZE{483, 323}},
          std::pair{120u, SIZE{403, 269}}}) {
        SIZE size{1, 1};
        EXPECT_EQ(SendMessageW(Window(), WM_GETDPISCALEDSIZE, dpi, reinterpret_cast<LPARAM>(&size)),
                  TRUE)
            << dpi;
        RECT frame{0, 0, client.cx, client.cy};
        ASSERT_TRUE(AdjustWindowRectExForDpi(
            &frame, static_cast<DWORD>(GetWindowLongPtrW(Window(), GWL_STYLE)), FALSE,
            static_cast<DWORD>(GetWindowLongPtrW(Window(), GWL_EXSTYLE)), dpi));
        EXPECT_EQ(size.cx, frame.right - frame.left) << dpi;
        EXPECT_EQ(size.cy, frame.bottom - frame.top) << dpi;
    }
    // Only asked: nothing moves yet.
    RECT after{};
    GetWindowRect(Window(), &after);
    EXPECT_EQ(Edges(after), Edges(before));
    EXPECT_EQ(window_.Dpi(), ExpectedDpi());
}

// ---------------------------------------------------------------------------------------------
// The wait cursor while the management service is asked

// Notes the cursor each time the window turns to the management service.
class CursorRecordingManagement final : public Management {
public:
    explicit CursorRecordingManagement(Management& inner) : inner_(inner) {}

    LocatorRef CreateLocator() override {
        cursors.push_back(GetCursor());
        return inner_.CreateLocator();
    }
    ServiceRef GetObjectByMoniker(const std::string& moniker) override {
        cursors.push_back(GetCursor());
        return inner_.GetObjectByMoniker(moniker);
    }

    std::vector<HCURSOR> cursors;

private:
    Management& inner_;
};

// Boxes that record the cursor shown while they are open.
struct CursorRecordingBoxes {
    win32::MessageBoxFactory Factory() {
        return [this](HWND) -> std::unique_ptr<MessageBoxPort> {
            struct Box final : MessageBoxPort {
                explicit Box(CursorRecordingBoxes& into) : into_(into) {}
                void Show(const std::string& text) override {
                    into_.texts.push_back(text);
                    into_.cursors.push_back(GetCursor());
                }
                CursorRecordingBoxes& into_;
            };
            return std::make_unique<Box>(*this);
        };
    }

    std::vector<std::string> texts;
    std::vector<HCURSOR> cursors;
};

class WaitCursorTest : public ::testing::Test {
protected:
    static HCURSOR Cursor(const wchar_t* id) { return LoadCursorW(nullptr, id); }

    void SetUp() override { SetCursor(Cursor(IDC_CROSS)); }
    void TearDown() override { SetCursor(Cursor(IDC_ARROW)); }

    void Pick(MainWindow& window, int index) {
        const HWND combo = window.Control(ControlId::Combo1);
        SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        SendMessageW(window.Handle(), WM_COMMAND,
                     MAKEWPARAM(static_cast<int>(ControlId::Combo1), CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(combo));
    }

    QuitMessageTaker quitMessageTaker_;
    TemporaryMachineFile machine_{kMachine};
    SimulatedManagement simulated_{machine_.Path()};
    CursorRecordingManagement management_{simulated_};
    RecordingProcessStart processStart_;
};

// A pick, an apply with its box and its refresh, and the load: the wait cursor whenever the
// service is asked, the arrow in the box, and the cursor from before once the handler is done.
TEST_F(WaitCursorTest, ShowsTheWaitCursorWhileTheServiceIsAskedAndTheArrowInTheBox) {
    const HCURSOR wait = Cursor(IDC_WAIT);
    const HCURSOR cross = Cursor(IDC_CROSS);
    MainWindow window(GetModuleHandleW(nullptr), management_, processStart_);
    window.Load();
    // Load, then its display.
    EXPECT_EQ(management_.cursors, (std::vector<HCURSOR>{wait, wait}));
    EXPECT_EQ(GetCursor(), cross);

    Pick(window, 1);
    EXPECT_EQ(management_.cursors.size(), 3u);
    EXPECT_EQ(management_.cursors.back(), wait);
    EXPECT_EQ(GetCursor(), cross);

    // The program's own box, closed from inside its modal loop once it has been seen.
    static HCURSOR inBox;
    static bool boxSeen;
    inBox = nullptr;
    boxSeen = false;
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, [](HWND, UINT, UINT_PTR id, DWORD) {
        const HWND box = FindWindowW(L"#32770", L"Quorvel");
        if (!box) return;
        inBox = GetCursor();
        boxSeen = true;
        KillTimer(nullptr, id);
        PostMessageW(box, WM_COMMAND, IDOK, 0);
    });
    ASSERT_NE(timer, 0u);
    SendMessageW(window.Control(ControlId::Command2), BM_CLICK, 0, 0);
    KillTimer(nullptr, timer);
    ASSERT_TRUE(boxSeen);
    EXPECT_EQ(inBox, Cursor(IDC_ARROW));
    // The apply's connection, then after the box its refresh.
    ASSERT_EQ(management_.cursors.size(), 5u);
    EXPECT_EQ(management_.cursors[3], wait);
    EXPECT_EQ(management_.cursors[4], wait);
    EXPECT_EQ(GetCursor(), cross);
}

TEST_F(WaitCursorTest, AHandlerThatRaisesPutsTheCursorBackBeforeItsErrorIsShown) {
    CursorRecordingBoxes boxes;
    MainWindow window(GetModuleHandleW(nullptr), management_, processStart_, boxes.Factory());
    window.Load();
    machine_.Write(kMachineRaisingOnQuery);
    Pick(window, 0);
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_TRUE(boxes.texts[0].ends_with(" (0x80041017)")) << boxes.texts[0];
    EXPECT_EQ(boxes.cursors, std::vector<HCURSOR>{Cursor(IDC_CROSS)});
    EXPECT_EQ(GetCursor(), Cursor(IDC_CROSS));
}

// The help command does not wait on the service.
TEST_F(WaitCursorTest, TheHelpCommandKeepsTheCursor) {
    struct CursorAtStart final : ProcessStartPort {
        std::string WindowsDirectory() const override { return "C:\\windows"; }
        void StartMinimized(const std::string&, const std::string&) override {
            cursor = GetCursor();
        }
        HCURSOR cursor = nullptr;
    } start;
    MainWindow window(GetModuleHandleW(nullptr), management_, start);
    SendMessageW(window.Control(ControlId::Command5), BM_CLICK, 0, 0);
    EXPECT_EQ(start.cursor, Cursor(IDC_CROSS));
}

}  // namespace
}  // namespace quorvel::test
