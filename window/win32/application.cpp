#include "window/win32/application.h"

#include "platform/com_apartment.h"
#include "window/event_dispatch.h"
#include "main_window.h"
#include "message_box.h"
#include "shell_process_start.h"

namespace quorvel::win32 {

int RunProgram(HINSTANCE instance, int showCommand, const ManagementFactory& makeManagement,
               const MessageBoxFactory& makeMessageBox) noexcept {
    try {
        const platform::ComApartment apartment;
        // Every COM object of the service goes before the apartment does.
        const std::unique_ptr<Management> management = makeManagement();
        return RunMainWindow(instance, *management, showCommand, makeMessageBox);
    } catch (...) {
        try {
            if (const auto box = makeMessageBox(nullptr))
                ReportCurrentException(*box, ErrorTextFor);
        } catch (...) {
            // No box to report with: the exit code still tells.
        }
        return kStartFailedExitCode;
    }
}

int RunMainWindow(HINSTANCE instance, Management& management, int showCommand,
                  const MessageBoxFactory& makeMessageBox) {
    ShellProcessStart processStart;
    MainWindow window(instance, management, processStart, makeMessageBox);
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
