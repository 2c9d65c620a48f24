// The main window `Main` on Win32: a fixed dialog frame around the controls of kControls, laid
// out from their twips at the window's DPI, with the handlers of quorvel::Main wired to them.
#pragma once

#include <windows.h>

#include <array>
#include <exception>
#include <functional>
#include <memory>

#include "management/management.h"
#include "window/main.h"
#include "window/ports.h"
#include "control_ports.h"
#include "control_table.h"
#include "platform/handles.h"
#include "window/win32/message_box_factory.h"

namespace quorvel::win32 {

class MainWindow {
public:
    // Creates the window and its controls hidden, sized for the DPI of its monitor and centred
    // on that monitor's work area. The help command goes to `processStart`; the messages go to
    // the box that `makeMessageBox` makes for this window. A window that cannot be made throws
    // (platform::Error for a failed Win32 call), and leaves no window behind.
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
    // errors end in DispatchEvent; any other error while creating the window makes the creation
    // fail and is raised again by the constructor, and one later is shown in the message box.
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam,
                                       LPARAM lParam) noexcept;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnFailedMessage(UINT message) noexcept;
    bool CreateControls();
    void RemoveSizingCommands();
    void ApplyDpi(unsigned dpi);
    void LayOutControls();
    // The window's size for its fixed client area at `dpi`.
    SIZE WindowSize(unsigned dpi) const;
    void SizeAndCentre();
    // Puts the window's top-left corner at (`left`, `top`), sized for its client area at the
    // window's DPI.
    void PlaceAt(int left, int top);
    void OnCommand(ControlId id, int notification);
    // Handlers that wait on the management service show the wait cursor meanwhile.
    enum class Wait { None, Management };
    void Dispatch(void (Main::*handler)(), Wait wait);

    HINSTANCE instance_;

    HWND window_ = nullptr;
    // What ended the creation of the window, raised again by the constructor.
    std::exception_ptr creationError_;
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
