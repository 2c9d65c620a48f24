// Another process's windows, reached only as a user or an accessibility tool reaches them:
// top-level windows by owner process and title, controls by class and caption, texts through
// window messages, presses and picks as the notifications the controls themselves send.
// A window that does not answer within the deadline throws std::runtime_error.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

namespace quorvel::e2e {

inline constexpr std::string_view kAppTitle = "Quorvel";

// The text a control holds, asked of the control itself (edit fields keep their own).
std::string TextOf(HWND window);
// For the caption the window system keeps (titles, labels, buttons), which asks nothing of the
// program and so answers while it is busy: platform::WindowText.

// Every top-level window of the process, hidden ones included.
std::vector<HWND> TopLevelWindowsOf(DWORD processId);
// The process's top-level window titled "Quorvel" that is not a dialog box; nullptr if none.
HWND FindMainWindow(DWORD processId);
// The process's open dialog box (a message box); nullptr if none.
HWND FindDialog(DWORD processId);

struct MessageBoxView {
    std::string title;
    std::string text;
    // Captions of the visible push buttons.
    std::vector<std::string> buttons;
    // Whether a visible icon control holds an icon.
    bool hasIcon = false;
};

MessageBoxView ReadMessageBox(HWND box);
// Presses the box's OK button and waits until the box has gone.
void PressOk(HWND box);

class MainWindowUi {
public:
    // Finds the controls: throws when one is missing or ambiguous.
    explicit MainWindowUi(HWND window);

    HWND Window() const { return window_; }
    HWND Combo1() const { return combo1_; }
    HWND Text1() const { return text1_; }
    HWND Text2() const { return text2_; }
    // The push button with this caption.
    HWND Button(std::string_view caption) const;

    std::vector<std::string> Entries() const;
    // The control holding the keyboard focus in the window's thread.
    HWND Focus() const;

    // Picks entry `index` of the selector, as the list does when the user picks it.
    void PostPick(int index) const;
    // Replaces the text of the field (or of the selector's edit field), as typing does.
    void Type(HWND field, std::string_view text) const;
    // Presses the button. Posted: a handler that opens a modal box holds a sent message.
    void PostClick(HWND button) const;
    // Closes the window with the close button of its title bar.
    void PostClose() const;

    // Returns when every message posted to the window so far has been handled: the window is
    // idle or waits in a modal box that it opened meanwhile.
    void Settle() const;

    // The entry the selector's list has selected, -1 for none.
    int SelectedEntry() const;
    // The selector's dropped list while it is open; nullptr while it is closed.
    HWND DroppedList() const;
    // Where a click opens the selector's list: on its button, at the right end of its field.
    POINT DropButtonPoint() const;
    // The middle of entry `index` in the dropped list, on the screen.
    POINT EntryPoint(HWND list, int index) const;

private:
    HWND window_;
    HWND combo1_ = nullptr;
    HWND text1_ = nullptr;
    HWND text2_ = nullptr;
    std::vector<HWND> buttons_;
};

}  // namespace quorvel::e2e
