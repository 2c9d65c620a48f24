// The program's message box: modal to the main window, an OK button only, no icon, and the
// application's title.
#pragma once

#include <windows.h>

#include <string>

#include "window/ports.h"

namespace quorvel::win32 {

class Win32MessageBox final : public MessageBoxPort {
public:
    // The main window, once it exists; it stays disabled while a box is open.
    void SetOwner(HWND owner) { owner_ = owner; }

    void Show(const std::string& text) override;

private:
    HWND owner_ = nullptr;
};

}  // namespace quorvel::win32
