#include "window_class.h"

#include "platform/win32_error.h"

namespace quorvel::win32 {

void RegisterWindowClass(const WNDCLASSEXW& windowClass) {
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof(existing);
    if (GetClassInfoExW(windowClass.hInstance, windowClass.lpszClassName, &existing)) {
        if (existing.lpfnWndProc == windowClass.lpfnWndProc) return;
        platform::ThrowHresult(HRESULT_FROM_WIN32(ERROR_CLASS_ALREADY_EXISTS));
    }
    platform::ThrowLastErrorIf(RegisterClassExW(&windowClass) == 0);
}

}  // namespace quorvel::win32
