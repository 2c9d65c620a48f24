#include "message_box.h"

#include "control_table.h"
#include "platform/utf16.h"

namespace quorvel::win32 {

void Win32MessageBox::Show(const std::string& text) {
    MessageBoxW(owner_, ToUtf16(text).c_str(), ToUtf16(kMainWindow.caption).c_str(), MB_OK);
}

}  // namespace quorvel::win32
