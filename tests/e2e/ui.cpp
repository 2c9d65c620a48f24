#include "ui.h"

#include <algorithm>
#include <cstdlib>
#include <stdexcept>
#include <thread>

#include "platform/utf16.h"
#include "platform/window_text.h"
#include "app_process.h"

namespace quorvel::e2e {
namespace {

using platform::ClassName;
using platform::WindowText;

using Clock = std::chrono::steady_clock;

LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL,
                             static_cast<UINT>(kDeadline.count()), &result)) {
        throw std::runtime_error("the program did not answer within " +
                                 std::to_string(kDeadline.count()) + " ms (message " +
                                 std::to_string(message) + " to its " + ToUtf8(ClassName(window)) +
                                 "): its window thread is stuck");
    }
    return static_cast<LRESULT>(result);
}

void Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!PostMessageW(window, message, wParam, lParam))
        throw std::runtime_error("PostMessage failed, error " + std::to_string(GetLastError()));
}

bool IsClass(HWND window, std::wstring_view name) {
    const std::wstring actual = ClassName(window);
    return actual.size() == name.size() &&
           CompareStringOrdinal(actual.data(), static_cast<int>(actual.size()), name.data(),
                                static_cast<int>(name.size()), TRUE) == CSTR_EQUAL;
}

LONG_PTR StyleOf(HWND window) { return GetWindowLongPtrW(window, GWL_STYLE); }

bool IsPushButton(HWND window) {
    if (!IsClass(window, L"Button")) return false;
    const auto type = StyleOf(window) & BS_TYPEMASK;
    return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON;
}

// Every descendant of `parent`.
std::vector<HWND> DescendantsOf(HWND parent) {
    std::vector<HWND> windows;
    EnumChildWindows(
        parent,
        [](HWND window, LPARAM found) {
            reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&windows));
    return windows;
}

RECT ScreenRect(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

LONG MiddleY(HWND window) {
    const RECT rect = ScreenRect(window);
    return (rect.top + rect.bottom) / 2;
}

HWND OnlyOne(const std::vector<HWND>& windows, const std::string& what) {
    if (windows.size() != 1)
        throw std::runtime_error("expected one " + what + ", found " +
                                 std::to_string(windows.size()));
    return windows.front();
}

}  // namespace

std::string TextOf(HWND window) {
    const auto length = static_cast<std::size_t>(Send(window, WM_GETTEXTLENGTH, 0, 0));
    std::wstring text(length + 1, L'\0');
    const auto copied = static_cast<std::size_t>(
        Send(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data())));
    text.resize(std::min(copied, length));
    return ToUtf8(text);
}

std::vector<HWND> TopLevelWindowsOf(DWORD processId) {
    struct Search {
        DWORD processId;
        std::vector<HWND> found;
    } search{processId, {}};
    EnumWindows(
        [](HWND window, LPARAM parameter) {
            auto& search = *reinterpret_cast<Search*>(parameter);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == search.processId) search.found.push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FindMainWindow(DWORD processId) {
    for (const HWND window : TopLevelWindowsOf(processId)) {
        if (!IsClass(window, L"#32770") && WindowText(window) == kAppTitle) return window;
    }
    return nullptr;
}

HWND FindDialog(DWORD processId) {
    for (const HWND window : TopLevelWindowsOf(processId)) {
        if (IsClass(window, L"#32770")) return window;
    }
    return nullptr;
}

MessageBoxView ReadMessageBox(HWND box) {
    MessageBoxView view;
    view.title = WindowText(box);
    for (const HWND child : DescendantsOf(box)) {
        if (!IsWindowVisible(child)) continue;
        if (IsPushButton(child)) {
            view.buttons.push_back(WindowText(child));
        } else if (IsClass(child, L"Static")) {
            // Wine keeps the box's icon control even without an icon; it then shows nothing.
            if ((StyleOf(child) & SS_TYPEMASK) == SS_ICON) {
                view.hasIcon = view.hasIcon || Send(child, STM_GETICON, 0, 0) != 0;
            } else {
                const std::string text = WindowText(child);
                view.text += view.text.empty() || text.empty() ? text : "\n" + text;
            }
        }
    }
    return view;
}

void PressOk(HWND box) {
    std::vector<HWND> ok;
    for (const HWND child : DescendantsOf(box)) {
        if (IsWindowVisible(child) && IsPushButton(child) && WindowText(child) == "OK")
            ok.push_back(child);
    }
    Post(OnlyOne(ok, "OK button in the message box"), BM_CLICK, 0, 0);
    const auto end = Clock::now() + kDeadline;
    while (IsWindow(box)) {
        if (Clock::now() > end) throw std::runtime_error("the message box stayed open after OK");
        std::this_thread::sleep_for(5ms);
    }
}

MainWindowUi::MainWindowUi(HWND window) : window_(window) {
    std::vector<HWND> combos;
    std::vector<HWND> edits;
    std::vector<HWND> primaryLabel;
    std::vector<HWND> secondaryLabel;
    for (const HWND child : DescendantsOf(window)) {
        if (IsClass(child, L"ComboBox")) {
            combos.push_back(child);
        } else if (IsClass(child, L"Edit")) {
            // The selector's own edit field is part of the selector, not a field of the window.
            if (!IsClass(GetAncestor(child, GA_PARENT), L"ComboBox")) edits.push_back(child);
        } else if (IsClass(child, L"Static")) {
            const std::string text = WindowText(child);
            if (text == "主DNS") primaryLabel.push_back(child);
            if (text == "辅DNS") secondaryLabel.push_back(child);
        } else if (IsPushButton(child)) {
            buttons_.push_back(child);
        }
    }
    combo1_ = OnlyOne(combos, "selector (ComboBox)");
    if (edits.size() != 2)
        throw std::runtime_error("expected two text fields (Edit), found " +
                                 std::to_string(edits.size()));
    // Each field is the one level with its label.
    const auto besideLabel = [&edits](HWND label) {
        return *std::min_element(edits.begin(), edits.end(), [label](HWND a, HWND b) {
            return std::abs(MiddleY(a) - MiddleY(label)) < std::abs(MiddleY(b) - MiddleY(label));
        });
    };
    text1_ = besideLabel(OnlyOne(primaryLabel, "label 主DNS"));
    text2_ = besideLabel(OnlyOne(secondaryLabel, "label 辅DNS"));
    if (text1_ == text2_) throw std::runtime_error("both labels stand beside the same field");
}

HWND MainWindowUi::Button(std::string_view caption) const {
    std::vector<HWND> found;
    for (const HWND button : buttons_) {
        if (WindowText(button) == caption) found.push_back(button);
    }
    return OnlyOne(found, "button \"" + std::string(caption) + "\"");
}

std::vector<std::string> MainWindowUi::Entries() const {
    std::vector<std::string> entries;
    const LRESULT count = Send(combo1_, CB_GETCOUNT, 0, 0);
    for (LRESULT index = 0; index < count; ++index) {
        const LRESULT length = Send(combo1_, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
        if (length == CB_ERR) throw std::runtime_error("CB_GETLBTEXTLEN failed");
        std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
        const LRESULT copied = Send(combo1_, CB_GETLBTEXT, static_cast<WPARAM>(index),
                                    reinterpret_cast<LPARAM>(text.data()));
        if (copied == CB_ERR) throw std::runtime_error("CB_GETLBTEXT failed");
        text.resize(static_cast<std::size_t>(copied));
        entries.push_back(ToUtf8(text));
    }
    return entries;
}

HWND MainWindowUi::Focus() const {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window_, nullptr), &info)) return nullptr;
    return info.hwndFocus;
}

