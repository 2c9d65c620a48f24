#include "atomic_write.h"

#include <cstdint>
#include <cstdio>
#include <random>

namespace quorvel::simulated {

std::filesystem::path UniqueTemporaryPath(const std::filesystem::path& path) {
    std::random_device device;
    const std::uint64_t value = (std::uint64_t{device()} << 32) | device();
    char suffix[24];
    std::snprintf(suffix, sizeof suffix, ".%016llx.tmp", static_cast<unsigned long long>(value));
    std::filesystem::path temporary = path;
    temporary += suffix;
    return temporary;
}

}  // namespace quorvel::simulated
