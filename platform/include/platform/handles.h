// Owners of the Win32 handles the program and its tests use, one alias per kind, and the two
// device-context owners that need more than the handle to give it back.
#pragma once

#include <windows.h>

#include <utility>

#include "platform/unique_any.h"

namespace quorvel::platform {

inline HANDLE InvalidHandleValue() noexcept { return INVALID_HANDLE_VALUE; }

// Kernel objects that fail as null: processes, threads, events.
using UniqueHandle = UniqueAny<HANDLE, &CloseHandle>;
// Files, pipes and snapshots, which fail as INVALID_HANDLE_VALUE.
using UniqueFileHandle = UniqueAny<HANDLE, &CloseHandle, &InvalidHandleValue>;
using UniqueIcon = UniqueAny<HICON, &DestroyIcon>;
using UniqueFont = UniqueAny<HFONT, &DeleteObject>;
using UniqueBitmap = UniqueAny<HBITMAP, &DeleteObject>;
using UniqueModule = UniqueAny<HMODULE, &FreeLibrary>;
// A device context from CreateCompatibleDC.
using UniqueMemoryDc = UniqueAny<HDC, &DeleteDC>;
// Memory the system allocated with LocalAlloc for the caller.
template <class T>
using UniqueLocalMemory = UniqueAny<T*, &LocalFree>;

// A device context from GetDC, given back to the window it came from.
class WindowDc {
public:
    // `window` null: the whole screen.
    explicit WindowDc(HWND window) noexcept : window_(window), dc_(GetDC(window)) {}
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    WindowDc(WindowDc&& other) noexcept
        : window_(other.window_), dc_(std::exchange(other.dc_, nullptr)) {}
    WindowDc& operator=(WindowDc&& other) noexcept {
        if (this != &other) {
            Release();
            window_ = other.window_;
            dc_ = std::exchange(other.dc_, nullptr);
        }
        return *this;
    }
    ~WindowDc() { Release(); }

    HDC get() const noexcept { return dc_; }
    explicit operator bool() const noexcept { return dc_ != nullptr; }

private:
    void Release() noexcept {
        if (HDC dc = std::exchange(dc_, nullptr)) ReleaseDC(window_, dc);
    }

    HWND window_;
    HDC dc_;
};

// Selects a GDI object into a device context and puts the previous one back at scope exit.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) noexcept
        : dc_(dc), previous_(SelectObject(dc, object)) {}
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;
    ~SelectedObject() {
        if (*this) SelectObject(dc_, previous_);
    }

    // False when the object could not be selected.
    explicit operator bool() const noexcept {
        return previous_ != nullptr && previous_ != HGDI_ERROR;
    }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

}  // namespace quorvel::platform
