// Two quorvel-sim.exe processes on one machine file, each pressing DNS commands at the same
// moment as the other, one of them killed in the middle of a change now and then: after every
// round the file is valid JSON and holds every change a window acknowledged with its success box.
// QUORVEL_E2E_ROUNDS sets the number of rounds (a few by default, to keep the suite short).
// Also here: a hostile machine file, as the shipped program reports it.
#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "program_fixture.h"

namespace quorvel::e2e {
namespace {

constexpr char kSuccess[] = "DNS设置成功";
constexpr int kDefaultRounds = 6;
// Every third round kills the second window right after its click, at a varying moment.
constexpr int kKillEvery = 3;

int Rounds() {
    char value[16] = {};
    const DWORD length = GetEnvironmentVariableA("QUORVEL_E2E_ROUNDS", value, sizeof value);
    const int rounds = length > 0 && length < sizeof value ? std::atoi(value) : 0;
    return rounds > 0 ? rounds : kDefaultRounds;
}

Json DhcpServers(std::size_t window) {
    return Json::array({"10." + std::to_string(window) + ".255.1"});
}

// One running program that works its own adapter.
class Window {
public:
    Window(const std::filesystem::path& machineFile, std::size_t adapter)
        : app_(kSimulatedProgram, machineFile) {
        const auto end = std::chrono::steady_clock::now() + kDeadline;
        HWND window = FindMainWindow(app_.Id());
        while (!window || !IsWindowVisible(window)) {
            if (FindDialog(app_.Id()) || std::chrono::steady_clock::now() > end)
                throw std::runtime_error("the window did not show without a message box");
            std::this_thread::sleep_for(5ms);
            window = FindMainWindow(app_.Id());
        }
        ui_.emplace(window);
        ui_->PostPick(static_cast<int>(adapter));
        if (!AnswerBoxes().empty()) throw std::runtime_error("picking the adapter opened a box");
    }

    // Starts a command without waiting for it: the custom one with `typed`, else automatic.
    void Post(const std::optional<Json>& typed) {
        if (typed) {
            ui_->Type(ui_->Text1(), typed->at(0).get<std::string>());
            ui_->Type(ui_->Text2(), typed->at(1).get<std::string>());
        }
        ui_->PostClick(ui_->Button(typed ? kCustom : kAutomatic));
    }

    // Waits for the command to end, answering each box with OK; the texts of the boxes.
    std::vector<std::string> AnswerBoxes() {
        std::vector<std::string> texts;
        while (true) {
            ui_->Settle();
            const HWND box = FindDialog(app_.Id());
            if (!box) return texts;
            if (texts.size() > 4) throw std::runtime_error("the program keeps opening boxes");
            texts.push_back(ReadMessageBox(box).text);
            PressOk(box);
        }
    }

    bool Running() const { return app_.Running(); }

private:
    AppProcess app_;
    std::optional<MainWindowUi> ui_;
};

using SharedMachineFile = ProgramTest;

TEST_F(SharedMachineFile, TwoProgramsChangingAtOnceLoseNoAcknowledgedChange) {
    Json adapters = Json::array();
    for (std::size_t window = 0; window < 2; ++window) {
        Json adapter = AdapterEntry("Adapter " + std::to_string(window), nullptr);
        adapter["DHCPDNSServers"] = DhcpServers(window);
        adapters.push_back(adapter);
    }
    WriteMachine(Json{{"adapters", adapters}});

    std::vector<std::optional<Window>> windows(2);
    for (std::size_t w = 0; w < 2; ++w) windows[w].emplace(MachineFile(), w);
    // What each adapter must hold; a change cut off by the kill may or may not have landed.
    std::vector<Json> acknowledged(2, nullptr);
    std::optional<Json> unacknowledged;

    const int rounds = Rounds();
    int kills = 0;
    for (int round = 0; round < rounds; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        std::vector<Json> sent;
        for (std::size_t w = 0; w < 2; ++w) {
            std::optional<Json> typed;
            if (round % 4 != 3) {
                const std::string prefix =
                    "10." + std::to_string(w) + "." + std::to_string(round) + ".";
                typed = Json::array({prefix + "1", prefix + "2"});
            }
            sent.push_back(typed ? *typed : DhcpServers(w));
            windows[w]->Post(typed);
        }
        const bool kill = round % kKillEvery == kKillEvery - 1;
        if (kill) {
            std::this_thread::sleep_for(std::chrono::milliseconds(round * 7 % 40));
            windows[1].reset();  // TerminateProcess, whatever it is doing
            unacknowledged = sent[1];
            ++kills;
        }
        for (std::size_t w = 0; w < 2; ++w) {
            if (!windows[w]) continue;
            const std::vector<std::string> boxes = windows[w]->AnswerBoxes();
            EXPECT_EQ(boxes, std::vector<std::string>{kSuccess}) << "window " << w;
            if (boxes == std::vector<std::string>{kSuccess}) acknowledged[w] = sent[w];
        }

        const Json machine = Json::parse(MachineText(), nullptr, false);
        ASSERT_FALSE(machine.is_discarded()) << "the machine file is malformed:\n" << MachineText();
        EXPECT_EQ(machine["adapters"][0]["DNSServerSearchOrder"], acknowledged[0]);
        const Json& second = machine["adapters"][1]["DNSServerSearchOrder"];
        if (!(unacknowledged && second == *unacknowledged)) {
            EXPECT_EQ(second, acknowledged[1]);
        } else {
            acknowledged[1] = *unacknowledged;  // it landed before the kill
        }
        unacknowledged.reset();

        if (!windows[1]) windows[1].emplace(MachineFile(), 1);
    }
    for (auto& window : windows) EXPECT_TRUE(window->Running());
    std::printf("%d rounds, %d kills\n", rounds, kills);
}

// A machine file whose error once quoted all of its megabytes: the box took minutes to appear.
TEST_F(SharedMachineFile, AHugeMalformedFileIsReportedAtOnceInAShortBox) {
    {
        std::ofstream out(MachineFile(), std::ios::binary | std::ios::trunc);
        out << R"({ "adapters": [ { "Description": ")" << std::string(5'000'000, 'a');
    }
    const auto start = std::chrono::steady_clock::now();
    const std::vector<std::string> boxes = Start();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
    ASSERT_EQ(boxes.size(), 1u);
    ASSERT_LT(boxes[0].size(), 800u);
    EXPECT_EQ(boxes[0].rfind("操作失败: Machine file \"", 0), 0u) << boxes[0];
    EXPECT_NE(boxes[0].find("malformed JSON"), std::string::npos) << boxes[0];
    EXPECT_NE(boxes[0].find("(0x80041001)"), std::string::npos) << boxes[0];
    Close();
}

}  // namespace
}  // namespace quorvel::e2e
