#include "connection_target.h"

#include "ascii.h"
#include "hresults.h"

namespace quorvel::simulated {

void CheckLocatorTarget(std::string_view computer, std::string_view nameSpace) {
    if (computer != ".") Raise(kRpcServerUnavailable);
    if (!EqualsIgnoringCase(nameSpace, "root\\cimv2")) Raise(kWbemInvalidNamespace);
}

void CheckMonikerTarget(std::string_view moniker) {
    constexpr std::string_view prefix = "winmgmts:\\\\";
    if (moniker.size() < prefix.size() ||
        !EqualsIgnoringCase(moniker.substr(0, prefix.size()), prefix)) {
        Raise(kMonikerSyntax);
    }
    const std::string_view path = moniker.substr(prefix.size());
    const std::size_t separator = path.find('\\');
    if (separator == 0 || separator == std::string_view::npos) Raise(kMonikerSyntax);
    CheckLocatorTarget(path.substr(0, separator), path.substr(separator + 1));
}

}  // namespace quorvel::simulated
