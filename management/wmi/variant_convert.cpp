#include "variant_convert.h"

#include "platform/bstr.h"
#include "com_error.h"
#include "platform/safe_array.h"
#include "platform/utf16.h"

namespace quorvel::com {
namespace {

using platform::BstrView;
using platform::ComPtr;
using platform::UniqueBstr;
using platform::UniqueSafeArray;
using platform::UniqueVariant;

// mingw-w64 declares the source of VariantChangeType without const; it is only read.
HRESULT ChangeType(UniqueVariant& converted, const VARIANT& value, VARTYPE type) {
    return VariantChangeType(converted.Put(), const_cast<VARIANT*>(&value), 0, type);
}

bool IsNull(const VARIANT& value) { return value.vt == VT_EMPTY || value.vt == VT_NULL; }

std::string Text(const VARIANT& value) {
    if (value.vt == VT_BSTR) return ToUtf8(BstrView(value.bstrVal));
    UniqueVariant converted;
    ThrowIfFailed(ChangeType(converted, value, VT_BSTR));
    return ToUtf8(BstrView(converted.Get().bstrVal));
}

template <class Element>
std::vector<std::string> ReadElements(SAFEARRAY* array, Element (*read)(SAFEARRAY*, LONG)) {
    LONG lower = 0;
    LONG upper = 0;
    ThrowIfFailed(SafeArrayGetLBound(array, 1, &lower));
    ThrowIfFailed(SafeArrayGetUBound(array, 1, &upper));
    std::vector<std::string> texts;
    for (LONG index = lower; index <= upper; ++index) texts.push_back(read(array, index));
    return texts;
}

std::string ReadBstr(SAFEARRAY* array, LONG index) {
    UniqueBstr element;
    ThrowIfFailed(SafeArrayGetElement(array, &index, element.put()));
    return ToUtf8(BstrView(element.get()));
}

std::string ReadVariant(SAFEARRAY* array, LONG index) {
    UniqueVariant element;
    ThrowIfFailed(SafeArrayGetElement(array, &index, element.Put()));
    return Text(element.Get());
}

}  // namespace

std::optional<std::string> TextOrNull(const VARIANT& value) {
    if (IsNull(value)) return std::nullopt;
    return Text(value);
}

std::optional<std::vector<std::string>> TextListOrNull(const VARIANT& value) {
    if (IsNull(value)) return std::nullopt;
    if ((value.vt & VT_ARRAY) == 0 || value.parray == nullptr ||
        SafeArrayGetDim(value.parray) != 1) {
        ThrowHresult(DISP_E_TYPEMISMATCH);
    }
    switch (value.vt & VT_TYPEMASK) {
        case VT_BSTR:
            return ReadElements(value.parray, ReadBstr);
        case VT_VARIANT:
            return ReadElements(value.parray, ReadVariant);
        default:
            ThrowHresult(DISP_E_TYPEMISMATCH);
    }
}

std::uint32_t ToUint32(const VARIANT& value) {
    switch (value.vt) {
        case VT_I1:
            return static_cast<std::uint32_t>(value.cVal);
        case VT_UI1:
            return value.bVal;
        case VT_I2:
            return static_cast<std::uint32_t>(value.iVal);
        case VT_UI2:
            return value.uiVal;
        case VT_I4:
            return static_cast<std::uint32_t>(value.lVal);
        case VT_UI4:
            return value.ulVal;
        case VT_INT:
            return static_cast<std::uint32_t>(value.intVal);
        case VT_UINT:
            return value.uintVal;
        case VT_I8:
            return static_cast<std::uint32_t>(value.llVal);
        case VT_UI8:
            return static_cast<std::uint32_t>(value.ullVal);
        default: {
            UniqueVariant converted;
            ThrowIfFailed(ChangeType(converted, value, VT_UI4));
            return converted.Get().ulVal;
        }
    }
}

ComPtr<IDispatch> DispatchOrNull(const VARIANT& value) {
    switch (value.vt) {
        case VT_EMPTY:
        case VT_NULL:
            return nullptr;
        case VT_DISPATCH:
            return ComPtr<IDispatch>::Borrow(value.pdispVal);
        case VT_UNKNOWN: {
            ComPtr<IDispatch> object;
            if (value.punkVal != nullptr) {
                ThrowIfFailed(ComPtr<IUnknown>::Borrow(value.punkVal).As(IID_IDispatch, object));
            }
            return object;
        }
        default:
            ThrowHresult(DISP_E_TYPEMISMATCH);
    }
}

UniqueVariant TextArray(const std::vector<std::string>& texts) {
    UniqueSafeArray array(SafeArrayCreateVector(VT_BSTR, 0, static_cast<ULONG>(texts.size())));
    if (!array) ThrowHresult(E_OUTOFMEMORY);
    for (LONG index = 0; index < static_cast<LONG>(texts.size()); ++index) {
        const UniqueBstr text = platform::MakeBstr(ToUtf16(texts[static_cast<std::size_t>(index)]));
        ThrowIfFailed(SafeArrayPutElement(array.get(), &index, text.get()));
    }
    UniqueVariant result;
    result.Get().parray = array.release();
    result.Get().vt = VT_ARRAY | VT_BSTR;
    return result;
}

}  // namespace quorvel::com
