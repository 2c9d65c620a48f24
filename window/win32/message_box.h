// The program's message box: modal to the main window, an OK button only, no icon, and the
// application's title.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "window/ports.h"

namespace quorvel::win32 {

class Win32MessageBox final : public MessageBoxPort {
public:
    // `owner` stays disabled while a box is open; null for a box before the window exists.
    explicit Win32MessageBox(HWND owner) : owner_(owner) {}

    // Shows the arrow while the box is open, whatever cursor the caller shows meanwhile.
    void Show(const std::string& text) override;

private:
    HWND owner_;
};

// The platform's text for `hresult`, for the failures the box reports.
std::string ErrorTextFor(std::uint32_t hresult);

}  // namespace quorvel::win32
