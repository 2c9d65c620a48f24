// Owners of the Win32 handles the window creates.
#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>

namespace quorvel::win32 {

struct GdiObjectDeleter {
    void operator()(HGDIOBJ object) const noexcept { DeleteObject(object); }
};

struct IconDeleter {
    void operator()(HICON icon) const noexcept { DestroyIcon(icon); }
};

struct KernelHandleDeleter {
    void operator()(HANDLE handle) const noexcept { CloseHandle(handle); }
};

using UniqueFont = std::unique_ptr<std::remove_pointer_t<HFONT>, GdiObjectDeleter>;
using UniqueBitmap = std::unique_ptr<std::remove_pointer_t<HBITMAP>, GdiObjectDeleter>;
using UniqueIcon = std::unique_ptr<std::remove_pointer_t<HICON>, IconDeleter>;
using UniqueKernelHandle = std::unique_ptr<void, KernelHandleDeleter>;

}  // namespace quorvel::win32
