// The values the scripting objects hand back, turned into the program's types, and the server
// list turned into the value SetDNSServerSearchOrder takes. A value of an unexpected type raises
// ManagementError like any other failure of the service.
#pragma once

#include <oaidl.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/com_ptr.h"
#include "platform/variant.h"

namespace quorvel::com {

// VT_EMPTY and VT_NULL are null; anything else is converted to text.
std::optional<std::string> TextOrNull(const VARIANT& value);

// VT_EMPTY and VT_NULL are null; otherwise a one-dimensional array of BSTR or of VARIANT,
// returned from its lower bound up.
std::optional<std::vector<std::string>> TextListOrNull(const VARIANT& value);

// An integer of any width, or whatever converts to VT_UI4, as its unsigned 32-bit bit pattern.
std::uint32_t ToUint32(const VARIANT& value);

// VT_EMPTY, VT_NULL and a null object are null; VT_DISPATCH or VT_UNKNOWN gives the object.
platform::ComPtr<IDispatch> DispatchOrNull(const VARIANT& value);

// A VT_ARRAY|VT_BSTR holding the texts from index 0 on.
platform::UniqueVariant TextArray(const std::vector<std::string>& texts);

}  // namespace quorvel::com
