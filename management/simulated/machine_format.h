// The text of a machine file, a UTF-8 JSON document that tests and tools write:
//   { "adapters": [ { "Description": ..., "IPEnabled": ..., "DNSServerSearchOrder": [...],
//                     "DHCPDNSServers": [...], "SetDNSServerSearchOrderResult": 91 } ],
//     "raise": { "connect": "0x80070005", "query": "0x80041017", "method": "0x80041002" },
//     "nullResult": false }
// Every key may be left out; Description and the two lists may be null.
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "machine.h"

namespace quorvel::simulated {

// What is wrong with a text: the only error ParseMachineText raises. Its message quotes at most
// a few hundred characters of the input, however long the offending piece is.
struct MachineFormatError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct MachineDocument {
    // The document as read, so that a save changes nothing but the values it stores.
    nlohmann::ordered_json json;
    Machine machine;
};

// Checks everything: malformed JSON, an unknown key, a value of the wrong type, a number out of
// range for its field, a text holding U+0000 (which no Windows text can carry).
MachineDocument ParseMachineText(std::string_view text);

// Copies the adapter's current DNSServerSearchOrder into the document.
void StoreServerSearchOrder(MachineDocument& document, std::size_t adapter);

// The document as a file holds it.
std::string FormatMachine(const MachineDocument& document);

// A piece of input for an error text: control characters written as \u00XX, so that the text
// stays on one line and is not cut short at a U+0000, and no more than `most` bytes of it (cut
// at a character boundary, then "...").
std::string QuoteInput(std::string_view text, std::size_t most = 200);

}  // namespace quorvel::simulated
