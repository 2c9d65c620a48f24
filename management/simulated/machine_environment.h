#pragma once

#include <filesystem>
#include <optional>

namespace quorvel::simulated {

// The machine file that the environment variable QUORVEL_MACHINE names; nothing when it is unset
// or empty.
std::optional<std::filesystem::path> MachineFileFromEnvironment();

}  // namespace quorvel::simulated
