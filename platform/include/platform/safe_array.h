// An owning SAFEARRAY, destroyed together with the elements it holds. SafeArrayDestroy can only
// fail for a locked array, and no lock outlives its scope here.
#pragma once

#include <windows.h>

#include <oleauto.h>

#include "platform/unique_any.h"

namespace quorvel::platform {

using UniqueSafeArray = UniqueAny<SAFEARRAY*, &SafeArrayDestroy>;

}  // namespace quorvel::platform
