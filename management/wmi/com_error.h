// Failed HRESULTs become ManagementError, with the best text the platform has for them.
#pragma once

#include <oaidl.h>

#include <string>

#include "management/management_error.h"

namespace quorvel::com {

// The text for a code no message table knows.
inline constexpr const char* kNeutralErrorText = "The management service reported an error.";

// The platform's message for `hresult` (the system's table, then WMI's), or the neutral text.
std::string SystemErrorText(HRESULT hresult);

[[noreturn]] inline void ThrowHresult(HRESULT hresult) {
    throw ManagementError(static_cast<std::uint32_t>(hresult), SystemErrorText(hresult));
}

inline void ThrowIfFailed(HRESULT hresult) {
    if (FAILED(hresult)) ThrowHresult(hresult);
}

// The exception details IDispatch::Invoke fills in, with the strings it allocates.
class UniqueExcepInfo {
  public:
    UniqueExcepInfo() noexcept = default;
    UniqueExcepInfo(const UniqueExcepInfo&) = delete;
    UniqueExcepInfo& operator=(const UniqueExcepInfo&) = delete;
    ~UniqueExcepInfo() { Reset(); }

    EXCEPINFO& Get() noexcept { return info_; }
    EXCEPINFO* Put() noexcept {
        Reset();
        return &info_;
    }
    void Reset() noexcept;

  private:
    EXCEPINFO info_{};
};

// The error for an Invoke that answered DISP_E_EXCEPTION: the code the object gave and its
// description, once any deferred fill-in has run.
ManagementError ErrorFromException(UniqueExcepInfo& exception);

}  // namespace quorvel::com
