#include "window/win32/application.h"

#include "main_window.h"
#include "shell_process_start.h"

namespace quorvel::win32 {

int RunMainWindow(HINSTANCE instance, Management& management, int showCommand) {
    ShellProcessStart processStart;
    MainWindow window(instance, management, processStart);
    window.Load();
    window.Show(showCommand);

    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        // The dialog manager moves the focus with Tab; Enter and Esc come to nothing.
        if (window.Handle() && IsDialogMessageW(window.Handle(), &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

}  // namespace quorvel::win32
