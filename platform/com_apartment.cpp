#include "platform/com_apartment.h"

#include <objbase.h>

#include "platform/win32_error.h"

namespace quorvel::platform {
namespace {

HRESULT Enter() noexcept {
    return CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
}

}  // namespace

// S_FALSE (already initialised the same way) also needs its CoUninitialize.
ComApartment::ComApartment() : entered_(true) { ThrowIfFailed(Enter()); }

ComApartment ComApartment::Joined() noexcept { return ComApartment(SUCCEEDED(Enter())); }

ComApartment::~ComApartment() {
    if (entered_) CoUninitialize();
}

}  // namespace quorvel::platform
