// A machine kept in a UTF-8 JSON file that tests and tools write:
//   { "adapters": [ { "Description": ..., "IPEnabled": ..., "DNSServerSearchOrder": [...],
//                     "DHCPDNSServers": [...], "SetDNSServerSearchOrderResult": 91 } ],
//     "raise": { "connect": "0x80070005", "query": "0x80041017", "method": "0x80041002" },
//     "nullResult": false }
// Every key may be left out; Description and the two lists may be null.
#pragma once

#include <cstddef>
#include <filesystem>

#include <nlohmann/json.hpp>

#include "management/simulated/machine.h"

namespace quorvel::simulated {

class MachineFile {
  public:
    // Reads and checks the file. Any problem (missing file, malformed JSON, an unknown key, a
    // value of the wrong type) is a ManagementError whose text names the file and the problem.
    explicit MachineFile(std::filesystem::path path);

    Machine& machine() noexcept { return machine_; }

    // Writes the adapter's current DNSServerSearchOrder back to the file, keeping everything
    // else as it was read. The file is replaced atomically, so a reader never sees half of it.
    void SaveDnsServerSearchOrder(std::size_t adapter);

  private:
    std::filesystem::path path_;
    // The file as read, so that a save changes nothing but the one value.
    nlohmann::ordered_json document_;
    Machine machine_;
};

}  // namespace quorvel::simulated
