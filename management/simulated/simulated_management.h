// The management service of a simulated computer, for tests and for running the window where
// WMI cannot serve. It answers exactly as the service does, so the window cannot tell them apart.
#pragma once

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
    // Every connection reads the file anew; a successful change is written back at once.
    explicit SimulatedManagement(std::filesystem::path machineFile);
    // The built-in sample machine, kept in memory as long as this object and its connections.
    SimulatedManagement();

    LocatorRef CreateLocator() override;
    ServiceRef GetObjectByMoniker(const std::string& moniker) override;

  private:
    std::shared_ptr<const simulated::MachineSource> source_;
};

}  // namespace quorvel