void MainWindowUi::PostPick(int index) const {
    if (Send(combo1_, CB_SETCURSEL, static_cast<WPARAM>(index), 0) != index)
        throw std::runtime_error("the selector has no entry " + std::to_string(index));
    const auto id = static_cast<WORD>(GetDlgCtrlID(combo1_));
    Post(GetAncestor(combo1_, GA_PARENT), WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE),
         reinterpret_cast<LPARAM>(combo1_));
}

void MainWindowUi::Type(HWND field, std::string_view text) const {
    const std::wstring wide = ToUtf16(text);
    if (!Send(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str())))
        throw std::runtime_error("the field refused the text");
}

void MainWindowUi::PostClick(HWND button) const { Post(button, BM_CLICK, 0, 0); }

void MainWindowUi::PostClose() const { Post(window_, WM_SYSCOMMAND, SC_CLOSE, 0); }

void MainWindowUi::Settle() const {
    // The window never reads the modified flag of Text1, so it serves as a marker: posted
    // behind everything else, it is set only once all that went before has been handled.
    Send(text1_, EM_SETMODIFY, FALSE, 0);
    Post(text1_, EM_SETMODIFY, TRUE, 0);
    const auto end = Clock::now() + kDeadline;
    while (!Send(text1_, EM_GETMODIFY, 0, 0)) {
        if (Clock::now() > end)
            throw std::runtime_error("the window did not come back to its message loop");
        std::this_thread::sleep_for(2ms);
    }
}

int MainWindowUi::SelectedEntry() const {
    return static_cast<int>(Send(combo1_, CB_GETCURSEL, 0, 0));
}

HWND MainWindowUi::DroppedList() const {
    if (!Send(combo1_, CB_GETDROPPEDSTATE, 0, 0)) return nullptr;
    // The list is a top-level window of the program's own, shown under the selector.
    DWORD processId = 0;
    GetWindowThreadProcessId(window_, &processId);
    for (const HWND window : TopLevelWindowsOf(processId)) {
        if (IsClass(window, L"ComboLBox") && IsWindowVisible(window)) return window;
    }
    return nullptr;
}

POINT MainWindowUi::DropButtonPoint() const {
    const RECT rect = ScreenRect(combo1_);
    const int button = GetSystemMetrics(SM_CXVSCROLL);
    return {rect.right - GetSystemMetrics(SM_CXEDGE) - button / 2, (rect.top + rect.bottom) / 2};
}

POINT MainWindowUi::EntryPoint(HWND list, int index) const {
    const auto height = static_cast<LONG>(Send(list, LB_GETITEMHEIGHT, 0, 0));
    const auto top = static_cast<LONG>(Send(list, LB_GETTOPINDEX, 0, 0));
    RECT client{};
    GetClientRect(list, &client);
    POINT point{client.right / 2, (index - top) * height + height / 2};
    if (point.y >= client.bottom)
        throw std::runtime_error("entry " + std::to_string(index) + " is out of the list's view");
    ClientToScreen(list, &point);
    return point;
}

}  // namespace quorvel::e2e
