// quorvel-sim.exe driven with the keyboard and the mouse: every key and click goes through the
// window system's input queue to the program's own message loop, as a user's does.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <initializer_list>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "platform/utf16.h"
#include "platform/window_text.h"
#include "program_fixture.h"
#include "user_input.h"

namespace quorvel::e2e {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

constexpr char kSuccess[] = "DNS设置成功";
constexpr char kHelp[] = "帮 助";

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

// Four adapters whose fields differ from entry to entry, so that a display of the wrong entry
// shows.
struct Adapter {
    const char* description;
    const char* text1;
    const char* text2;
};
constexpr Adapter kAdapters[] = {
    {"Realtek PCIe GbE Family Controller", "192.168.1.1", "192.168.1.2"},
    {"Intel(R) Wi-Fi 6 AX201 160MHz", "8.8.8.8", ""},
    {"TAP-Windows Adapter V9", "10.8.0.1", "10.8.0.2"},
    {"Bluetooth Device (Personal Area Network)", "", ""},
};

Json FourAdapters() {
    return Machine({AdapterEntry(kAdapters[0].description, Servers({"192.168.1.1", "192.168.1.2"})),
                    AdapterEntry(kAdapters[1].description, Servers({"8.8.8.8"})),
                    AdapterEntry(kAdapters[2].description, Servers({"10.8.0.1", "10.8.0.2"})),
                    AdapterEntry(kAdapters[3].description, nullptr)});
}

// A key, and the modifier key held down with it (0 for none).
struct Chord {
    WORD key;
    WORD held = 0;
};

class UserInput : public ProgramTest {
protected:
    void StartInFront(const Json& machine) {
        WriteMachine(machine);
        ASSERT_THAT(Start(), IsEmpty());
        // A dropped list follows the mouse resting over it; keys alone must decide the pick.
        ParkMouse();
        BringToForeground(ui_->Window());
    }

    // The keyboard goes to the foreground window; after a message box it is the main window again.
    void Press(const Chord& chord) {
        BringToForeground(ui_->Window());
        if (chord.held) {
            PressKey(chord.key, {chord.held});
        } else {
            PressKey(chord.key);
        }
    }
    void TypeInFront(std::string_view text) {
        BringToForeground(ui_->Window());
        TypeKeys(text);
    }
    void Click(POINT point) {
        BringToForeground(ui_->Window());
        ClickAt(point);
    }

    // Polls until `done` holds. The program takes input in its own time, so every check of an
    // effect waits for it; a message box that opens meanwhile ends the wait, as does the deadline.
    template <class Done>
    void Await(const std::string& what, Done done) const {
        const auto end = std::chrono::steady_clock::now() + kDeadline;
        while (!done()) {
            if (const HWND box = FindDialog(app_->Id())) {
                const std::string text = ReadMessageBox(box).text;
                throw std::runtime_error("a message box" +
                                         (text.empty() ? "" : " \"" + text + "\"") +
                                         " opened while waiting for " + what);
            }
            if (std::chrono::steady_clock::now() > end)
                throw std::runtime_error("no " + what + " within " +
                                         std::to_string(kDeadline.count()) + " ms");
            std::this_thread::sleep_for(2ms);
        }
    }

    // The control that holds the focus, named as the window's designer names it (buttons by
    // their caption).
    std::string FocusName() const {
        const HWND focus = ui_->Focus();
        if (!focus) return "(none)";
        if (focus == ui_->Combo1() || IsChild(ui_->Combo1(), focus)) return "Combo1";
        if (focus == ui_->Text1()) return "Text1";
        if (focus == ui_->Text2()) return "Text2";
        for (const std::string_view caption : {kSetQuorvel, kCustom, kAutomatic}) {
            if (focus == ui_->Button(caption)) return std::string(caption);
        }
        if (focus == ui_->Button(kHelp)) return kHelp;
        // The banner covers the window's top-left corner.
        if (focus == ChildWindowFromPointEx(ui_->Window(), {1, 1}, CWP_SKIPINVISIBLE))
            return "Picture1";
        return "a " + ToUtf8(platform::ClassName(focus));
    }

    // Presses the chord and waits for the focus to move; where it went.
    std::string MoveFocus(const Chord& chord) {
        const HWND from = ui_->Focus();
        Press(chord);
        Await("focus leaving " + FocusName(), [this, from] {
            const HWND focus = ui_->Focus();
            return focus && focus != from;
        });
        return FocusName();
    }

