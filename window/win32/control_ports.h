// The ports of the window's procedures over real Win32 controls.
#pragma once

#include <windows.h>

#include <string>

#include "window/ports.h"

namespace quorvel::win32 {

// A CBS_DROPDOWN combo box. When the user picks an entry, CBN_SELCHANGE reaches the parent
// before the edit field shows the entry; while the parent handles it, Text() therefore answers
// the entry the list has selected. The box watches its parent's messages for that itself.
class Win32ComboBox final : public ComboBoxPort {
public:
    explicit Win32ComboBox(HWND combo);
    ~Win32ComboBox() override;
    Win32ComboBox(const Win32ComboBox&) = delete;
    Win32ComboBox& operator=(const Win32ComboBox&) = delete;

    void Clear() override;
    void Append(const std::string& text) override;
    std::string Text() const override;

private:
    static LRESULT CALLBACK ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR id, DWORD_PTR self) noexcept;

    HWND combo_;
    // Null once the parent has gone.
    HWND parent_;
    bool picking_ = false;
};

// A single-line edit control.
class Win32TextBox final : public TextBoxPort {
public:
    explicit Win32TextBox(HWND edit) : edit_(edit) {}

    std::string Text() const override;
    void SetText(const std::string& text) override;

private:
    HWND edit_;
};

}  // namespace quorvel::win32
