#include "management/simulated/machine_file.h"

#include <charconv>
#include <fstream>
#include <iterator>
#include <limits>
#include <stdexcept>
#include <string>
#include <system_error>

#include "management/management_error.h"
#include "management/simulated/atomic_write.h"
#include "management/simulated/hresults.h"

namespace quorvel::simulated {
namespace {

using Json = nlohmann::ordered_json;

// A problem with the file's content, turned into a ManagementError once the file is known.
struct BadContent : std::runtime_error {
    using std::runtime_error::runtime_error;
};

std::string Utf8(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

[[noreturn]] void FailWith(const std::filesystem::path& path, const std::string& problem) {
    throw ManagementError(kWbemFailed, "Machine file \"" + Utf8(path) + "\": " + problem);
}

void RejectUnknownKeys(const Json& object, std::initializer_list<std::string_view> known,
                       const std::string& where) {
    for (const auto& [key, value] : object.items()) {
        bool isKnown = false;
        for (const auto name : known) isKnown = isKnown || key == name;
        if (!isKnown) throw BadContent("unknown key \"" + key + "\" in " + where);
    }
}

const Json& ObjectAt(const Json& value, const std::string& where) {
    if (!value.is_object()) throw BadContent(where + ": expected an object");
    return value;
}

std::optional<std::string> NullableString(const Json& value, const std::string& where) {
    if (value.is_null()) return std::nullopt;
    if (!value.is_string()) throw BadContent(where + ": expected a string or null");
    return value.get<std::string>();
}

std::optional<ServerList> NullableServerList(const Json& value, const std::string& where) {
    if (value.is_null()) return std::nullopt;
    if (!value.is_array()) throw BadContent(where + ": expected an array of strings or null");
    ServerList servers;
    for (const auto& server : value) {
        if (!server.is_string()) throw BadContent(where + ": expected an array of strings or null");
        servers.push_back(server.get<std::string>());
    }
    return servers;
}

bool Boolean(const Json& value, const std::string& where) {
    if (!value.is_boolean()) throw BadContent(where + ": expected true or false");
    return value.get<bool>();
}

std::uint32_t Unsigned32(const Json& value, const std::string& where) {
    if (!value.is_number_unsigned() ||
        value.get<std::uint64_t>() > std::numeric_limits<std::uint32_t>::max()) {
        throw BadContent(where + ": expected an integer from 0 to 4294967295");
    }
    return static_cast<std::uint32_t>(value.get<std::uint64_t>());
}

// "0x80070005": "0x" and one to eight hex digits.
std::uint32_t Hresult(const Json& value, const std::string& where) {
    const auto bad = [&where] {
        return BadContent(where + ": expected an HRESULT written like \"0x80041017\"");
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
            if (!field.is_array()) throw BadContent("adapters: expected an array");
            for (std::size_t i = 0; i < field.size(); ++i)
                machine.adapters.push_back(
                    ParseAdapter(field[i], "adapters[" + std::to_string(i) + "]"));
        }
        if (key == "raise") machine.raise = ParseRaise(field);
        if (key == "nullResult") machine.nullResult = Boolean(field, "nullResult");
    }
    return machine;
}

}  // namespace

MachineFile::MachineFile(std::filesystem::path path) : path_(std::move(path)) {
    std::ifstream in(path_, std::ios::binary);
    if (!in) {
        std::error_code ignored;
        FailWith(path_, std::filesystem::exists(path_, ignored) ? "the file cannot be read"
                                                                : "no such file");
    }
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad()) FailWith(path_, "the file cannot be read");
    try {
        document_ = Json::parse(text);
        machine_ = ParseMachine(document_);
    } catch (const Json::parse_error& error) {
        FailWith(path_, std::string("malformed JSON: ") + error.what());
    } catch (const BadContent& error) {
        FailWith(path_, error.what());
    }
}

void MachineFile::SaveDnsServerSearchOrder(std::size_t adapter) {
    const auto& servers = machine_.adapters.at(adapter).dnsServerSearchOrder;
    Json& stored = document_["adapters"][adapter]["DNSServerSearchOrder"];
    stored = servers ? Json(*servers) : Json(nullptr);
    if (!WriteFileAtomically(path_, document_.dump(2) + "\n"))
        FailWith(path_, "the change cannot be written");
}

}  // namespace quorvel::simulated
