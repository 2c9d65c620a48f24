#include "machine_format.h"

#include <charconv>
#include <cstdio>
#include <initializer_list>
#include <limits>
#include <system_error>

namespace quorvel::simulated {
namespace {

using Json = nlohmann::ordered_json;

void RejectUnknownKeys(const Json& object, std::initializer_list<std::string_view> known,
                       const std::string& where) {
    for (const auto& [key, value] : object.items()) {
        bool isKnown = false;
        for (const auto name : known) isKnown = isKnown || key == name;
        if (!isKnown)
            throw MachineFormatError("unknown key \"" + QuoteInput(key) + "\" in " + where);
    }
}

const Json& ObjectAt(const Json& value, const std::string& where) {
    if (!value.is_object()) throw MachineFormatError(where + ": expected an object");
    return value;
}

// The window hands texts to Win32 as C strings, which end at the first U+0000: such a text
// would show cut short and never match itself in a query.
const std::string& WindowsText(const Json& value, const std::string& where) {
    const std::string& text = value.get_ref<const std::string&>();
    if (text.find('\0') != std::string::npos)
        throw MachineFormatError(where + ": the text holds U+0000, which Windows cannot show");
    return text;
}

std::optional<std::string> NullableString(const Json& value, const std::string& where) {
    if (value.is_null()) return std::nullopt;
    if (!value.is_string()) throw MachineFormatError(where + ": expected a string or null");
    return WindowsText(value, where);
}

std::optional<ServerList> NullableServerList(const Json& value, const std::string& where) {
    if (value.is_null()) return std::nullopt;
    const auto bad = [&where] {
        return MachineFormatError(where + ": expected an array of strings or null");
    };
    if (!value.is_array()) throw bad();
    ServerList servers;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (!value[i].is_string()) throw bad();
        servers.push_back(WindowsText(value[i], where + "[" + std::to_string(i) + "]"));
    }
    return servers;
}

bool Boolean(const Json& value, const std::string& where) {
    if (!value.is_boolean()) throw MachineFormatError(where + ": expected true or false");
    return value.get<bool>();
}

std::uint32_t Unsigned32(const Json& value, const std::string& where) {
    constexpr auto kMost = std::numeric_limits<std::uint32_t>::max();
    if (value.is_number_unsigned() && value.get<std::uint64_t>() <= kMost)
        return static_cast<std::uint32_t>(value.get<std::uint64_t>());
    const bool outOfRange =
        value.is_number_integer() ||
        (value.is_number_float() && (value.get<double>() < 0 || value.get<double>() > kMost));
    if (outOfRange)
        throw MachineFormatError(where +
                                 ": out of range: a return value has 32 bits, 0 to 4294967295");
    throw MachineFormatError(where + ": expected an integer from 0 to 4294967295");
}

// "0x80070005": "0x" and one to eight hex digits.
std::uint32_t Hresult(const Json& value, const std::string& where) {
    const auto bad = [&where] {
        return MachineFormatError(where + ": expected an HRESULT written like \"0x80041017\"");
    };
    if (!value.is_string()) throw bad();
    const std::string& text = value.get_ref<const std::string&>();
    if (text.size() < 3 || text.size() > 10 || text[0] != '0' || (text[1] != 'x' && text[1] != 'X'))
        throw bad();
    std::uint32_t hresult = 0;
    const char* const end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data() + 2, end, hresult, 16);
    if (error != std::errc() || stop != end) throw bad();
    return hresult;
}

SimulatedAdapter ParseAdapter(const Json& value, const std::string& where) {
    const Json& object = ObjectAt(value, where);
    RejectUnknownKeys(object,
                      {"Description", "IPEnabled", "DNSServerSearchOrder", "DHCPDNSServers",
                       "SetDNSServerSearchOrderResult"},
                      where);
    SimulatedAdapter adapter;
    for (const auto& [key, field] : object.items()) {
        const std::string at = where + "." + key;
        if (key == "Description") adapter.description = NullableString(field, at);
        if (key == "IPEnabled") adapter.ipEnabled = Boolean(field, at);
        if (key == "DNSServerSearchOrder")
            adapter.dnsServerSearchOrder = NullableServerList(field, at);
        if (key == "DHCPDNSServers") adapter.dhcpDnsServers = NullableServerList(field, at);
        if (key == "SetDNSServerSearchOrderResult") adapter.forcedSetResult = Unsigned32(field, at);
    }
    return adapter;
}

