// A machine kept in a file (its format: machine_format.h) that several programs may use at
// once: each change is a read-modify-write of the file under its lock, so none is lost.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>

#include "machine.h"
#include "machine_format.h"

namespace quorvel::simulated {

// Far above any machine a test writes (400,000 adapters take 46 MB), far below what reading an
// endless file such as /dev/zero into memory would cost before it fails.
inline constexpr std::uintmax_t kMostMachineFileBytes = 64u << 20;

class MachineFile {
public:
    // Reads and checks the file. Any problem (missing file, one too large, malformed JSON, an
    // unknown key, a value of the wrong type) is a ManagementError whose text names the file and
    // the problem. A change waits at most `lockWait` for another program's change.
    MachineFile(std::filesystem::path path, std::chrono::milliseconds lockWait);

    Machine& machine() noexcept { return document_.machine; }

    // SetDNSServerSearchOrder on the adapter as the file holds it now, the method's return
    // value: under the file's lock the file is read anew, the method carried out on it and a
    // change written back (replacing the file atomically), and machine() becomes what the file
    // then holds. Raises a ManagementError naming the file when the lock cannot be had in time,
    // the file cannot be read or written, or the adapter is no longer the one read before.
    std::uint32_t ChangeServerSearchOrder(std::size_t adapter,
                                          const std::optional<ServerList>& servers);

private:
    std::filesystem::path path_;
    std::chrono::milliseconds lockWait_;
    MachineDocument document_;
};

// The lock file that stands for `machineFile`: "<name>.lock" beside it.
std::filesystem::path LockFileFor(const std::filesystem::path& machineFile);

}  // namespace quorvel::simulated