    // Opens the selector's list with `open`, walks it with the arrow keys to each entry of
    // `path` in turn, and takes the last one with Enter.
    void PickWithKeys(const Chord& open, const std::vector<int>& path) {
        Press(open);
        Await("dropped list", [this] { return ui_->DroppedList() != nullptr; });
        for (const int entry : path) {
            for (int at = ui_->SelectedEntry(); at != entry; at = ui_->SelectedEntry()) {
                Press({static_cast<WORD>(at < entry ? VK_DOWN : VK_UP)});
                Await("move away from entry " + std::to_string(at),
                      [this, at] { return ui_->SelectedEntry() != at; });
            }
        }
        Press({VK_RETURN});
        Await("closing of the list", [this] { return ui_->DroppedList() == nullptr; });
    }

    // Opens the selector's list with its button and clicks the entry.
    void PickWithMouse(int entry) {
        Click(ui_->DropButtonPoint());
        HWND list = nullptr;
        Await("dropped list", [this, &list] { return (list = ui_->DroppedList()) != nullptr; });
        Click(ui_->EntryPoint(list, entry));
        Await("closing of the list", [this] { return ui_->DroppedList() == nullptr; });
    }

    void ExpectShown(int entry) const {
        const Adapter& adapter = kAdapters[entry];
        EXPECT_EQ(Selector(), adapter.description);
        EXPECT_EQ(Text1(), adapter.text1);
        EXPECT_EQ(Text2(), adapter.text2);
    }

