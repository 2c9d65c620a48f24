// What the window's procedures need of the window system, as small interfaces: the Win32
// realisation implements them over real controls, host tests over fakes.
#pragma once

#include <string>

namespace quorvel {

// A drop-down combo box with an editable field and an unsorted list.
class ComboBoxPort {
public:
    virtual ~ComboBoxPort() = default;

    // Empties both the list and the edit field.
    virtual void Clear() = 0;
    // Appends at the end of the list.
    virtual void Append(const std::string& text) = 0;
    // The text the edit field shows: a picked entry or typed text.
    virtual std::string Text() const = 0;
};

// A single-line text box.
class TextBoxPort {
public:
    virtual ~TextBoxPort() = default;

    virtual std::string Text() const = 0;
    virtual void SetText(const std::string& text) = 0;
};

// The modal message box: OK button only, no icon, the application's title. Returns when the user
// has closed it.
class MessageBoxPort {
public:
    virtual ~MessageBoxPort() = default;

    virtual void Show(const std::string& text) = 0;
};

// Starts programs for the help command.
class ProcessStartPort {
public:
    virtual ~ProcessStartPort() = default;

    // The folder the platform's own programs live in (the Windows directory) as a full path.
    virtual std::string WindowsDirectory() const = 0;
    // Runs the program at `programPath`, a full path that is taken as it stands and never searched
    // for, with `commandLine` as its whole command line; the window state is minimized and
    // active, and the process is not waited for.
    virtual void StartMinimized(const std::string& programPath, const std::string& commandLine) = 0;
};

}  // namespace quorvel
