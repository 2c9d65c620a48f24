// The main window's code: its six event handlers and the procedures they call, written against
// the ports of ports.h and the management interface so that they run on Win32 and in host tests.
#pragma once

#include <string>

#include "management/management.h"
#include "window/ports.h"

namespace quorvel {

// Window-level fields shared by LoadAdapters and ShowAdapterDns; replaced at every call.
struct MainFields {
    LocatorRef Locator;
    ServiceRef Service;
    AdapterSetRef AdapterSet;
    AdapterRef Adapter;
    std::string Computer;
    std::string NameSpace;
    std::string QueryText;
};

class Main {
public:
    Main(Management& management, ComboBoxPort& combo1, TextBoxPort& text1, TextBoxPort& text2,
         MessageBoxPort& messageBox, ProcessStartPort& processStart);

    // Event handlers: each makes its one call and nothing else.
    void Main_Load();
    void Combo1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();

    // Procedures. None of them catches a ManagementError.
    void ApplyDns(const std::string& primary, const std::string& secondary);
    void LoadAdapters();
    void ShowAdapterDns();

    // Read-only: only the two display procedures write the fields.
    const MainFields& Fields() const { return fields_; }

private:
    MainFields fields_;
    Management& management_;
    ComboBoxPort& Combo1;
    TextBoxPort& Text1;
    TextBoxPort& Text2;
    MessageBoxPort& messageBox_;
    ProcessStartPort& processStart_;
};

}  // namespace quorvel
