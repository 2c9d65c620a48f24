// Late-bound calls on the scripting objects, the way a script host makes them.
#pragma once

#include <oaidl.h>

#include <span>
#include <string>
#include <vector>

#include "platform/com_ptr.h"
#include "platform/variant.h"

namespace quorvel::com {

// Reads the property or calls the method `name` with `arguments` in call order. Both go out as
// DISPATCH_METHOD | DISPATCH_PROPERTYGET, as script hosts send them; some objects answer a
// plain property get with E_NOTIMPL. Raises ManagementError for every failure.
platform::UniqueVariant Call(IDispatch& object, const std::wstring& name,
                             std::span<const platform::UniqueVariant> arguments = {});

// The objects of a collection in the order its _NewEnum enumerator yields them.
std::vector<platform::ComPtr<IDispatch>> Enumerate(IDispatch& collection);

}  // namespace quorvel::com
