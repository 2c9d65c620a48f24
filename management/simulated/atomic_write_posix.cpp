#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "atomic_write.h"

namespace quorvel::simulated {
namespace {

// Tries a few names: another name taken is a coincidence, not a reason to give up.
constexpr int kNameAttempts = 8;

bool WriteAll(int descriptor, std::string_view content) {
    while (!content.empty()) {
        const ssize_t written = write(descriptor, content.data(), content.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        content.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// The rename is only durable once the folder that records it is flushed too.
bool FlushFolderOf(const std::filesystem::path& path) {
    std::filesystem::path folder = path.parent_path();
    if (folder.empty()) folder = ".";
    const int descriptor = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0) return false;
    const bool flushed = fsync(descriptor) == 0;
    close(descriptor);
    return flushed;
}

}  // namespace

bool WriteFileAtomically(const std::filesystem::path& path, std::string_view content) {
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const std::filesystem::path temporary = UniqueTemporaryPath(path);
        const int descriptor =
            open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (descriptor < 0) {
            if (errno == EEXIST) continue;
            return false;
        }
        const bool written = WriteAll(descriptor, content) && fsync(descriptor) == 0;
        const bool closed = close(descriptor) == 0;
        if (written && closed && rename(temporary.c_str(), path.c_str()) == 0)
            return FlushFolderOf(path);
        unlink(temporary.c_str());
        return false;
    }
    return false;
}

}  // namespace quorvel::simulated
