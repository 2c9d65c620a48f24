#include "window/event_dispatch.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
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
                                     std::declval<const std::function<void()>&>())));

class DispatchEventTest : public ::testing::Test, protected MainHarness {};

TEST_F(DispatchEventTest, RunsTheHandlerAndShowsNothingWhenItSucceeds) {
    bool ran = false;
    DispatchEvent(messageBox, [&] { ran = true; });
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
    DispatchEvent(messageBox, [&] { throw ManagementError(GetParam().hresult, GetParam().text); });
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
    DispatchEvent(messageBox, [] {
        throw platform::Error(0x80070002, "The system cannot find the file specified.");
    });
    EXPECT_THAT(messageBox.shown,
                ElementsAre("操作失败: The system cannot find the file specified. (0x80070002)"));
}

TEST_F(DispatchEventTest, ShowsAnyOtherStandardExceptionWithItsText) {
    DispatchEvent(messageBox, [] { throw std::length_error("text too long"); });
    EXPECT_THAT(messageBox.shown, ElementsAre("操作失败: text too long"));
}

TEST_F(DispatchEventTest, AnErrorMidRunEndsTheHandlerWithOneReport) {
    management.AddAdapter("NIC", ServerList{"10.0.0.1"});
    management.AddAdapter("NIC", ServerList{"10.0.0.2"}).error =
        ManagementError(0x80041001, "Generic failure");
    management.AddAdapter("NIC", ServerList{"10.0.0.3"});
    combo1.text = "NIC";
    DispatchEvent(messageBox, [&] { window.Command2_Click(); });
    EXPECT_THAT(messageBox.shown,
                ElementsAre("DNS设置成功", "操作失败: Generic failure (0x80041001)"));
    EXPECT_THAT(log.Of("set"), ElementsAre(R"(set #1 ["9.9.9.9", "149.112.112.112"])",
                                           R"(set #2 ["9.9.9.9", "149.112.112.112"])"));
    EXPECT_THAT(log.Of("locator"), IsEmpty());
}

TEST_F(DispatchEventTest, AFailedLoadReportsTheRefusedQuery) {
    management.queryError = ManagementError(kInvalidQuery, "Invalid query");
    DispatchEvent(messageBox, [&] { window.Main_Load(); });
    EXPECT_THAT(messageBox.shown, ElementsAre("操作失败: Invalid query (0x80041017)"));
    EXPECT_THAT(log.Of("combo"), IsEmpty());
}

}  // namespace
}  // namespace quorvel::testing_support
