#include "message_box.h"

#include "platform/utf16.h"
#include "platform/win32_error.h"
#include "control_table.h"
#include "scoped_cursor.h"

namespace quorvel::win32 {

void Win32MessageBox::Show(const std::string& text) {
    const std::wstring message = ToUtf16(text);
    const std::wstring title = ToUtf16(kMainWindow.caption);
    const ScopedCursor arrow(IDC_ARROW);
    MessageBoxW(owner_, message.c_str(), title.c_str(), MB_OK);
}

std::string ErrorTextFor(std::uint32_t hresult) {
    return platform::ErrorText(static_cast<HRESULT>(hresult));
}

}  // namespace quorvel::win32
