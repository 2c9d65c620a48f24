#include "main_window.h"

#include <commctrl.h>

#include <algorithm>
#include <optional>
#include <stdexcept>
#include <utility>

#include "resource.h"
#include "window/event_dispatch.h"
#include "banner.h"
#include "dpi.h"
#include "message_box.h"
#include "picture_box.h"
#include "scoped_cursor.h"
#include "twips.h"
#include "window_class.h"
#include "platform/utf16.h"
#include "platform/win32_error.h"

namespace quorvel::win32 {
namespace {

constexpr wchar_t kWindowClass[] = L"QuorvelMain";
// A fixed dialog frame: caption and close button, no minimize, maximize or sizing border.
constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
// WS_EX_CONTROLPARENT lets the dialog manager walk the controls with Tab.
constexpr DWORD kWindowExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
// Rows the list of Combo1 shows when dropped down.
constexpr int kComboListRows = 8;

struct KindStyle {
    const wchar_t* className;
    DWORD style;
    DWORD exStyle;
};

KindStyle StyleOf(ControlKind kind) {
    // Every control is a group of its own, so the arrow keys never move the focus onto a label
    // or a frame.
    constexpr DWORD child = WS_CHILD | WS_VISIBLE | WS_GROUP;
    switch (kind) {
        case ControlKind::Picture:
            return {kPictureBoxClass, child | WS_TABSTOP, 0};
        case ControlKind::Frame:
            // Drawn after the controls it surrounds, so it never paints over them.
            return {WC_BUTTONW, child | BS_GROUPBOX, WS_EX_TRANSPARENT};
        case ControlKind::Button:
            return {WC_BUTTONW, child | WS_TABSTOP | BS_PUSHBUTTON, 0};
        case ControlKind::ComboBox:
            return {WC_COMBOBOXW, child | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL,
                    0};
        case ControlKind::TextBox:
            return {WC_EDITW, child | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
        case ControlKind::Label:
            // One line, centred on the label's height: a default font whose line is taller than
            // the label then loses nothing of its glyphs, only of its empty leading.
            return {WC_STATICW, child | SS_LEFT | SS_CENTERIMAGE, 0};
    }
    throw std::invalid_argument("unknown control kind");
}

void RegisterClasses(HINSTANCE instance, WNDPROC windowProc) {
    // Loads the visual-style controls that the manifest asks for.
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    RegisterPictureBoxClass(instance);

    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_QUORVEL),
                                                      IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                                                      GetSystemMetrics(SM_CYICON), LR_SHARED));
    windowClass.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_QUORVEL),
                                                        IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                        GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kWindowClass;
    RegisterWindowClass(windowClass);
}

// Screen readers name an edit field after the static text just above it in the z-order.
constexpr std::pair<ControlId, ControlId> kFieldLabels[] = {
    {ControlId::Text1, ControlId::Label1},
    {ControlId::Text2, ControlId::Label2},
};

// Where a control stands in the z-order, top first: by tab index, with a field's label just
// before its field. Labels take no focus, so the controls that do keep their tab order.
std::pair<int, int> StackingKey(const ControlRow& row) {
    for (const auto& [field, label] : kFieldLabels) {
        if (row.id == label) return {FindControl(field).tabIndex, 0};
    }
    return {row.tabIndex, 1};
}

platform::UniqueIcon LoadIconSized(HINSTANCE instance, int width, int height) {
    return platform::UniqueIcon(static_cast<HICON>(
        LoadImageW(instance, MAKEINTRESOURCEW(IDI_QUORVEL), IMAGE_ICON, width, height, 0)));
}

}  // namespace

std::unique_ptr<MessageBoxPort> MakeWin32MessageBox(HWND owner) {
    return std::make_unique<Win32MessageBox>(owner);
}

MainWindow::MainWindow(HINSTANCE instance, Management& management, ProcessStartPort& processStart,
                       const MessageBoxFactory& makeMessageBox)
    : instance_(instance) {
    RegisterClasses(instance, &MainWindow::WindowProc);
    const std::wstring caption = ToUtf16(kMainWindow.caption);
    const HWND created =
        CreateWindowExW(kWindowExStyle, kWindowClass, caption.c_str(), kWindowStyle, CW_USEDEFAULT,
                        CW_USEDEFAULT, 0, 0, nullptr, nullptr, instance, this);
    if (!created && creationError_) std::rethrow_exception(creationError_);
    platform::ThrowLastErrorIf(!created);
    try {
        messageBox_ = makeMessageBox(window_);
        if (!messageBox_) throw std::invalid_argument("no message box for the main window");
        combo1_ = std::make_unique<Win32ComboBox>(Control(ControlId::Combo1));
        text1_ = std::make_unique<Win32TextBox>(Control(ControlId::Text1));
        text2_ = std::make_unique<Win32TextBox>(Control(ControlId::Text2));
        main_ = std::make_unique<Main>(management, *combo1_, *text1_, *text2_, *messageBox_,
                                       processStart);
        RemoveSizingCommands();
        ApplyDpi(WindowDpi(window_));
        SizeAndCentre();
    } catch (...) {
        // The window must not outlive the object its messages are handled by.
        DestroyWindow(window_);
        throw;
    }
}

