#pragma once

#include <filesystem>
#include <string_view>

namespace quorvel::simulated {

// Replaces the file's content in one step: the content goes to a temporary file beside it, which
// is flushed to the disk and then renamed over it, so a reader sees either the old or the new
// file, never a mixture, and a power cut after the return loses nothing. The temporary file has a
// name of its own and is created new, never opened through a link or a file already there.
// False when it cannot be done; the file is then left as it was and no temporary file remains.
bool WriteFileAtomically(const std::filesystem::path& path, std::string_view content);

// A name beside `path` that no other write uses: "<name>.<16 hex digits>.tmp".
std::filesystem::path UniqueTemporaryPath(const std::filesystem::path& path);

}  // namespace quorvel::simulated
