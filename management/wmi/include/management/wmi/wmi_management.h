// The management service of the local computer: WMI in its scripting form, over COM.
#pragma once

#include "management/management.h"

namespace quorvel {

// Needs a platform::ComApartment on the calling thread.
class WmiManagement final : public Management {
public:
    // Creates "WbemScripting.SWbemLocator".
    LocatorRef CreateLocator() override;
    // Binds the moniker with CoGetObject.
    ServiceRef GetObjectByMoniker(const std::string& moniker) override;
};

}  // namespace quorvel
