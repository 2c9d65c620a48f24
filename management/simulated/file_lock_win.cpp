#include <windows.h>

#include <system_error>
#include <thread>
#include <utility>

#include "file_lock.h"
#include "platform/handles.h"

namespace quorvel::simulated {

// The open lock file; closing it releases the lock and deletes the file.
struct FileLock::Held {
    platform::UniqueFileHandle handle;
};

std::optional<FileLock> FileLock::Acquire(const std::filesystem::path& lockFile,
                                          std::chrono::milliseconds wait) {
    const auto deadline = std::chrono::steady_clock::now() + wait;
    while (true) {
        // Shared with no one, so holding the handle is holding the lock; the system deletes the
        // file when the handle closes, also when the process is killed. A link in its place is
        // opened as itself, not followed.
        platform::UniqueFileHandle handle(CreateFileW(
            lockFile.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, 0, nullptr, OPEN_ALWAYS,
            FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE | FILE_FLAG_OPEN_REPARSE_POINT,
            nullptr));
        if (handle) return FileLock(std::make_unique<Held>(Held{std::move(handle)}));
        const DWORD error = GetLastError();
        // Access is denied while the last holder's file is still being deleted.
        if (error != ERROR_SHARING_VIOLATION && error != ERROR_ACCESS_DENIED)
            throw std::system_error(static_cast<int>(error), std::system_category(),
                                    "cannot open the lock file");
        if (std::chrono::steady_clock::now() >= deadline) return std::nullopt;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

void FileLock::Release() noexcept { held_.reset(); }

FileLock::FileLock(std::unique_ptr<Held> held) noexcept : held_(std::move(held)) {}
FileLock::FileLock(FileLock&& other) noexcept = default;
FileLock& FileLock::operator=(FileLock&& other) noexcept {
    if (this != &other) {
        Release();
        held_ = std::move(other.held_);
    }
    return *this;
}
FileLock::~FileLock() { Release(); }

}  // namespace quorvel::simulated