RaisedErrors ParseRaise(const Json& value) {
    const Json& object = ObjectAt(value, "raise");
    RejectUnknownKeys(object, {"connect", "query", "method"}, "raise");
    RaisedErrors raise;
    for (const auto& [key, field] : object.items()) {
        const std::string at = "raise." + key;
        if (key == "connect") raise.connect = Hresult(field, at);
        if (key == "query") raise.query = Hresult(field, at);
        if (key == "method") raise.method = Hresult(field, at);
    }
    return raise;
}

Machine ParseMachine(const Json& document) {
    const Json& object = ObjectAt(document, "the top level");
    RejectUnknownKeys(object, {"adapters", "raise", "nullResult"}, "the top level");
    Machine machine;
    for (const auto& [key, field] : object.items()) {
        if (key == "adapters") {
            if (!field.is_array()) throw MachineFormatError("adapters: expected an array");
            for (std::size_t i = 0; i < field.size(); ++i)
                machine.adapters.push_back(
                    ParseAdapter(field[i], "adapters[" + std::to_string(i) + "]"));
        }
        if (key == "raise") machine.raise = ParseRaise(field);
        if (key == "nullResult") machine.nullResult = Boolean(field, "nullResult");
    }
    return machine;
}

// The length of the well-formed UTF-8 character at the start of `text`, or 0.
std::size_t Utf8SequenceLength(std::string_view text) {
    const auto at = [&text](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = at(0);
    if (lead < 0x80) return 1;
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;  // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (text.size() < length || at(1) < low || at(1) > high) return 0;
    for (std::size_t i = 2; i < length; ++i)
        if (at(i) < 0x80 || at(i) > 0xBF) return 0;
    return length;
}

}  // namespace

MachineDocument ParseMachineText(std::string_view text) {
    MachineDocument document;
    try {
        document.json = Json::parse(text);
    } catch (const Json::parse_error& error) {
        // The library's text repeats the whole offending token, which may be the entire file.
        throw MachineFormatError("malformed JSON: " + QuoteInput(error.what(), 300));
    } catch (const Json::out_of_range& error) {
        throw MachineFormatError("a number out of range: " + QuoteInput(error.what(), 300));
    }
    document.machine = ParseMachine(document.json);
    return document;
}

void StoreServerSearchOrder(MachineDocument& document, std::size_t adapter) {
    const auto& servers = document.machine.adapters.at(adapter).dnsServerSearchOrder;
    Json& stored = document.json["adapters"][adapter]["DNSServerSearchOrder"];
    stored = servers ? Json(*servers) : Json(nullptr);
}

std::string FormatMachine(const MachineDocument& document) { return document.json.dump(2) + "\n"; }

std::string QuoteInput(std::string_view text, std::size_t most) {
    std::string quoted;
    std::size_t i = 0;
    while (i < text.size() && quoted.size() < most) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const std::size_t length = Utf8SequenceLength(text.substr(i));
        char escape[7];
        if (byte < 0x20 || byte == 0x7F) {
            std::snprintf(escape, sizeof escape, "\\u%04X", byte);
            quoted += escape;
        } else if (length == 0) {
            // A byte that starts no well-formed character is named, not passed on.
            std::snprintf(escape, sizeof escape, "\\x%02X", byte);
            quoted += escape;
        } else {
            quoted.append(text.substr(i, length));
            i += length - 1;
        }
        ++i;
    }
    return i == text.size() ? quoted : quoted + "...";
}

}  // namespace quorvel::simulated
