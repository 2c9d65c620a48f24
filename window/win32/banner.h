// The banner picture: a JPEG in the program's resources, decoded with WIC.
#pragma once

#include <windows.h>

#include "platform/handles.h"

namespace quorvel::win32 {

// The banner as a 32-bit top-down DIB section, scaled by dpi/96 like the rest of the window: at
// 96 DPI it keeps its natural size. Null when the resource is missing or cannot be decoded; the
// window then shows no banner.
platform::UniqueBitmap LoadBanner(HINSTANCE instance, unsigned dpi);

}  // namespace quorvel::win32