    // Types into the field that has the focus and waits until it holds the text.
    void TypeInto(HWND field, std::string_view text) {
        TypeInFront(text);
        Await("text \"" + std::string(text) + "\" in the field",
              [field, text] { return TextOf(field) == text; });
    }
};

TEST_F(UserInput, TabAndShiftTabWalkTheWholeTabOrderFromTheSelector) {
    StartInFront(Machine({AdapterEntry("Ethernet", Servers({"1.1.1.1"}))}));
    ASSERT_EQ(FocusName(), "Combo1");

    const std::vector<std::string> forward = {"Text2",
                                              "Text1",
                                              std::string(kSetQuorvel),
                                              std::string(kCustom),
                                              std::string(kAutomatic),
                                              kHelp,
                                              "Picture1",
                                              "Combo1",
                                              "Text2"};
    std::vector<std::string> walked;
    for (std::size_t step = 0; step < forward.size(); ++step) walked.push_back(MoveFocus({VK_TAB}));
    EXPECT_THAT(walked, ElementsAreArray(forward));

    const std::vector<std::string> backward = {"Combo1",
                                               "Picture1",
                                               kHelp,
                                               std::string(kAutomatic),
                                               std::string(kCustom),
                                               std::string(kSetQuorvel),
                                               "Text1",
                                               "Text2",
                                               "Combo1"};
    walked.clear();
    for (std::size_t step = 0; step < backward.size(); ++step)
        walked.push_back(MoveFocus({VK_TAB, VK_SHIFT}));
    EXPECT_THAT(walked, ElementsAreArray(backward));
    Close();
}

TEST_F(UserInput, EnterAndEscClickNothingBeforeAButtonHadTheFocus) {
    Json adapter = AdapterEntry("Ethernet", Servers({"1.1.1.1", "1.0.0.1"}));
    adapter["DHCPDNSServers"] = Servers({"192.168.1.1"});
    StartInFront(Machine({adapter}));
    // A closed list picks with the arrow keys too; an adapter is named, so a click would change it.
    Press({VK_DOWN});
    Await("pick of the first entry", [this] { return Text1() == "1.1.1.1"; });
    const std::string before = MachineText();

    // Each move of the focus shows that the keys before it have been handled and that no box
    // holds the window.
    struct Step {
        Chord move;
        const char* to;
    };
    for (const Step& step :
         {Step{{VK_TAB}, "Text2"}, Step{{VK_TAB}, "Text1"}, Step{{VK_TAB, VK_SHIFT}, "Text2"}}) {
        Press({VK_RETURN});
        Press({VK_ESCAPE});
        EXPECT_EQ(MoveFocus(step.move), step.to);
    }
    EXPECT_EQ(FindDialog(app_->Id()), nullptr);
    EXPECT_TRUE(IsWindowVisible(ui_->Window()));
    EXPECT_EQ(MachineText(), before);
    EXPECT_EQ(Selector(), "Ethernet");
    EXPECT_EQ(Text1(), "1.1.1.1");
    EXPECT_EQ(Text2(), "1.0.0.1");
    Close();
}

struct KeyPickRow {
    std::string name;
    Chord open;
    std::vector<int> path;
};

void PrintTo(const KeyPickRow& row, std::ostream* out) { *out << row.name; }

class KeyboardPick : public UserInput, public ::testing::WithParamInterface<KeyPickRow> {};

// The list reports each move before its field shows the entry moved to.
TEST_P(KeyboardPick, ShowsTheServersOfTheEntryTakenWithEnter) {
    const KeyPickRow& row = GetParam();
    StartInFront(FourAdapters());
    PickWithKeys(row.open, row.path);
    ExpectShown(row.path.back());
    EXPECT_EQ(FindDialog(app_->Id()), nullptr);
    Close();
}

INSTANTIATE_TEST_SUITE_P(
    Keys, KeyboardPick,
    ::testing::Values(KeyPickRow{"F4AndDown", {VK_F4}, {2}},
                      KeyPickRow{"AltDownThenDownAndBackUp", {VK_DOWN, VK_MENU}, {3, 1}},
                      KeyPickRow{"F4AndUpToTheFirst", {VK_F4}, {2, 0}}),
    [](const ::testing::TestParamInfo<KeyPickRow>& info) { return info.param.name; });

TEST_F(UserInput, MousePickFromTheDroppedListShowsThatEntrysServers) {
    StartInFront(FourAdapters());
    // Every entry that shows less follows one that filled both fields, so emptying shows.
    for (const int entry : {2, 1, 0, 3, 2}) {
        SCOPED_TRACE("clicked entry " + std::to_string(entry));
        PickWithMouse(entry);
        ExpectShown(entry);
    }
    EXPECT_EQ(FindDialog(app_->Id()), nullptr);
    Close();
}

TEST_F(UserInput, TypedServersAreSetWithSpaceOnTheCommandTabbedTo) {
    StartInFront(Machine({AdapterEntry("Ethernet", Servers({"8.8.8.8", "8.8.4.4"}))}));
    Press({VK_DOWN});
    Await("pick of the first entry", [this] { return Text1() == "8.8.8.8"; });

    // Tabbing into a field selects what it holds, so typing replaces it.
    ASSERT_EQ(MoveFocus({VK_TAB}), "Text2");
    TypeInto(ui_->Text2(), "1.0.0.1");
    ASSERT_EQ(MoveFocus({VK_TAB}), "Text1");
    TypeInto(ui_->Text1(), "1.1.1.1");
    ASSERT_EQ(MoveFocus({VK_TAB}), kSetQuorvel);
    ASSERT_EQ(MoveFocus({VK_TAB}), kCustom);
    Press({VK_SPACE});

    EXPECT_THAT(AwaitBoxes(), ElementsAre(kSuccess));
    EXPECT_EQ(StoredServers(0), Servers({"1.1.1.1", "1.0.0.1"}));
    EXPECT_EQ(Text1(), "1.1.1.1");
    EXPECT_EQ(Text2(), "1.0.0.1");
    Close();
}

TEST_F(UserInput, TypedServerIsSetWithAMouseClickOnTheCommand) {
    StartInFront(FourAdapters());
    PickWithMouse(3);
    ExpectShown(3);

    Click(CentreOf(ui_->Text1()));
    Await("focus in Text1", [this] { return ui_->Focus() == ui_->Text1(); });
    TypeInto(ui_->Text1(), "9.9.9.9");
    const std::string before = MachineText();
    Click(CentreOf(ui_->Button(kCustom)));

    EXPECT_THAT(AwaitBoxes(), ElementsAre(kSuccess));
    EXPECT_EQ(StoredServers(3), Servers({"9.9.9.9"}));
    EXPECT_EQ(Text1(), "9.9.9.9");
    EXPECT_EQ(Text2(), "");
    for (const std::size_t other : {0u, 1u, 2u}) {
        EXPECT_EQ(StoredServers(other),
                  Json::parse(before).at("adapters").at(other).at("DNSServerSearchOrder"))
            << "adapter " << other;
    }
    Close();
}

TEST_F(UserInput, TextTypedIntoTheSelectorLooksNothingUpAndNamesTheAdapterToChange) {
    StartInFront(Machine({AdapterEntry("Ethernet", Servers({"1.1.1.1"})),
                          AdapterEntry("Wi-Fi", Servers({"2.2.2.2"}))}));
    Press({VK_DOWN});
    Await("pick of the first entry", [this] { return Text1() == "1.1.1.1"; });

    Press({VK_HOME});
    Press({VK_END, VK_SHIFT});
    TypeInto(ui_->Combo1(), "Wi-Fi");
    EXPECT_EQ(Text1(), "1.1.1.1");
    Click(CentreOf(ui_->Button(kSetQuorvel)));

    EXPECT_THAT(AwaitBoxes(), ElementsAre(kSuccess));
    EXPECT_EQ(StoredServers(1), Servers({"9.9.9.9", "149.112.112.112"}));
    EXPECT_EQ(StoredServers(0), Servers({"1.1.1.1"}));
    EXPECT_EQ(Text1(), "9.9.9.9");
    Close();
}

}  // namespace
}  // namespace quorvel::e2e
