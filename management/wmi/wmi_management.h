// The management service of the local computer: WMI in its scripting form, over COM.
#pragma once

#include "management/management.h"

namespace quorvel {

// Initialises COM apartment-threaded on the calling thread for its lifetime. Every COM object
// the thread uses must be gone before it is destroyed, on the same thread.
class ComApartment {
  public:
    // Raises ManagementError when the thread cannot enter a single-threaded apartment.
    ComApartment();
    ~ComApartment();
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
};

// Needs a ComApartment on the calling thread.
class WmiManagement final : public Management {
  public:
    // Creates "WbemScripting.SWbemLocator".
    LocatorRef CreateLocator() override;
    // Binds the moniker with CoGetObject.
    ServiceRef GetObjectByMoniker(const std::string& moniker) override;
};

}  // namespace quorvel