MainWindow::~MainWindow() {
    if (window_) DestroyWindow(window_);
}

HWND MainWindow::Control(ControlId id) const { return controls_[IndexOf(id)]; }

void MainWindow::Load() { Dispatch(&Main::Main_Load, Wait::Management); }

void MainWindow::Show(int showCommand) {
    // Activation puts the focus back where focus_ says; the window may already be active when a
    // message box during Load has just been closed.
    focus_ = Control(ControlId::Combo1);
    ShowWindow(window_, showCommand);
    if (GetActiveWindow() == window_) SetFocus(focus_);
    UpdateWindow(window_);
}

LRESULT CALLBACK MainWindow::WindowProc(HWND window, UINT message, WPARAM wParam,
                                        LPARAM lParam) noexcept {
    MainWindow* self = nullptr;
    if (message == WM_NCCREATE) {
        self = static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    }
    if (!self) return DefWindowProcW(window, message, wParam, lParam);
    try {
        return self->HandleMessage(message, wParam, lParam);
    } catch (...) {
        return self->OnFailedMessage(message);
    }
}

LRESULT MainWindow::OnFailedMessage(UINT message) noexcept {
    if (message == WM_CREATE) {
        creationError_ = std::current_exception();
        return -1;
    }
    if (messageBox_) ReportCurrentException(*messageBox_, ErrorTextFor);
    return 0;
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    const HWND window = window_;
    switch (message) {
        case WM_CREATE:
            return CreateControls() ? 0 : -1;
        case WM_COMMAND:
            OnCommand(static_cast<ControlId>(LOWORD(wParam)), HIWORD(wParam));
            return 0;
        case WM_ACTIVATE:
            if (LOWORD(wParam) == WA_INACTIVE) {
                const HWND focus = GetFocus();
                if (focus && IsChild(window_, focus)) focus_ = focus;
            } else if (focus_ && IsWindow(focus_)) {
                SetFocus(focus_);
                return 0;
            }
            break;
        case WM_GETDPISCALEDSIZE: {
            // The client area stays exact in twips; scaling the frame and the client together,
            // as Windows would, rounds it off.
            *reinterpret_cast<SIZE*>(lParam) = WindowSize(static_cast<unsigned>(wParam));
            return TRUE;
        }
        case WM_DPICHANGED: {
            // The suggested rectangle places the window on its new monitor; its size comes from
            // the twips, whatever the suggestion says.
            ApplyDpi(HIWORD(wParam));
            const RECT& suggested = *reinterpret_cast<const RECT*>(lParam);
            PlaceAt(suggested.left, suggested.top);
            return 0;
        }
        case WM_DESTROY:
            // Closing the window ends the program.
            PostQuitMessage(0);
            return 0;
        case WM_NCDESTROY:
            SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
            window_ = nullptr;
            controls_.fill(nullptr);
            break;
        default:
            break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

bool MainWindow::CreateControls() {
    for (std::size_t i = 0; i < kControls.size(); ++i) {
        const ControlRow& row = kControls[i];
        const KindStyle kind = StyleOf(row.kind);
        controls_[i] = CreateWindowExW(
            kind.exStyle, kind.className, ToUtf16(row.text).c_str(), kind.style, 0, 0, 0, 0,
            window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(row.id)), instance_, nullptr);
        if (!controls_[i]) return false;
    }
    // No length limit: 0 asks for the largest the system allows.
    SendMessageW(Control(ControlId::Text1), EM_SETLIMITTEXT, 0, 0);
    SendMessageW(Control(ControlId::Text2), EM_SETLIMITTEXT, 0, 0);
    SendMessageW(Control(ControlId::Combo1), CB_LIMITTEXT, 0, 0);

    // Created in the table's order, stacked in tab-index order: the dialog manager moves the
    // focus along the stacking order.
    std::array<std::size_t, kControls.size()> stacking{};
    for (std::size_t i = 0; i < stacking.size(); ++i) stacking[i] = i;
    std::sort(stacking.begin(), stacking.end(), [](std::size_t a, std::size_t b) {
        return StackingKey(kControls[a]) < StackingKey(kControls[b]);
    });
    for (const std::size_t i : stacking) {
        SetWindowPos(controls_[i], HWND_BOTTOM, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    return true;
}

void MainWindow::RemoveSizingCommands() {
    const HMENU menu = GetSystemMenu(window_, FALSE);
    for (const UINT command : {SC_RESTORE, SC_SIZE, SC_MINIMIZE, SC_MAXIMIZE}) {
        DeleteMenu(menu, command, MF_BYCOMMAND);
    }
}

void MainWindow::ApplyDpi(unsigned dpi) {
    dpi_ = dpi;

    const LOGFONTW logFont = MessageFont(dpi);
    platform::UniqueFont font(CreateFontIndirectW(&logFont));
    for (const HWND control : controls_) {
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
    }
    font_ = std::move(font);

    platform::UniqueBitmap banner = LoadBanner(instance_, dpi);
    SetPictureBoxBitmap(Control(ControlId::Picture1), banner.get());
    banner_ = std::move(banner);

    platform::UniqueIcon bigIcon =
        LoadIconSized(instance_, SystemMetric(SM_CXICON, dpi), SystemMetric(SM_CYICON, dpi));
    platform::UniqueIcon smallIcon =
        LoadIconSized(instance_, SystemMetric(SM_CXSMICON, dpi), SystemMetric(SM_CYSMICON, dpi));
    SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon.get()));
    SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon.get()));
    bigIcon_ = std::move(bigIcon);
    smallIcon_ = std::move(smallIcon);

    LayOutControls();
}

