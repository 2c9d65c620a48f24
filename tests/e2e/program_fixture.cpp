#include "program_fixture.h"

#include <fstream>
#include <iterator>
#include <stdexcept>
#include <thread>
#include <utility>

#include "platform/com_apartment.h"
#include "screenshot.h"

namespace quorvel::e2e {
namespace {

using Clock = std::chrono::steady_clock;

// A program that keeps opening boxes would never let an action end.
constexpr std::size_t kMostBoxesPerAction = 20;

// Polls `found` until it yields a window, or throws naming `what`.
template <class Find>
HWND WaitFor(Find found, const std::string& what) {
    const auto end = Clock::now() + kDeadline;
    while (true) {
        if (const HWND window = found()) return window;
        if (Clock::now() > end)
            throw std::runtime_error("no " + what + " within " + std::to_string(kDeadline.count()) +
                                     " ms");
        std::this_thread::sleep_for(5ms);
    }
}

}  // namespace

Json AdapterEntry(std::string_view description, Json servers) {
    return Json{{"Description", description}, {"DNSServerSearchOrder", std::move(servers)}};
}

std::filesystem::path ProgramTest::DefaultMachineFile() {
    const ::testing::TestInfo& test = *::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(test.test_suite_name()) + "." + test.name();
    for (char& c : name) {
        if (c == '/') c = '_';
    }
    const std::filesystem::path directory = OutputDirectory() / "machines";
    std::filesystem::create_directories(directory);
    return directory / (name + ".json");
}

void ProgramTest::WriteMachine(const Json& machine) const {
    std::ofstream out(machineFile_, std::ios::binary | std::ios::trunc);
    out << machine.dump(2) << "\n";
    if (!out.flush()) throw std::runtime_error("cannot write " + machineFile_.string());
}

std::string ProgramTest::MachineText() const {
    std::ifstream in(machineFile_, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + machineFile_.string());
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

Json ProgramTest::StoredServers(std::size_t adapter) const {
    return Json::parse(MachineText()).at("adapters").at(adapter).at("DNSServerSearchOrder");
}

std::vector<std::string> ProgramTest::StartProgram(
    const wchar_t* program, const std::optional<std::filesystem::path>& machine) {
    app_.emplace(program, machine);
    return AwaitWindow();
}

std::vector<std::string> ProgramTest::AwaitWindow() {
    const DWORD id = app_->Id();
    const HWND window = WaitFor([id] { return FindMainWindow(id); }, "window titled Quorvel");
    // The controls exist once the window shows or, should loading fail, once the error box opens.
    WaitFor([id, window] { return IsWindowVisible(window) ? window : FindDialog(id); },
            "visible window or message box");
    ui_.emplace(window);
    std::vector<std::string> boxes = AnswerBoxes({});
    WaitFor([window] { return IsWindowVisible(window) ? window : nullptr; }, "visible window");
    ui_->Settle();
    return boxes;
}

std::vector<std::string> ProgramTest::Pick(int index) {
    ui_->PostPick(index);
    return AnswerBoxes({});
}

std::vector<std::string> ProgramTest::Press(std::string_view caption, const WhileOpen& whileOpen) {
    ui_->PostClick(ui_->Button(caption));
    return AnswerBoxes(whileOpen);
}

std::vector<std::string> ProgramTest::AwaitBoxes(const WhileOpen& whileOpen) {
    const DWORD id = app_->Id();
    WaitFor([id] { return FindDialog(id); }, "message box");
    return AnswerBoxes(whileOpen);
}

std::vector<std::string> ProgramTest::AnswerBoxes(const WhileOpen& whileOpen) {
    std::vector<std::string> texts;
    while (true) {
        ui_->Settle();
        const HWND box = FindDialog(app_->Id());
        if (!box) return texts;
        if (texts.size() == kMostBoxesPerAction)
            throw std::runtime_error("the program keeps opening message boxes");
        WaitFor([box] { return IsWindowVisible(box) ? box : nullptr; }, "visible message box");
        const MessageBoxView view = ReadMessageBox(box);
        const std::string seen = "message box \"" + view.text + "\"";
        EXPECT_EQ(view.title, kAppTitle) << seen;
        EXPECT_EQ(view.buttons, std::vector<std::string>{"OK"}) << seen;
        EXPECT_FALSE(view.hasIcon) << seen << " shows an icon";
        EXPECT_FALSE(IsWindowEnabled(ui_->Window())) << seen << " is not modal to the window";
        if (boxPicture_) {
            const platform::ComApartment com;
            SaveScreenshot(box, OutputDirectory() / (*std::exchange(boxPicture_, {}) + ".png"));
        }
        if (whileOpen) whileOpen(texts.size());
        texts.push_back(view.text);
        PressOk(box);
    }
}

void ProgramTest::Close() {
    ui_->Settle();
    const HWND box = FindDialog(app_->Id());
    ASSERT_EQ(box, nullptr) << "a message box is still open: " << ReadMessageBox(box).text;
    ui_->PostClose();
    const std::optional<DWORD> exitCode = app_->WaitForExit();
    ASSERT_TRUE(exitCode.has_value()) << "the program still runs after its window was closed";
    EXPECT_EQ(*exitCode, 0u);
}

void ProgramTest::SaveWindowPicture(const std::string& name) const {
    const platform::ComApartment com;
    SaveScreenshot(ui_->Window(), OutputDirectory() / (name + ".png"));
}

}  // namespace quorvel::e2e
