// The exception details IDispatch::Invoke fills in, with the strings it allocates.
#pragma once

#include <windows.h>

#include <oaidl.h>

namespace quorvel::platform {

class UniqueExcepInfo {
public:
    UniqueExcepInfo() noexcept = default;
    UniqueExcepInfo(const UniqueExcepInfo&) = delete;
    UniqueExcepInfo& operator=(const UniqueExcepInfo&) = delete;
    ~UniqueExcepInfo() { Reset(); }

    EXCEPINFO& Get() noexcept { return info_; }
    // For an out-parameter: frees what it holds first.
    EXCEPINFO* Put() noexcept {
        Reset();
        return &info_;
    }
    void Reset() noexcept;

private:
    EXCEPINFO info_{};
};

}  // namespace quorvel::platform
