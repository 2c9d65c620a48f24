// quorvel-sim.exe end to end: every scenario starts the shipped program as a process of its own
// on a machine file and works it only through its windows, then reads the file back.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <initializer_list>
#include <ostream>
#include <string>
#include <vector>

#include "platform/utf16.h"
#include "platform/window_text.h"
#include "machine_pipe.h"
#include "program_fixture.h"

namespace quorvel::e2e {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr char kSuccess[] = "DNS设置成功";

Json Servers(std::initializer_list<const char*> addresses) {
    Json list = Json::array();
    for (const char* address : addresses) list.push_back(address);
    return list;
}

Json Machine(std::initializer_list<Json> adapters) {
    Json list = Json::array();
    for (const Json& adapter : adapters) list.push_back(adapter);
    return Json{{"adapters", std::move(list)}};
}

const Json kQuorvelServers = Servers({"9.9.9.9", "149.112.112.112"});

using SimulatedProgram = ProgramTest;

TEST_F(SimulatedProgram, WindowShowsOnlyOnceTheListIsFilledWithAnEmptySelectorInFocus) {
    Json wanMiniport = AdapterEntry("WAN Miniport (IP)", nullptr);
    wanMiniport["IPEnabled"] = false;
    const Json machine = Machine({
        AdapterEntry("Realtek PCIe GbE Family Controller", Servers({"192.168.1.1"})),
        wanMiniport,
        AdapterEntry("Intel(R) Wi-Fi 6 AX201 160MHz", Servers({"8.8.8.8", "8.8.4.4"})),
        AdapterEntry("Realtek PCIe GbE Family Controller", nullptr),
    });
    // The program reads its machine once for the list and once for the first display; each time
    // it waits for the pipe, the window is looked at in that state.
    MachinePipe pipe(L"quorvel-e2e-" + std::to_wstring(GetCurrentProcessId()), 2);
    app_.emplace(kSimulatedProgram, std::filesystem::path(pipe.Path()));
    for (const char* read : {"the list", "the first display"}) {
        ASSERT_TRUE(pipe.WaitForRead()) << "the program did not read its machine for " << read;
        const HWND window = FindMainWindow(app_->Id());
        EXPECT_FALSE(window && IsWindowVisible(window))
            << "the window shows while the program still reads its machine for " << read;
        pipe.Deliver(machine.dump());
    }
    EXPECT_THAT(AwaitWindow(), IsEmpty());

    EXPECT_THAT(ui_->Entries(),
                ElementsAre("Realtek PCIe GbE Family Controller", "Intel(R) Wi-Fi 6 AX201 160MHz",
                            "Realtek PCIe GbE Family Controller"));
    EXPECT_EQ(Selector(), "");
    EXPECT_EQ(Text1(), "");
    EXPECT_EQ(Text2(), "");
    const HWND focus = ui_->Focus();
    EXPECT_TRUE(focus && (focus == ui_->Combo1() || IsChild(ui_->Combo1(), focus)))
        << "the focus is in a control of class \""
        << (focus ? ToUtf8(platform::ClassName(focus)) : "(none)") << "\" instead of the selector";
    Close();
}

TEST_F(SimulatedProgram, LoadErrorIsReportedAndTheWindowStillShows) {
    Json machine = Machine({AdapterEntry("Ethernet", Servers({"1.1.1.1"}))});
    machine["raise"] = {{"connect", "0x800706BA"}};
    WriteMachine(machine);
    EXPECT_THAT(Start(), ElementsAre("操作失败: The RPC server is unavailable. (0x800706BA)"));
    EXPECT_THAT(ui_->Entries(), IsEmpty());
    Close();
}

TEST_F(SimulatedProgram, PickShowsUpToTheFirstTwoServersOfThePickedAdapter) {
    WriteMachine(Machine({
        AdapterEntry("Two servers", Servers({"1.1.1.1", "1.0.0.1"})),
        AdapterEntry("One server", Servers({"8.8.8.8"})),
        AdapterEntry("Three servers", Servers({"9.9.9.9", "149.112.112.112", "208.67.222.222"})),
        AdapterEntry("No list", nullptr),
        AdapterEntry("Empty list", Json::array()),
    }));
    ASSERT_THAT(Start(), IsEmpty());
    const std::vector<std::string> entries = ui_->Entries();
    ASSERT_THAT(entries,
                ElementsAre("Two servers", "One server", "Three servers", "No list", "Empty list"));

    struct Shown {
        int entry;
        const char* text1;
        const char* text2;
    };
    // Every pick that shows less follows one that filled both fields, so emptying shows.
    for (const Shown& shown : {Shown{0, "1.1.1.1", "1.0.0.1"}, Shown{1, "8.8.8.8", ""},
                               Shown{2, "9.9.9.9", "149.112.112.112"}, Shown{3, "", ""},
                               Shown{0, "1.1.1.1", "1.0.0.1"}, Shown{4, "", ""}}) {
        const std::string& entry = entries[static_cast<std::size_t>(shown.entry)];
        SCOPED_TRACE("picked \"" + entry + "\"");
        EXPECT_THAT(Pick(shown.entry), IsEmpty());
        EXPECT_EQ(Selector(), entry);
        EXPECT_EQ(Text1(), shown.text1);
        EXPECT_EQ(Text2(), shown.text2);
        if (shown.entry == 2) SaveWindowPicture("main-window");
    }
    Close();
}

TEST_F(SimulatedProgram, SetQuorvelSetsTheServiceResolversOnThePickedAdapterOnly) {
    WriteMachine(Machine({AdapterEntry("Ethernet", Servers({"192.168.1.1"})),
                          AdapterEntry("Wi-Fi", Servers({"192.168.1.1"}))}));
    ASSERT_THAT(Start(), IsEmpty());
    ASSERT_THAT(Pick(1), IsEmpty());
    SaveNextBoxPicture("message-box");
    EXPECT_THAT(Press(kSetQuorvel), ElementsAre(kSuccess));
    EXPECT_EQ(StoredServers(1), kQuorvelServers);
    EXPECT_EQ(StoredServers(0), Servers({"192.168.1.1"}));
    EXPECT_EQ(Text1(), "9.9.9.9");
    EXPECT_EQ(Text2(), "149.112.112.112");
    Close();
}

struct CustomRow {
    std::string name;
    std::string typed1;
    std::string typed2;
    std::string box;
    std::vector<std::string> stored;
};

void PrintTo(const CustomRow& row, std::ostream* out) { *out << row.name; }

class CustomSetting : public ProgramTest, public ::testing::WithParamInterface<CustomRow> {};

TEST_P(CustomSetting, SetsWhatTheFieldsHoldAndShowsWhatTheAdapterThenHolds) {
    const CustomRow& row = GetParam();
    Json adapter = AdapterEntry("Ethernet", Servers({"8.8.8.8", "8.8.4.4"}));
    adapter["DHCPDNSServers"] = Servers({"192.168.1.1"});
    WriteMachine(Machine({adapter}));
    ASSERT_THAT(Start(), IsEmpty());
    ASSERT_THAT(Pick(0), IsEmpty());
    Type(ui_->Text1(), row.typed1);
    Type(ui_->Text2(), row.typed2);
    const std::string before = MachineText();

    EXPECT_THAT(Press(kCustom), ElementsAre(row.box));
    EXPECT_EQ(StoredServers(0), Json(row.stored));
    if (row.box != kSuccess) {
        EXPECT_EQ(MachineText(), before);
    }
    EXPECT_EQ(Text1(), row.stored.empty() ? "" : row.stored[0]);
    EXPECT_EQ(Text2(), row.stored.size() < 2 ? "" : row.stored[1]);
    Close();
}

INSTANTIATE_TEST_SUITE_P(
    Fields, CustomSetting,
    ::testing::Values(CustomRow{"Both", "1.1.1.1", "1.0.0.1", kSuccess, {"1.1.1.1", "1.0.0.1"}},
                      CustomRow{"PrimaryOnly", "1.1.1.1", "", kSuccess, {"1.1.1.1"}},
                      CustomRow{
                          "SecondaryOnlyBecomesPrimary", "", "1.0.0.1", kSuccess, {"1.0.0.1"}},
                      CustomRow{"BlankIsSentAndRefused",
                                " ",
                                "1.0.0.1",
                                "DNS设置失败: Invalid IP address.",
                                {"8.8.8.8", "8.8.4.4"}},
                      CustomRow{"BothEmptyMeansAutomatic", "", "", kSuccess, {"192.168.1.1"}}),
    [](const ::testing::TestParamInfo<CustomRow>& info) { return info.param.name; });

TEST_F(SimulatedProgram, AutomaticRestoresTheDhcpServersWhateverTheFieldsHold) {
    Json adapter = AdapterEntry("Ethernet", Servers({"8.8.8.8"}));
    adapter["DHCPDNSServers"] = Servers({"10.0.0.1", "10.0.0.2"});
    WriteMachine(Machine({adapter}));
    ASSERT_THAT(Start(), IsEmpty());
    ASSERT_THAT(Pick(0), IsEmpty());
    Type(ui_->Text1(), "1.1.1.1");
    EXPECT_THAT(Press(kAutomatic), ElementsAre(kSuccess));
    EXPECT_EQ(StoredServers(0), Servers({"10.0.0.1", "10.0.0.2"}));
    EXPECT_EQ(Text1(), "10.0.0.1");
    EXPECT_EQ(Text2(), "10.0.0.2");
    Close();
}

TEST_F(SimulatedProgram, SharedDescriptionChangesBothAdaptersOneBoxAtATime) {
    WriteMachine(Machine({AdapterEntry("Shared NIC", Servers({"1.1.1.1"})),
                          AdapterEntry("Other NIC", Servers({"2.2.2.2"})),
                          AdapterEntry("Shared NIC", Servers({"3.3.3.3"}))}));
    ASSERT_THAT(Start(), IsEmpty());
    ASSERT_THAT(ui_->Entries(), ElementsAre("Shared NIC", "Other NIC", "Shared NIC"));
    ASSERT_THAT(Pick(0), IsEmpty());
    // The adapter enumerated last is the one shown.
    EXPECT_EQ(Text1(), "3.3.3.3");

    const auto boxes = Press(kSetQuorvel, [this](std::size_t box) {
        // While the first box is open the second adapter is still untouched.
        EXPECT_EQ(StoredServers(0), kQuorvelServers) << "box " << box;
        EXPECT_EQ(StoredServers(2), box == 0 ? Servers({"3.3.3.3"}) : kQuorvelServers)
            << "box " << box;
    });
    EXPECT_THAT(boxes, ElementsAre(kSuccess, kSuccess));
    EXPECT_EQ(StoredServers(1), Servers({"2.2.2.2"}));
    EXPECT_EQ(Text1(), "9.9.9.9");
    Close();
}

TEST_F(SimulatedProgram, RefusedChangeIsReportedWithItsTextAndChangesNothing) {
    Json adapter = AdapterEntry("Ethernet", Servers({"192.168.1.1"}));
    adapter["SetDNSServerSearchOrderResult"] = 91;
    WriteMachine(Machine({adapter}));
    ASSERT_THAT(Start(), IsEmpty());
    ASSERT_THAT(Pick(0), IsEmpty());
    const std::string before = MachineText();
    EXPECT_THAT(Press(kSetQuorvel), ElementsAre("DNS设置失败: Access denied."));
    EXPECT_EQ(MachineText(), before);
    EXPECT_EQ(Text1(), "192.168.1.1");
    Close();
}

TEST_F(SimulatedProgram, AdapterGoneSinceStartUpKeepsTheFieldsAndChangesNothing) {
    WriteMachine(Machine({AdapterEntry("Gone NIC", Servers({"4.4.4.4", "5.5.5.5"})),
                          AdapterEntry("Staying NIC", Servers({"6.6.6.6"}))}));
    ASSERT_THAT(Start(), IsEmpty());
    ASSERT_THAT(Pick(0), IsEmpty());
    WriteMachine(Machine({AdapterEntry("Staying NIC", Servers({"6.6.6.6"}))}));
    const std::string before = MachineText();

    EXPECT_THAT(Pick(0), IsEmpty());
    EXPECT_EQ(Selector(), "Gone NIC");
    EXPECT_EQ(Text1(), "4.4.4.4");
    EXPECT_EQ(Text2(), "5.5.5.5");
    EXPECT_THAT(Press(kSetQuorvel), IsEmpty());
    EXPECT_EQ(MachineText(), before);
    EXPECT_EQ(Text1(), "4.4.4.4");
    // The list is never built again.
    EXPECT_THAT(ui_->Entries(), ElementsAre("Gone NIC", "Staying NIC"));
    Close();
}

TEST_F(SimulatedProgram, NullResultReportsAMissingAdapterAndLeavesTheFields) {
    const Json machine = Machine({AdapterEntry("Ethernet", Servers({"1.1.1.1", "1.0.0.1"}))});
    WriteMachine(machine);
    ASSERT_THAT(Start(), IsEmpty());
    ASSERT_THAT(Pick(0), IsEmpty());
    Json nullResult = machine;
    nullResult["nullResult"] = true;
    WriteMachine(nullResult);
    const std::string before = MachineText();
    Type(ui_->Text1(), "7.7.7.7");
    Type(ui_->Text2(), "");

    EXPECT_THAT(Press(kCustom), ElementsAre("所选网卡不存在。"));
    EXPECT_EQ(Text1(), "7.7.7.7");
    EXPECT_EQ(Text2(), "");
    EXPECT_EQ(MachineText(), before);
    Close();
}

enum class Action { Pick, SetQuorvel };

struct RaisedRow {
    std::string name;
    std::string operation;
    std::string hresult;
    Action action;
    std::string box;
};

void PrintTo(const RaisedRow& row, std::ostream* out) { *out << row.name; }

class RaisedError : public ProgramTest, public ::testing::WithParamInterface<RaisedRow> {};

TEST_P(RaisedError, IsReportedAndTheWindowKeepsWorking) {
    const RaisedRow& row = GetParam();
    const Json machine = Machine({AdapterEntry("Ethernet", Servers({"1.1.1.1"}))});
    WriteMachine(machine);
    ASSERT_THAT(Start(), IsEmpty());
    ASSERT_THAT(Pick(0), IsEmpty());
    Json raising = machine;
    raising["raise"] = {{row.operation, row.hresult}};
    WriteMachine(raising);
    const std::string before = MachineText();

    EXPECT_THAT(row.action == Action::Pick ? Pick(0) : Press(kSetQuorvel), ElementsAre(row.box));
    EXPECT_EQ(MachineText(), before);
    EXPECT_EQ(Text1(), "1.1.1.1");

    WriteMachine(machine);
    EXPECT_THAT(Press(kSetQuorvel), ElementsAre(kSuccess));
    EXPECT_EQ(StoredServers(0), kQuorvelServers);
    EXPECT_EQ(Text1(), "9.9.9.9");
    Close();
}

INSTANTIATE_TEST_SUITE_P(
    Operations, RaisedError,
    ::testing::Values(RaisedRow{"ConnectOnPick", "connect", "0x800706BA", Action::Pick,
                                "操作失败: The RPC server is unavailable. (0x800706BA)"},
                      RaisedRow{"QueryOnPick", "query", "0x80041017", Action::Pick,
                                "操作失败: Invalid query (0x80041017)"},
                      RaisedRow{"QueryOnApply", "query", "0x80041017", Action::SetQuorvel,
                                "操作失败: Invalid query (0x80041017)"},
                      RaisedRow{"MethodOnApply", "method", "0x80041004", Action::SetQuorvel,
                                "操作失败: Provider failure (0x80041004)"}),
    [](const ::testing::TestParamInfo<RaisedRow>& info) { return info.param.name; });

TEST_F(SimulatedProgram, DescriptionWithAnApostropheNamesOnlyItsOwnAdapter) {
    WriteMachine(Machine({AdapterEntry("O", Servers({"1.1.1.1"})),
                          AdapterEntry("O'Brien's USB NIC", Servers({"2.2.2.2"})),
                          AdapterEntry("Brien", Servers({"3.3.3.3"}))}));
    ASSERT_THAT(Start(), IsEmpty());
    ASSERT_THAT(Pick(1), IsEmpty());
    EXPECT_EQ(Text1(), "2.2.2.2");
    EXPECT_THAT(Press(kSetQuorvel), ElementsAre(kSuccess));
    EXPECT_EQ(StoredServers(1), kQuorvelServers);
    EXPECT_EQ(StoredServers(0), Servers({"1.1.1.1"}));
    EXPECT_EQ(StoredServers(2), Servers({"3.3.3.3"}));
    Close();
}

TEST_F(SimulatedProgram, TypedSelectorTextThatWouldWidenTheQueryChangesNothing) {
    WriteMachine(Machine({AdapterEntry("Ethernet", Servers({"1.1.1.1"})),
                          AdapterEntry("Wi-Fi", Servers({"2.2.2.2"}))}));
    ASSERT_THAT(Start(), IsEmpty());
    ASSERT_THAT(Pick(0), IsEmpty());
    const std::string before = MachineText();

    Type(ui_->Combo1(), "x' or IPEnabled=TRUE or Description='");
    // Typing looks nothing up.
    EXPECT_EQ(Text1(), "1.1.1.1");
    EXPECT_THAT(Press(kSetQuorvel), IsEmpty());
    EXPECT_THAT(Press(kAutomatic), IsEmpty());
    EXPECT_EQ(MachineText(), before);
    EXPECT_EQ(Text1(), "1.1.1.1");
    Close();
}

}  // namespace
}  // namespace quorvel::e2e
