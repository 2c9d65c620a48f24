// The management service of a simulated computer, for tests and for running the window where
// WMI cannot serve. It answers exactly as the service does, so the window cannot tell them apart.
#pragma once

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>

#include "management/management.h"

namespace quorvel {

namespace simulated {
class MachineSource;
}

class SimulatedManagement : public Management {
public:
    // The machine file named by the environment variable QUORVEL_MACHINE, or the built-in
    // sample machine when it is unset or empty.
    static std::unique_ptr<SimulatedManagement> FromEnvironment();
    // How long a change waits for another program's change to the same machine file.
    static constexpr std::chrono::milliseconds kLockWait{5000};

    // Every connection reads the file anew; a successful change is written back at once, under
    // the file's lock, keeping every change that other programs made to it meanwhile.
    explicit SimulatedManagement(std::filesystem::path machineFile,
                                 std::chrono::milliseconds lockWait = kLockWait);
    // The built-in sample machine, kept in memory as long as this object and its connections.
    SimulatedManagement();

    LocatorRef CreateLocator() override;
    ServiceRef GetObjectByMoniker(const std::string& moniker) override;

private:
    std::shared_ptr<const simulated::MachineSource> source_;
};

}  // namespace quorvel
