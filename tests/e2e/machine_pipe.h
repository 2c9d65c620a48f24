// A machine file served through a named pipe, one read at a time: while the program waits for
// the content, the scenario can look at its window in that very state.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "app_process.h"

namespace quorvel::e2e {

class MachinePipe {
public:
    // Ready for `reads` reads, each opening the pipe anew.
    MachinePipe(const std::wstring& name, int reads);
    MachinePipe(const MachinePipe&) = delete;
    MachinePipe& operator=(const MachinePipe&) = delete;

    // The path to hand over as the machine file.
    const std::wstring& Path() const { return path_; }
    // Waits until the program has opened the pipe for its next read; false past the deadline.
    bool WaitForRead();
    // Hands over the whole content and ends the read.
    void Deliver(const std::string& content);

private:
    struct Instance {
        platform::UniqueFileHandle pipe;
        platform::UniqueHandle connected;  // event of the pending connect
        OVERLAPPED overlapped{};
    };

    std::wstring path_;
    std::vector<Instance> instances_;
    // The instance the program opened last, not yet delivered to.
    Instance* open_ = nullptr;
};

}  // namespace quorvel::e2e
