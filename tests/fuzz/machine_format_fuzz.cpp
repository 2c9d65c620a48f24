// The machine file's text: any input is a machine or the one format error, with a bounded
// message; a machine saved and read again is the same machine, and so is one after a change.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "machine_format.h"
#include "fuzz_check.h"

using namespace quorvel;
using namespace quorvel::simulated;

namespace {

MachineDocument ReadBack(const std::string& saved) {
    try {
        return ParseMachineText(saved);
    } catch (const MachineFormatError& error) {
        std::fprintf(stderr, "%s\n", error.what());
        fuzz::Check(false, "a saved machine reads back");
        throw;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    MachineDocument document;
    try {
        document = ParseMachineText(text);
    } catch (const MachineFormatError& error) {
        fuzz::Check(std::strlen(error.what()) < 1000, "an error quotes little of the input");
        return 0;
    }

    const std::string saved = FormatMachine(document);
    const MachineDocument again = ReadBack(saved);
    fuzz::Check(again.machine == document.machine, "save and read again gives the same machine");
    fuzz::Check(FormatMachine(again) == saved, "a saved machine saves as the same text");

    for (std::size_t adapter = 0; adapter < document.machine.adapters.size() && adapter < 4;
         ++adapter) {
        document.machine.adapters[adapter].dnsServerSearchOrder = ServerList{"10.0.0.1"};
        StoreServerSearchOrder(document, adapter);
        fuzz::Check(ReadBack(FormatMachine(document)).machine == document.machine,
                    "a stored change reads back as made");
    }
    return 0;
}
