#include <cstdlib>

#include "machine_environment.h"

namespace quorvel::simulated {

std::optional<std::filesystem::path> MachineFileFromEnvironment() {
    const char* const name = std::getenv("QUORVEL_MACHINE");
    if (name == nullptr || name[0] == 0) return std::nullopt;
    return std::filesystem::path(name);
}

}  // namespace quorvel::simulated
