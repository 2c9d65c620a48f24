// Pictures of the program's windows for review, taken from the screen as the user sees them.
#pragma once

#include <windows.h>

#include <filesystem>

namespace quorvel::e2e {

// Saves the window, frame included, as a PNG file. Needs COM on the calling thread.
void SaveScreenshot(HWND window, const std::filesystem::path& file);

}  // namespace quorvel::e2e
