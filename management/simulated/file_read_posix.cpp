#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "file_read.h"

namespace quorvel::simulated {

FileContent ReadWholeFile(const std::filesystem::path& path, std::uintmax_t most) {
    FileContent content;
    const int descriptor = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) {
        content.outcome =
            errno == ENOENT ? FileContent::Outcome::Missing : FileContent::Outcome::Unreadable;
        return content;
    }
    char piece[1 << 16];
    content.outcome = FileContent::Outcome::Read;
    while (true) {
        const ssize_t count = read(descriptor, piece, sizeof piece);
        if (count < 0 && errno == EINTR) continue;
        if (count < 0) content.outcome = FileContent::Outcome::Unreadable;
        if (count <= 0) break;
        content.bytes.append(piece, static_cast<std::size_t>(count));
        if (content.bytes.size() > most) {
            content.outcome = FileContent::Outcome::TooLarge;
            break;
        }
    }
    close(descriptor);
    if (content.outcome != FileContent::Outcome::Read) content.bytes.clear();
    return content;
}

}  // namespace quorvel::simulated
