// Window classes of this program, registered for the process.
#pragma once

#include <windows.h>

namespace quorvel::win32 {

// Registers `windowClass`, or accepts the registration already made with the same window
// procedure. A class of that name with another procedure (registered by other code in the
// process) would give our windows a procedure that is not ours: that throws platform::Error with
// ERROR_CLASS_ALREADY_EXISTS, as a failed registration throws its own code.
void RegisterWindowClass(const WNDCLASSEXW& windowClass);

}  // namespace quorvel::win32
