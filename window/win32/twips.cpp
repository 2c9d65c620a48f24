#include "twips.h"

namespace quorvel::win32 {

int TwipsToPixels(int twips, unsigned dpi) {
    const long long scaled = static_cast<long long>(twips) * dpi;
    return static_cast<int>((scaled + 720) / 1440);
}

RECT ControlRect(const ControlRow& row, unsigned dpi) {
    int left = row.left;
    int top = row.top;
    if (row.container != ControlId::Main) {
        const ControlRow& container = FindControl(row.container);
        left += container.left;
        top += container.top;
    }
    return RECT{TwipsToPixels(left, dpi), TwipsToPixels(top, dpi),
                TwipsToPixels(left + row.width, dpi), TwipsToPixels(top + row.height, dpi)};
}

}  // namespace quorvel::win32
