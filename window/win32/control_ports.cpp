#include "window/win32/control_ports.h"

#include "platform/utf16.h"
#include "platform/window_text.h"

namespace quorvel::win32 {

using platform::WindowText;

void Win32ComboBox::Clear() {
    SendMessageW(combo_, CB_RESETCONTENT, 0, 0);
    SetWindowTextW(combo_, L"");
}

void Win32ComboBox::Append(const std::string& text) {
    // The list is unsorted, so adding appends.
    SendMessageW(combo_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ToUtf16(text).c_str()));
}

std::string Win32ComboBox::Text() const {
    if (!pickedEntry_) return WindowText(combo_);
    const auto index = static_cast<WPARAM>(*pickedEntry_);
    const LRESULT length = SendMessageW(combo_, CB_GETLBTEXTLEN, index, 0);
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
