// A scenario's program: starts it on a machine file, answers the message boxes it opens while
// checking that each follows the program's convention, and closes it through its close button.
#pragma once

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app_process.h"
#include "ui.h"

namespace quorvel::e2e {

using Json = nlohmann::ordered_json;

inline constexpr wchar_t kSimulatedProgram[] = L"quorvel-sim.exe";
inline constexpr wchar_t kWmiProgram[] = L"quorvel.exe";

// Captions of the commands.
inline constexpr std::string_view kSetQuorvel = "设置Quorvel";
inline constexpr std::string_view kCustom = "自定义设置";
inline constexpr std::string_view kAutomatic = "自动获取";

// One adapter of a machine file; `servers` is an array of addresses or null.
Json AdapterEntry(std::string_view description, Json servers);

class ProgramTest : public ::testing::Test {
protected:
    // Called for each message box while it is still open, with its place among the boxes of
    // one action.
    using WhileOpen = std::function<void(std::size_t)>;

    // This scenario's machine file: build/<preset>/e2e/machines/<test name>.json.
    const std::filesystem::path& MachineFile() const { return machineFile_; }
    void WriteMachine(const Json& machine) const;
    // The file as it stands, and its adapters' DNSServerSearchOrder.
    std::string MachineText() const;
    Json StoredServers(std::size_t adapter) const;

    // Starts quorvel-sim.exe on this scenario's machine file and waits for its window to show;
    // the texts of the message boxes that opened meanwhile.
    std::vector<std::string> Start() { return StartProgram(kSimulatedProgram, machineFile_); }
    // The same for any of the programs; no machine file is named when `machine` is empty.
    std::vector<std::string> StartProgram(const wchar_t* program,
                                          const std::optional<std::filesystem::path>& machine);
    // Waits for the window of the program already started to show; as Start.
    std::vector<std::string> AwaitWindow();

    // The actions of a user; each returns the texts of the message boxes it led to, in order,
    // after answering every one with OK.
    std::vector<std::string> Pick(int index);
    std::vector<std::string> Press(std::string_view caption, const WhileOpen& whileOpen = {});
    // For an action given as keystrokes or clicks, which the program takes in its own time: waits
    // until the first box opens, then goes on as Press.
    std::vector<std::string> AwaitBoxes(const WhileOpen& whileOpen = {});
    void Type(HWND field, std::string_view text) const { ui_->Type(field, text); }

    // Closes the window through its close button; the program must end, with exit code 0.
    void Close();

    std::string Selector() const { return TextOf(ui_->Combo1()); }
    std::string Text1() const { return TextOf(ui_->Text1()); }
    std::string Text2() const { return TextOf(ui_->Text2()); }

    // Saves a picture of the window, or of the first message box an action opens, for review.
    void SaveWindowPicture(const std::string& name) const;
    void SaveNextBoxPicture(const std::string& name) { boxPicture_ = name; }

    std::optional<AppProcess> app_;
    std::optional<MainWindowUi> ui_;

private:
    std::vector<std::string> AnswerBoxes(const WhileOpen& whileOpen);

    std::filesystem::path machineFile_ = DefaultMachineFile();
    std::optional<std::string> boxPicture_;

    static std::filesystem::path DefaultMachineFile();
};

}  // namespace quorvel::e2e
