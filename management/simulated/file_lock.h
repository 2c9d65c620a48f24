// An exclusive lock between processes, and between threads, over a file that is replaced by
// renaming and so cannot hold a lock itself: the lock is a file of its own beside it, taken with
// a bounded wait and gone again once released. A process that dies releases it with its handles.
#pragma once

#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>

namespace quorvel::simulated {

class FileLock {
public:
    // Takes the lock that `lockFile` stands for, waiting at most `wait` for another holder to
    // release it; nothing when it is still held by then. Throws std::system_error when the lock
    // file cannot be made (a missing or read-only folder, a link planted in its place).
    static std::optional<FileLock> Acquire(const std::filesystem::path& lockFile,
                                           std::chrono::milliseconds wait);

    FileLock(FileLock&& other) noexcept;
    FileLock& operator=(FileLock&& other) noexcept;
    ~FileLock();

private:
    struct Held;
    explicit FileLock(std::unique_ptr<Held> held) noexcept;
    void Release() noexcept;

    std::unique_ptr<Held> held_;
};

}  // namespace quorvel::simulated
