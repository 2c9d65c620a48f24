// The ports of the window's procedures over real Win32 controls.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "window/ports.h"

namespace quorvel::win32 {

// A CBS_DROPDOWN combo box.
class Win32ComboBox final : public ComboBoxPort {
public:
    explicit Win32ComboBox(HWND combo) : combo_(combo) {}

    void Clear() override;
    void Append(const std::string& text) override;
    std::string Text() const override;

    // When the user picks an entry, CBN_SELCHANGE arrives before the edit field shows it. While
    // the pick is handled, Text() answers the entry at `index`; std::nullopt ends that.
    void SetPickedEntry(std::optional<int> index) { pickedEntry_ = index; }

private:
    HWND combo_;
    std::optional<int> pickedEntry_;
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
