#pragma once

#include <filesystem>
#include <string_view>

namespace quorvel::simulated {

// Replaces the file's content in one step: the content goes to a temporary file beside it, which
// is then renamed over it, so a reader sees either the old or the new file, never a mixture.
// False when it cannot be done; the file is then left as it was and no temporary file remains.
bool WriteFileAtomically(const std::filesystem::path& path, std::string_view content);

}  // namespace quorvel::simulated
