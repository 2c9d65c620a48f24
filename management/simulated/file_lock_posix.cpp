#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>
#include <thread>

#include "file_lock.h"

namespace quorvel::simulated {

struct FileLock::Held {
    std::filesystem::path path;
    int descriptor;
};

std::optional<FileLock> FileLock::Acquire(const std::filesystem::path& lockFile,
                                          std::chrono::milliseconds wait) {
    const auto deadline = std::chrono::steady_clock::now() + wait;
    while (true) {
        const int descriptor =
            open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (descriptor < 0)
            throw std::system_error(errno, std::generic_category(), "cannot open the lock file");
        if (flock(descriptor, LOCK_EX | LOCK_NB) == 0) {
            // A holder removes the file as it releases it; whoever locked that removed file
            // holds nothing, and tries the file now under the name.
            struct stat locked {};
            struct stat named {};
            if (fstat(descriptor, &locked) == 0 && lstat(lockFile.c_str(), &named) == 0 &&
                locked.st_dev == named.st_dev && locked.st_ino == named.st_ino) {
                return FileLock(std::make_unique<Held>(Held{lockFile, descriptor}));
            }
        } else if (errno != EWOULDBLOCK && errno != EINTR) {
            const int error = errno;
            close(descriptor);
            throw std::system_error(error, std::generic_category(), "cannot lock the lock file");
        }
        close(descriptor);
        if (std::chrono::steady_clock::now() >= deadline) return std::nullopt;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

void FileLock::Release() noexcept {
    if (!held_) return;
    // Removed while still locked, so that no one can lock the old file after it is released.
    unlink(held_->path.c_str());
    close(held_->descriptor);
    held_.reset();
}

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
