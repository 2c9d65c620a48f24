// A borderless picture box that can take the keyboard focus. It shows a bitmap at the bitmap's
// own size from its top-left corner, clipped to the box and never stretched.
#pragma once

#include <windows.h>

namespace quorvel::win32 {

inline constexpr wchar_t kPictureBoxClass[] = L"QuorvelPictureBox";

// Throws platform::Error as RegisterWindowClass does.
void RegisterPictureBoxClass(HINSTANCE instance);

// The bitmap to show, owned by the caller and kept alive while shown; null shows none.
void SetPictureBoxBitmap(HWND pictureBox, HBITMAP bitmap);

}  // namespace quorvel::win32
