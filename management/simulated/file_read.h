#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace quorvel::simulated {

struct FileContent {
    enum class Outcome { Read, Missing, Unreadable, TooLarge };
    Outcome outcome = Outcome::Unreadable;
    std::string bytes;
};

// The whole file, read in pieces up to `most` bytes, so that an endless or huge file fails early
// whatever size it reports (a device or a pipe reports none). Another program replacing the file
// at that moment neither blocks nor fails the read: it sees the old file or the new one.
FileContent ReadWholeFile(const std::filesystem::path& path, std::uintmax_t most);

}  // namespace quorvel::simulated
