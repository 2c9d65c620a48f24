// Recording stand-ins for the window's controls, message box and process start.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "fake_event_log.h"
#include "window/ports.h"

namespace quorvel::testing_support {

class FakeComboBox : public ComboBoxPort {
public:
    explicit FakeComboBox(EventLog& log) : log_(log) {}

    void Clear() override {
        log_.Add("combo clear");
        items.clear();
        text.clear();
    }
    void Append(const std::string& item) override {
        log_.Add("combo append " + item);
        items.push_back(item);
    }
    std::string Text() const override { return text; }

    std::vector<std::string> items;
    // The edit field; a test sets it to pick an entry or to type.
    std::string text;

private:
    EventLog& log_;
};

class FakeTextBox : public TextBoxPort {
public:
    FakeTextBox(EventLog& log, std::string name) : log_(log), name_(std::move(name)) {}

    std::string Text() const override { return text; }
    void SetText(const std::string& newText) override {
        log_.Add(name_ + " = " + newText);
        text = newText;
    }

    // What the field shows; a test sets it to type.
    std::string text;

private:
    EventLog& log_;
    std::string name_;
};

class FakeMessageBox : public MessageBoxPort {
public:
    explicit FakeMessageBox(EventLog& log) : log_(log) {}

    void Show(const std::string& text) override {
        log_.Add("box " + text);
        shown.push_back(text);
    }

    std::vector<std::string> shown;

private:
    EventLog& log_;
};

class FakeProcessStart : public ProcessStartPort {
public:
    explicit FakeProcessStart(EventLog& log) : log_(log) {}

    std::string WindowsDirectory() const override {
        if (directoryUnknown) throw std::runtime_error("no Windows directory");
        return windowsDirectory;
    }
    void StartMinimized(const std::string& programPath, const std::string& commandLine) override {
        log_.Add("start " + programPath + " | " + commandLine);
    }

    // What WindowsDirectory answers; a test sets it to move the Windows directory.
    std::string windowsDirectory = "C:\\Windows";
    // WindowsDirectory throws instead, as when the platform cannot tell.
    bool directoryUnknown = false;

private:
    EventLog& log_;
};

}  // namespace quorvel::testing_support
