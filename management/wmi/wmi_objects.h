// The scripting objects (SWbemLocator, SWbemServices, SWbemObjectSet, SWbemObject) behind the
// management interface, each held through its IDispatch.
#pragma once

#include <oaidl.h>

#include "management/management.h"
#include "platform/com_ptr.h"

namespace quorvel::wmi {

LocatorRef WrapLocator(platform::ComPtr<IDispatch> locator);
ServiceRef WrapService(platform::ComPtr<IDispatch> service);
AdapterSetRef WrapAdapterSet(platform::ComPtr<IDispatch> objectSet);
AdapterRef WrapAdapter(platform::ComPtr<IDispatch> object);

}  // namespace quorvel::wmi
