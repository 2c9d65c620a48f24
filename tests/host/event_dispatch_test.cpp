#include "window/event_dispatch.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <ostream>
#include <stdexcept>
#include <utility>

#include "main_harness.h"
#include "platform/error.h"

namespace quorvel::testing_support {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

static_assert(noexcept(DispatchEvent(std::declval<MessageBoxPort&>(),
                                     std::declval<ErrorTextLookup>(),
                                     std::declval<const std::function<void()>&>())));

// Stands in for the platform's text table: a text that names its code.
std::string TextFor(std::uint32_t hresult) { return "text of " + FormatHresult(hresult); }

// The window's way of running a handler, with the stand-in table.
void Dispatch(MessageBoxPort& box, const std::function<void()>& handler) {
    DispatchEvent(box, TextFor, handler);
}

class DispatchEventTest : public ::testing::Test, protected MainHarness {};

TEST_F(DispatchEventTest, RunsTheHandlerAndShowsNothingWhenItSucceeds) {
    bool ran = false;
    Dispatch(messageBox, [&] { ran = true; });
    EXPECT_TRUE(ran);
    EXPECT_THAT(messageBox.shown, IsEmpty());
}

struct ErrorCase {
    std::uint32_t hresult;
    const char* text;
    const char* shown;
};

// Keeps test names and failure output readable.
void PrintTo(const ErrorCase& c, std::ostream* os) { *os << c.text; }

class DispatchManagementErrorTest : public DispatchEventTest,
                                    public ::testing::WithParamInterface<ErrorCase> {};

TEST_P(DispatchManagementErrorTest, ShowsThePlatformTextAndTheHresult) {
    Dispatch(messageBox, [&] { throw ManagementError(GetParam().hresult, GetParam().text); });
    EXPECT_THAT(messageBox.shown, ElementsAre(GetParam().shown));
}

INSTANTIATE_TEST_SUITE_P(Errors, DispatchManagementErrorTest,
                         ::testing::Values(ErrorCase{0x80041017, "Invalid query",
                                                     "操作失败: Invalid query (0x80041017)"},
                                           ErrorCase{0x800706BA, "RPC 服务器不可用。",
                                                     "操作失败: RPC 服务器不可用。 (0x800706BA)"},
                                           ErrorCase{0x5, "Access is denied.",
                                                     "操作失败: Access is denied. (0x00000005)"}));

TEST_F(DispatchEventTest, ShowsAFailedPlatformCallLikeAManagementError) {
    Dispatch(messageBox, [] {
        throw platform::Error(0x80070002, "The system cannot find the file specified.");
    });
    EXPECT_THAT(messageBox.shown,
                ElementsAre("操作失败: The system cannot find the file specified. (0x80070002)"));
}

struct OtherExceptionCase {
    const char* name;
    std::function<void()> raise;
    const char* shown;
};

void PrintTo(const OtherExceptionCase& c, std::ostream* os) { *os << c.name; }

class DispatchOtherExceptionTest : public DispatchEventTest,
                                   public ::testing::WithParamInterface<OtherExceptionCase> {};

// Whatever a handler raises reaches the box with a code, and the next event runs as usual.
TEST_P(DispatchOtherExceptionTest, ShowsACodeAndTheNextEventRuns) {
    Dispatch(messageBox, GetParam().raise);
    bool ran = false;
    Dispatch(messageBox, [&] { ran = true; });
    EXPECT_THAT(messageBox.shown, ElementsAre(GetParam().shown));
    EXPECT_TRUE(ran);
}

INSTANTIATE_TEST_SUITE_P(
    Exceptions, DispatchOtherExceptionTest,
    ::testing::Values(OtherExceptionCase{"StandardException",
                                         [] { throw std::length_error("text too long"); },
                                         "操作失败: text too long (0x80004005)"},
                      OtherExceptionCase{"OutOfMemory", [] { throw std::bad_alloc(); },
                                         "操作失败: text of 0x8007000E (0x8007000E)"},
                      OtherExceptionCase{"NoStandardException", [] { throw 42; },
                                         "操作失败: text of 0x8000FFFF (0x8000FFFF)"}),
    [](const auto& info) { return std::string(info.param.name); });

// Out of memory once more while the report is made: nothing is shown, nothing escapes.
TEST_F(DispatchEventTest, ABoxThatCannotShowLosesTheReportButNothingEscapes) {
    struct FailingBox final : MessageBoxPort {
        void Show(const std::string&) override { throw std::bad_alloc(); }
    } failingBox;
    bool ran = false;
    DispatchEvent(failingBox, TextFor, [&] {
        ran = true;
        throw std::runtime_error("first");
    });
    EXPECT_TRUE(ran);
}

TEST_F(DispatchEventTest, AnErrorMidRunEndsTheHandlerWithOneReport) {
    management.AddAdapter("NIC", ServerList{"10.0.0.1"});
    management.AddAdapter("NIC", ServerList{"10.0.0.2"}).error =
        ManagementError(0x80041001, "Generic failure");
    management.AddAdapter("NIC", ServerList{"10.0.0.3"});
    combo1.text = "NIC";
    Dispatch(messageBox, [&] { window.Command2_Click(); });
    EXPECT_THAT(messageBox.shown,
                ElementsAre("DNS设置成功", "操作失败: Generic failure (0x80041001)"));
    EXPECT_THAT(log.Of("set"), ElementsAre(R"(set #1 ["9.9.9.9", "149.112.112.112"])",
                                           R"(set #2 ["9.9.9.9", "149.112.112.112"])"));
    EXPECT_THAT(log.Of("locator"), IsEmpty());
}

TEST_F(DispatchEventTest, AFailedLoadReportsTheRefusedQuery) {
    management.queryError = ManagementError(kInvalidQuery, "Invalid query");
    Dispatch(messageBox, [&] { window.Main_Load(); });
    EXPECT_THAT(messageBox.shown, ElementsAre("操作失败: Invalid query (0x80041017)"));
    EXPECT_THAT(log.Of("combo"), IsEmpty());
}

}  // namespace
}  // namespace quorvel::testing_support
