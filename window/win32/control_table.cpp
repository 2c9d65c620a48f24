#include "control_table.h"

#include <algorithm>
#include <stdexcept>

namespace quorvel::win32 {

std::size_t IndexOf(ControlId id) {
    const auto row = std::find_if(kControls.begin(), kControls.end(),
                                  [id](const ControlRow& entry) { return entry.id == id; });
    if (row == kControls.end()) throw std::out_of_range("no control with this id");
    return static_cast<std::size_t>(row - kControls.begin());
}

}  // namespace quorvel::win32
