#include "machine_file.h"

#include <string>
#include <system_error>

#include "management/management_error.h"
#include "atomic_write.h"
#include "dns_method.h"
#include "file_lock.h"
#include "file_read.h"
#include "hresults.h"

namespace quorvel::simulated {
namespace {

std::string Utf8(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

[[noreturn]] void FailWith(const std::filesystem::path& path, const std::string& problem) {
    throw ManagementError(kWbemFailed, "Machine file \"" + Utf8(path) + "\": " + problem);
}

std::string ReadCapped(const std::filesystem::path& path) {
    FileContent content = ReadWholeFile(path, kMostMachineFileBytes);
    switch (content.outcome) {
        case FileContent::Outcome::Read:
            break;
        case FileContent::Outcome::Missing:
            FailWith(path, "no such file");
        case FileContent::Outcome::Unreadable:
            FailWith(path, "the file cannot be read");
        case FileContent::Outcome::TooLarge:
            FailWith(path, "the file is larger than " +
                               std::to_string(kMostMachineFileBytes >> 20) +
                               " MiB, more than any machine needs");
    }
    return std::move(content.bytes);
}

MachineDocument Read(const std::filesystem::path& path) {
    const std::string text = ReadCapped(path);
    try {
        return ParseMachineText(text);
    } catch (const MachineFormatError& error) {
        FailWith(path, error.what());
    }
}

std::string Duration(std::chrono::milliseconds duration) {
    const auto count = duration.count();
    return count % 1000 == 0 ? std::to_string(count / 1000) + " s" : std::to_string(count) + " ms";
}

}  // namespace

std::filesystem::path LockFileFor(const std::filesystem::path& machineFile) {
    std::filesystem::path lockFile = machineFile;
    lockFile += ".lock";
    return lockFile;
}

MachineFile::MachineFile(std::filesystem::path path, std::chrono::milliseconds lockWait)
    : path_(std::move(path)), lockWait_(lockWait), document_(Read(path_)) {}

std::uint32_t MachineFile::ChangeServerSearchOrder(std::size_t adapter,
                                                   const std::optional<ServerList>& servers) {
    const std::filesystem::path lockFile = LockFileFor(path_);
    std::optional<FileLock> lock;
    try {
        lock = FileLock::Acquire(lockFile, lockWait_);
    } catch (const std::system_error& error) {
        FailWith(path_, "the change cannot be written: the lock file \"" + Utf8(lockFile) +
                            "\" cannot be made (" + error.code().message() + ")");
    }
    if (!lock)
        FailWith(path_,
                 "the change cannot be written: another program has held the file's lock "
                 "for more than " +
                     Duration(lockWait_) + " (\"" + Utf8(lockFile) + "\")");

    MachineDocument current = Read(path_);
    const auto& read = document_.machine.adapters;
    auto& adapters = current.machine.adapters;
    if (adapter >= adapters.size() || adapters[adapter].description != read.at(adapter).description)
        FailWith(path_,
                 "adapters[" + std::to_string(adapter) + "] changed in the file since it was read");
    SimulatedAdapter& target = adapters[adapter];
    const std::uint32_t result = simulated::ChangeServerSearchOrder(target, servers);
    if (result == 0 && !target.forcedSetResult) {
        StoreServerSearchOrder(current, adapter);
        if (!WriteFileAtomically(path_, FormatMachine(current)))
            FailWith(path_, "the change cannot be written");
    }
    document_ = std::move(current);
    return result;
}

}  // namespace quorvel::simulated
