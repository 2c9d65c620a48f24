// The one exception type for errors the management service raises instead of returning a value:
// a failed connection, a refused query, a failed method call. Nothing in the management layer
// catches it; the window catches it once, where it dispatches an event.
#pragma once

#include "platform/error.h"

namespace quorvel {

class ManagementError : public platform::Error {
public:
    using platform::Error::Error;
};

using platform::FormatHresult;

}  // namespace quorvel
