// Failed HRESULTs of the scripting objects become ManagementError, the management interface's
// error, with the platform's text for them.
#pragma once

#include <oaidl.h>

#include <string_view>

#include "management/management_error.h"
#include "platform/excep_info.h"

namespace quorvel::com {

// The text for a code no message table knows.
inline constexpr std::string_view kNeutralErrorText = "The management service reported an error.";

ManagementError ServiceError(HRESULT hresult);

[[noreturn]] inline void ThrowHresult(HRESULT hresult) { throw ServiceError(hresult); }

inline void ThrowIfFailed(HRESULT hresult) {
    if (FAILED(hresult)) ThrowHresult(hresult);
}

// The error for an Invoke that answered DISP_E_EXCEPTION: the code the object gave and its
// description, once any deferred fill-in has run.
ManagementError ErrorFromException(platform::UniqueExcepInfo& exception);

}  // namespace quorvel::com
