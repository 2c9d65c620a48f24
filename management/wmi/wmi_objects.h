// The scripting objects (SWbemLocator, SWbemServices, SWbemObjectSet, SWbemObject) behind the
// management interface, each held through its IDispatch.
#pragma once

#include <oaidl.h>

#include "management/management.h"
#include "management/wmi/com_ptr.h"

namespace quorvel::wmi {

LocatorRef WrapLocator(com::ComPtr<IDispatch> locator);
ServiceRef WrapService(com::ComPtr<IDispatch> service);
AdapterSetRef WrapAdapterSet(com::ComPtr<IDispatch> objectSet);
AdapterRef WrapAdapter(com::ComPtr<IDispatch> object);

}  // namespace quorvel::wmi
