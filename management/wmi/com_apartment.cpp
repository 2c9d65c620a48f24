#include <objbase.h>

#include "management/wmi/com_error.h"
#include "management/wmi/wmi_management.h"

namespace quorvel {

ComApartment::ComApartment() {
    // S_FALSE (already initialised the same way) also needs its CoUninitialize.
    com::ThrowIfFailed(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
}

ComApartment::~ComApartment() { CoUninitialize(); }

}  // namespace quorvel
