// The simulated service's WQL parser: any text is a query or the service's own error, and any
// description, escaped as the window escapes it, parses back to itself and selects exactly the
// adapters of that description.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

#include "management/management_error.h"
#include "hresults.h"
#include "wql_query.h"
#include "management/wql.h"
#include "fuzz_check.h"

using namespace quorvel;
using namespace quorvel::simulated;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        ParseAdapterQuery(text);
    } catch (const ManagementError& error) {
        fuzz::Check(error.hresult() == kWbemInvalidQuery || error.hresult() == kWbemInvalidClass,
                    "a refused query raises invalid query or invalid class");
    }

    const AdapterQuery query = ParseAdapterQuery(
        "Select * from Win32_NetworkAdapterConfiguration where IPEnabled=TRUE and "
        "Description='" +
        EscapeWqlString(text) + "'");
    fuzz::Check(query.conditions.size() == 2 &&
                    query.conditions[1].property == AdapterProperty::Description &&
                    std::get<std::string>(query.conditions[1].value) == text,
                "an escaped description parses back to itself");
    SimulatedAdapter adapter;
    adapter.description = std::string(text);
    fuzz::Check(Matches(query, adapter), "the escaped description matches its adapter");
    adapter.description = std::string(text) + "'";
    fuzz::Check(!Matches(query, adapter), "the escaped description matches no longer one");
    adapter.description = std::string(text);
    adapter.ipEnabled = false;
    fuzz::Check(!Matches(query, adapter), "IPEnabled=TRUE leaves out a disabled adapter");
    return 0;
}
