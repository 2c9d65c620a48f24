// The part of WQL the simulated service understands:
//   SELECT * FROM Win32_NetworkAdapterConfiguration [WHERE condition [AND condition]...]
// where a condition is Property=TRUE, Property=FALSE or Property='literal' ("\\" and "\'" are the
// escapes inside a literal). Keywords, the class and property names are case-insensitive.
#pragma once

#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "machine.h"

namespace quorvel::simulated {

enum class AdapterProperty { Description, IPEnabled };

struct Condition {
    AdapterProperty property;
    // TRUE/FALSE for IPEnabled, the literal's text for Description.
    std::variant<bool, std::string> value;
};

struct AdapterQuery {
    // All must hold; none selects every adapter.
    std::vector<Condition> conditions;
};

// Raises 0x80041017 (invalid query) for a text outside the subset, an unknown property or a value
// of the wrong kind, and 0x80041010 (invalid class) for a class other than the adapter one.
AdapterQuery ParseAdapterQuery(std::string_view wql);

bool Matches(const AdapterQuery& query, const SimulatedAdapter& adapter);

}  // namespace quorvel::simulated
