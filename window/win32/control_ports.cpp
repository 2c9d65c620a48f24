#include "control_ports.h"

#include <commctrl.h>

#include "platform/error.h"
#include "platform/utf16.h"
#include "platform/window_text.h"

namespace quorvel::win32 {

using platform::WindowText;

Win32ComboBox::Win32ComboBox(HWND combo) : combo_(combo), parent_(GetParent(combo)) {
    if (!SetWindowSubclass(parent_, &ParentProc, reinterpret_cast<UINT_PTR>(this),
                           reinterpret_cast<DWORD_PTR>(this))) {
        throw platform::Error(static_cast<std::uint32_t>(E_FAIL),
                              "the selector's parent window cannot be watched");
    }
}

Win32ComboBox::~Win32ComboBox() {
    if (parent_) RemoveWindowSubclass(parent_, &ParentProc, reinterpret_cast<UINT_PTR>(this));
}

LRESULT CALLBACK Win32ComboBox::ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                           UINT_PTR id, DWORD_PTR self) noexcept {
    auto& box = *reinterpret_cast<Win32ComboBox*>(self);
    if (message == WM_COMMAND && HIWORD(wParam) == CBN_SELCHANGE &&
        reinterpret_cast<HWND>(lParam) == box.combo_) {
        const bool outer = box.picking_;
        box.picking_ = true;
        const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
        box.picking_ = outer;
        return result;
    }
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(window, &ParentProc, id);
        box.parent_ = nullptr;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

void Win32ComboBox::Clear() {
    SendMessageW(combo_, CB_RESETCONTENT, 0, 0);
    SetWindowTextW(combo_, L"");
}

void Win32ComboBox::Append(const std::string& text) {
    // The list is unsorted, so adding appends.
    SendMessageW(combo_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ToUtf16(text).c_str()));
}

std::string Win32ComboBox::Text() const {
    if (!picking_) return WindowText(combo_);
    const LRESULT picked = SendMessageW(combo_, CB_GETCURSEL, 0, 0);
    const auto index = static_cast<WPARAM>(picked);
    const LRESULT length =
        picked == CB_ERR ? CB_ERR : SendMessageW(combo_, CB_GETLBTEXTLEN, index, 0);
    if (length == CB_ERR) return WindowText(combo_);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT copied =
        SendMessageW(combo_, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied == CB_ERR ? 0 : static_cast<std::size_t>(copied));
    return ToUtf8(text);
}

std::string Win32TextBox::Text() const { return WindowText(edit_); }

void Win32TextBox::SetText(const std::string& text) {
    SetWindowTextW(edit_, ToUtf16(text).c_str());
}

}  // namespace quorvel::win32
