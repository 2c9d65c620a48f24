#include <new>

#include "platform/bstr.h"
#include "platform/excep_info.h"

namespace quorvel::platform {

UniqueBstr MakeBstr(std::wstring_view text) {
    UniqueBstr bstr(SysAllocStringLen(text.data(), static_cast<UINT>(text.size())));
    if (!bstr) throw std::bad_alloc();
    return bstr;
}

void UniqueExcepInfo::Reset() noexcept {
    SysFreeString(info_.bstrSource);
    SysFreeString(info_.bstrDescription);
    SysFreeString(info_.bstrHelpFile);
    info_ = EXCEPINFO{};
}

}  // namespace quorvel::platform
