// An owning BSTR. A null BSTR is COM's empty string, so BstrView of an empty owner is "".
#pragma once

#include <windows.h>

#include <oleauto.h>

#include <string_view>

#include "platform/unique_any.h"

namespace quorvel::platform {

using UniqueBstr = UniqueAny<BSTR, &SysFreeString>;

// A copy of `text`, embedded nulls included; throws std::bad_alloc when the allocation fails.
UniqueBstr MakeBstr(std::wstring_view text);

// The text of a BSTR someone else owns; null is "".
inline std::wstring_view BstrView(BSTR bstr) noexcept {
    return bstr == nullptr ? std::wstring_view() : std::wstring_view(bstr, SysStringLen(bstr));
}

}  // namespace quorvel::platform
