#include "tests/support/child_process.h"

#include <utility>

#include "platform/utf16.h"
#include "platform/win32_error.h"

namespace quorvel::test {
namespace {

using namespace std::chrono_literals;

DWORD Milliseconds(std::chrono::milliseconds duration) {
    return static_cast<DWORD>(duration.count());
}

}  // namespace

ChildProcess::ChildProcess(const std::wstring& application, std::wstring commandLine,
                           const std::optional<StandardHandles>& standardHandles,
                           DWORD creationFlags) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (standardHandles) {
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = standardHandles->input;
        startup.hStdOutput = standardHandles->output;
        startup.hStdError = standardHandles->error;
    }
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(application.empty() ? nullptr : application.c_str(), commandLine.data(),
                        nullptr, nullptr, standardHandles.has_value(), creationFlags, nullptr,
                        nullptr, &startup, &process)) {
        const platform::Error error = platform::ErrorFor(platform::LastErrorHresult());
        throw platform::Error(error.hresult(),
                              "cannot start " +
                                  ToUtf8(application.empty() ? commandLine : application) + ": " +
                                  error.text());
    }
    const platform::UniqueHandle thread(process.hThread);
    process_.reset(process.hProcess);
    id_ = process.dwProcessId;
}

ChildProcess::~ChildProcess() {
    if (process_) Kill(10s);
}

bool ChildProcess::Running() const {
    return WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> ChildProcess::WaitForExit(std::chrono::milliseconds deadline) const {
    if (WaitForSingleObject(process_.get(), Milliseconds(deadline)) != WAIT_OBJECT_0)
        return std::nullopt;
    DWORD code = 0;
    GetExitCodeProcess(process_.get(), &code);
    return code;
}

void ChildProcess::Kill(std::chrono::milliseconds deadline) const {
    if (!Running()) return;
    TerminateProcess(process_.get(), 1);
    WaitForSingleObject(process_.get(), Milliseconds(deadline));
}

}  // namespace quorvel::test
