// Shows one of the system's cursors for a scope and puts back the one shown before.
#pragma once

#include <windows.h>

namespace quorvel::win32 {

class ScopedCursor {
public:
    // `systemCursor`: IDC_WAIT, IDC_ARROW and the like; shared cursors, never destroyed.
    explicit ScopedCursor(const wchar_t* systemCursor) noexcept
        : previous_(SetCursor(LoadCursorW(nullptr, systemCursor))) {}
    ~ScopedCursor() { SetCursor(previous_); }
    ScopedCursor(const ScopedCursor&) = delete;
    ScopedCursor& operator=(const ScopedCursor&) = delete;

private:
    HCURSOR previous_;
};

}  // namespace quorvel::win32
