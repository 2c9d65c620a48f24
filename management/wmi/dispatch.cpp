#include "dispatch.h"

#include <utility>

#include "com_error.h"
#include "variant_convert.h"
#include "platform/excep_info.h"

namespace quorvel::com {
namespace {

using platform::ComPtr;
using platform::UniqueExcepInfo;
using platform::UniqueVariant;

UniqueVariant Invoke(IDispatch& object, DISPID member, std::span<const UniqueVariant> arguments) {
    // DISPPARAMS takes the arguments last one first; these copies share what `arguments` owns.
    std::vector<VARIANT> reversed;
    reversed.reserve(arguments.size());
    for (auto argument = arguments.rbegin(); argument != arguments.rend(); ++argument) {
        reversed.push_back(argument->Get());
    }
    DISPPARAMS parameters{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
    UniqueVariant result;
    UniqueExcepInfo exception;
    UINT argumentError = 0;
    const HRESULT hresult =
        object.Invoke(member, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD | DISPATCH_PROPERTYGET,
                      &parameters, result.Put(), exception.Put(), &argumentError);
    if (hresult == DISP_E_EXCEPTION) throw ErrorFromException(exception);
    ThrowIfFailed(hresult);
    return result;
}

}  // namespace

UniqueVariant Call(IDispatch& object, const std::wstring& name,
                   std::span<const UniqueVariant> arguments) {
    std::wstring mutableName = name;
    LPOLESTR names[] = {mutableName.data()};
    DISPID member = DISPID_UNKNOWN;
    ThrowIfFailed(object.GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &member));
    return Invoke(object, member, arguments);
}

std::vector<ComPtr<IDispatch>> Enumerate(IDispatch& collection) {
    const UniqueVariant enumeratorValue = Invoke(collection, DISPID_NEWENUM, {});
    if (enumeratorValue.Get().vt != VT_UNKNOWN && enumeratorValue.Get().vt != VT_DISPATCH) {
        ThrowHresult(DISP_E_TYPEMISMATCH);
    }
    IUnknown* const unknown = enumeratorValue.Get().vt == VT_UNKNOWN
                                  ? enumeratorValue.Get().punkVal
                                  : enumeratorValue.Get().pdispVal;
    if (unknown == nullptr) ThrowHresult(E_POINTER);
    ComPtr<IEnumVARIANT> enumerator;
    ThrowIfFailed(ComPtr<IUnknown>::Borrow(unknown).As(IID_IEnumVARIANT, enumerator));

    std::vector<ComPtr<IDispatch>> objects;
    for (;;) {
        UniqueVariant element;
        ULONG fetched = 0;
        const HRESULT hresult = enumerator->Next(1, element.Put(), &fetched);
        ThrowIfFailed(hresult);
        if (hresult == S_FALSE || fetched == 0) break;
        ComPtr<IDispatch> object = DispatchOrNull(element.Get());
        if (!object) ThrowHresult(DISP_E_TYPEMISMATCH);
        objects.push_back(std::move(object));
    }
    return objects;
}

}  // namespace quorvel::com
