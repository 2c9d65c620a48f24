#include "machine_pipe.h"

#include <stdexcept>
#include <utility>

namespace quorvel::e2e {

MachinePipe::MachinePipe(const std::wstring& name, int reads)
    : path_(L"\\\\.\\pipe\\" + name), instances_(static_cast<std::size_t>(reads)) {
    // Every instance listens from the start: the program opens the next one as soon as it has
    // read the previous content, with no time for the driver to set one up.
    for (Instance& instance : instances_) {
        instance.pipe.reset(CreateNamedPipeW(
            path_.c_str(), PIPE_ACCESS_OUTBOUND | FILE_FLAG_OVERLAPPED, PIPE_TYPE_BYTE | PIPE_WAIT,
            PIPE_UNLIMITED_INSTANCES, 1 << 16, 1 << 16, 0, nullptr));
        if (!instance.pipe) throw std::runtime_error("cannot create the pipe");
        instance.connected.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
        instance.overlapped.hEvent = instance.connected.get();
        if (!ConnectNamedPipe(instance.pipe.get(), &instance.overlapped)) {
            const DWORD error = GetLastError();
            if (error == ERROR_PIPE_CONNECTED) {
                SetEvent(instance.connected.get());
            } else if (error != ERROR_IO_PENDING) {
                throw std::runtime_error("cannot listen on the pipe");
            }
        }
    }
}

bool MachinePipe::WaitForRead() {
    std::vector<HANDLE> events;
    std::vector<Instance*> waiting;
    for (Instance& instance : instances_) {
        if (instance.pipe) {
            events.push_back(instance.connected.get());
            waiting.push_back(&instance);
        }
    }
    if (events.empty()) throw std::runtime_error("the pipe serves no more reads");
    const DWORD which = WaitForMultipleObjects(static_cast<DWORD>(events.size()), events.data(),
                                               FALSE, static_cast<DWORD>(kDeadline.count()));
    if (which >= WAIT_OBJECT_0 + events.size()) return false;
    open_ = waiting[which - WAIT_OBJECT_0];
    return true;
}

void MachinePipe::Deliver(const std::string& content) {
    if (!open_) throw std::runtime_error("nobody has opened the pipe");
    Instance& instance = *std::exchange(open_, nullptr);
    OVERLAPPED write{};
    const platform::UniqueHandle written(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    write.hEvent = written.get();
    DWORD count = 0;
    if (!WriteFile(instance.pipe.get(), content.data(), static_cast<DWORD>(content.size()), nullptr,
                   &write) &&
        GetLastError() != ERROR_IO_PENDING) {
        throw std::runtime_error("cannot write to the pipe");
    }
    if (WaitForSingleObject(written.get(), static_cast<DWORD>(kDeadline.count())) !=
            WAIT_OBJECT_0 ||
        !GetOverlappedResult(instance.pipe.get(), &write, &count, FALSE) ||
        count != content.size()) {
        CancelIo(instance.pipe.get());
        throw std::runtime_error("the program did not take the machine file");
    }
    // Closing, unlike disconnecting, leaves what was written for the reader, which then meets
    // the end of the file.
    instance.pipe.reset();
}

}  // namespace quorvel::e2e
