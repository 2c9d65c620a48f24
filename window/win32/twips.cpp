#include "window/win32/twips.h"

namespace quorvel::win32 {

int TwipsToPixels(int twips, unsigned dpi) {
    const long long scaled = static_cast<long long>(twips) * dpi;
    return static_cast<int>((scaled + 720) / 1440);
}

RECT ControlRect(const ControlSpec& spec, unsigned dpi) {
    int left = spec.left;
    int top = spec.top;
    if (spec.container != ControlId::Main) {
        const ControlSpec& container = FindControl(spec.container);
        left += container.left;
        top += container.top;
    }
    return RECT{TwipsToPixels(left, dpi), TwipsToPixels(top, dpi),
                TwipsToPixels(left + spec.width, dpi), TwipsToPixels(top + spec.height, dpi)};
}

}  // namespace quorvel::win32
