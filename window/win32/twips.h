// Twips (1/1440 inch) to pixels at a window's DPI.
#pragma once

#include <windows.h>

#include "control_table.h"

namespace quorvel::win32 {

// Rounded to the nearest pixel, halves up; `twips` is not negative.
int TwipsToPixels(int twips, unsigned dpi);

// The control's rectangle in the window's client area. Its edges are converted, not its size, so
// controls that touch in twips also touch in pixels at every DPI.
RECT ControlRect(const ControlRow& row, unsigned dpi);

}  // namespace quorvel::win32
