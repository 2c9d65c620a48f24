// The program's message box: modal to the main window, an OK button only, no icon, and the
// application's title.
#pragma once

#include <windows.h>

#include <string>

#include "window/ports.h"

namespace quorvel::win32 {

class Win32MessageBox final : public MessageBoxPort {
public:
    // `owner` stays disabled while a box is open.
    explicit Win32MessageBox(HWND owner) : owner_(owner) {}

    void Show(const std::string& text) override;

private:
    HWND owner_;
};

}  // namespace quorvel::win32
