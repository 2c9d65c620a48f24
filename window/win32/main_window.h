// The main window `Main` on Win32: a fixed dialog frame around the controls of kControls, laid
// out from their twips at the window's DPI, with the handlers of quorvel::Main wired to them.
#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <memory>

#include "management/management.h"
#include "window/main.h"
#include "window/ports.h"
#include "control_ports.h"
#include "control_table.h"
#include "platform/handles.h"

namespace quorvel::win32 {

// Makes the window's message box, modal to `owner`, the main window.
using MessageBoxFactory = std::function<std::unique_ptr<MessageBoxPort>(HWND owner)>;

// The program's own box: a Win32MessageBox.
std::unique_ptr<MessageBoxPort> MakeWin32MessageBox(HWND owner);

class MainWindow {
public:
    // Creates the window and its controls hidden, sized for the DPI of its monitor and centred
    // on that monitor's work area. The help command goes to `processStart`; the messages go to
    // the box that `makeMessageBox` makes for this window.
    MainWindow(HINSTANCE instance, Management& management, ProcessStartPort& processStart,
               const MessageBoxFactory& makeMessageBox = MakeWin32MessageBox);
    ~MainWindow();
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // Null once the window has been closed.
    HWND Handle() const { return window_; }
    HWND Control(ControlId id) const;
    unsigned Dpi() const { return dpi_; }

    // Raises the Load event; the window stays hidden meanwhile.
    void Load();
    // Shows the window the way `showCommand` asks; the focus goes to Combo1.
    void Show(int showCommand);

private:
    // noexcept: no C++ exception may unwind through the system's frames. The handlers' own
    // errors end in DispatchEvent.
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam,
                                       LPARAM lParam) noexcept;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    bool CreateControls();
    void RemoveSizingCommands();
    void ApplyDpi(unsigned dpi);
    void LayOutControls();
    void SizeAndCentre();
    void OnCommand(ControlId id, int notification);
    void Dispatch(void (Main::*handler)());

    HINSTANCE instance_;

    HWND window_ = nullptr;
    std::array<HWND, kControls.size()> controls_{};
    unsigned dpi_ = 96;
    platform::UniqueFont font_;
    platform::UniqueBitmap banner_;
    platform::UniqueIcon bigIcon_;
    platform::UniqueIcon smallIcon_;
    // Where the focus goes back to when the window is activated again.
    HWND focus_ = nullptr;

    std::unique_ptr<MessageBoxPort> messageBox_;
    std::unique_ptr<Win32ComboBox> combo1_;
    std::unique_ptr<Win32TextBox> text1_;
    std::unique_ptr<Win32TextBox> text2_;
    std::unique_ptr<Main> main_;
};

}  // namespace quorvel::win32
