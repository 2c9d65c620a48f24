#include "picture_box.h"

#include "platform/handles.h"
#include "window_class.h"

namespace quorvel::win32 {
namespace {

void Paint(HWND pictureBox, HDC dc) {
    RECT client{};
    GetClientRect(pictureBox, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    const auto bitmap = reinterpret_cast<HBITMAP>(GetWindowLongPtrW(pictureBox, GWLP_USERDATA));
    if (!bitmap) return;
    BITMAP size{};
    GetObjectW(bitmap, sizeof(size), &size);
    const platform::UniqueMemoryDc source(CreateCompatibleDC(dc));
    if (!source) return;
    const platform::SelectedObject selected(source.get(), bitmap);
    if (selected) BitBlt(dc, 0, 0, size.bmWidth, size.bmHeight, source.get(), 0, 0, SRCCOPY);
}

LRESULT CALLBACK PictureBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    switch (message) {
        case WM_ERASEBKGND:
            return 1;  // Paint fills the whole box
        case WM_PAINT: {
            PAINTSTRUCT paint{};
            const HDC dc = BeginPaint(window, &paint);
            Paint(window, dc);
            EndPaint(window, &paint);
            return 0;
        }
        case WM_PRINTCLIENT:
            Paint(window, reinterpret_cast<HDC>(wParam));
            return 0;
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

void RegisterPictureBoxClass(HINSTANCE instance) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = PictureBoxProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kPictureBoxClass;
    RegisterWindowClass(windowClass);
}

void SetPictureBoxBitmap(HWND pictureBox, HBITMAP bitmap) {
    SetWindowLongPtrW(pictureBox, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(bitmap));
    InvalidateRect(pictureBox, nullptr, TRUE);
}

}  // namespace quorvel::win32
