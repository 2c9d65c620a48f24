// The main window's code wired to fakes, sharing one event log.
#pragma once

#include <string>
#include <string_view>

#include "fake_event_log.h"
#include "fake_management.h"
#include "fake_ports.h"
#include "window/main.h"

namespace quorvel::testing_support {

inline constexpr char kListQuery[] =
    "SELECT * FROM Win32_NetworkAdapterConfiguration where IPEnabled=TRUE";

// The display query for a selector text that needs no escaping.
inline std::string DisplayQuery(std::string_view description) {
    return "SELECT * FROM Win32_NetworkAdapterConfiguration where IPEnabled=TRUE and "
           "Description='" +
           std::string(description) + "'";
}

// The apply query for a selector text that needs no escaping.
inline std::string ApplyQuery(std::string_view description) {
    return "Select * from Win32_NetworkAdapterConfiguration where IPEnabled=TRUE and "
           "Description='" +
           std::string(description) + "'";
}

struct MainHarness {
    EventLog log;
    FakeManagement management{log};
    FakeComboBox combo1{log};
    FakeTextBox text1{log, "text1"};
    FakeTextBox text2{log, "text2"};
    FakeMessageBox messageBox{log};
    FakeProcessStart processStart{log};
    Main window{management, combo1, text1, text2, messageBox, processStart};
};

}  // namespace quorvel::testing_support