void MainWindow::LayOutControls() {
    for (std::size_t i = 0; i < kControls.size(); ++i) {
        const RECT rect = ControlRect(kControls[i], dpi_);
        int height = rect.bottom - rect.top;
        if (kControls[i].kind == ControlKind::ComboBox) {
            // A drop-down combo box sizes its field to its font; the height it is given is the
            // height of the field and the dropped list together.
            const auto field =
                SendMessageW(controls_[i], CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0);
            const auto entry = SendMessageW(controls_[i], CB_GETITEMHEIGHT, 0, 0);
            height = static_cast<int>(field + kComboListRows * entry) +
                     4 * SystemMetric(SM_CYEDGE, dpi_);
        }
        SetWindowPos(controls_[i], nullptr, rect.left, rect.top, rect.right - rect.left, height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

SIZE MainWindow::WindowSize(unsigned dpi) const {
    const RECT frame = WindowRectForClient(TwipsToPixels(kMainWindow.clientWidth, dpi),
                                           TwipsToPixels(kMainWindow.clientHeight, dpi),
                                           kWindowStyle, kWindowExStyle, dpi);
    return SIZE{frame.right - frame.left, frame.bottom - frame.top};
}

void MainWindow::SizeAndCentre() {
    const SIZE size = WindowSize(dpi_);
    const int width = size.cx;
    const int height = size.cy;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromWindow(window_, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& work = monitor.rcWork;
    // A window larger than the work area keeps its title bar on the screen.
    const int left = std::max(work.left, work.left + (work.right - work.left - width) / 2);
    const int top = std::max(work.top, work.top + (work.bottom - work.top - height) / 2);
    PlaceAt(left, top);
}

void MainWindow::PlaceAt(int left, int top) {
    const SIZE size = WindowSize(dpi_);
    SetWindowPos(window_, nullptr, left, top, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    // A frame drawn at another DPI than the one asked for (per-monitor awareness without
    // non-client scaling, as on Windows 8.1 or Wine) leaves the client area off: what is
    // measured is corrected.
    RECT client{};
    GetClientRect(window_, &client);
    const int wider = TwipsToPixels(kMainWindow.clientWidth, dpi_) - client.right;
    const int taller = TwipsToPixels(kMainWindow.clientHeight, dpi_) - client.bottom;
    if (wider != 0 || taller != 0) {
        SetWindowPos(window_, nullptr, 0, 0, size.cx + wider, size.cy + taller,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void MainWindow::OnCommand(ControlId id, int notification) {
    // Enter and Esc reach here as IDOK and IDCANCEL, which name no control: they click nothing.
    switch (id) {
        case ControlId::Combo1:
            // Typing into the field (CBN_EDITCHANGE) looks nothing up; only a pick of an entry
            // does.
            if (notification == CBN_SELCHANGE &&
                SendMessageW(Control(ControlId::Combo1), CB_GETCURSEL, 0, 0) != CB_ERR) {
                Dispatch(&Main::Combo1_Click, Wait::Management);
            }
            break;
        case ControlId::Command2:
            if (notification == BN_CLICKED) Dispatch(&Main::Command2_Click, Wait::Management);
            break;
        case ControlId::Command3:
            if (notification == BN_CLICKED) Dispatch(&Main::Command3_Click, Wait::Management);
            break;
        case ControlId::Command4:
            if (notification == BN_CLICKED) Dispatch(&Main::Command4_Click, Wait::Management);
            break;
        case ControlId::Command5:
            if (notification == BN_CLICKED) Dispatch(&Main::Command5_Click, Wait::None);
            break;
        default:
            break;
    }
}

void MainWindow::Dispatch(void (Main::*handler)(), Wait wait) {
    DispatchEvent(*messageBox_, ErrorTextFor, [this, handler, wait] {
        // Gone before an error is shown; a box on the way shows the arrow itself.
        std::optional<ScopedCursor> waiting;
        if (wait == Wait::Management) waiting.emplace(IDC_WAIT);
        (main_.get()->*handler)();
    });
}

}  // namespace quorvel::win32
