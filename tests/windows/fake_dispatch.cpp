#include "fake_dispatch.h"

#include <memory>
#include <new>
#include <utility>

namespace quorvel::test {

Handler Returns(const VARIANT& value) {
    auto copy = std::make_shared<platform::UniqueVariant>();
    // mingw-w64 declares VariantCopy's source without const; it is only read.
    if (FAILED(VariantCopy(copy->Put(), const_cast<VARIANT*>(&value)))) throw std::bad_alloc();
    return [copy](const std::vector<VARIANT>&, VARIANT* result, EXCEPINFO*) {
        return VariantCopy(result, &copy->Get());
    };
}

Handler Returns(platform::UniqueVariant value) { return Returns(value.Get()); }

platform::ComPtr<FakeDispatch> FakeDispatch::Create(bool* destroyed) {
    return platform::ComPtr<FakeDispatch>::Attach(new FakeDispatch(destroyed));
}

void FakeDispatch::On(const std::wstring& name, Handler handler) {
    const DISPID id =
        name == L"_NewEnum" ? DISPID_NEWENUM : static_cast<DISPID>(members_.size() + 1);
    members_[id] = Member{name, std::move(handler)};
}

HRESULT FakeDispatch::QueryInterface(REFIID iid, void** object) {
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch)) {
        *object = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG FakeDispatch::AddRef() { return ++references_; }

ULONG FakeDispatch::Release() {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
}

HRESULT FakeDispatch::GetTypeInfoCount(UINT* count) {
    *count = 0;
    return S_OK;
}

HRESULT FakeDispatch::GetTypeInfo(UINT, LCID, ITypeInfo**) { return E_NOTIMPL; }

HRESULT FakeDispatch::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
    if (count != 1) return E_INVALIDARG;
    for (const auto& [id, member] : members_) {
        if (member.name == names[0]) {
            ids[0] = id;
            return S_OK;
        }
    }
    ids[0] = DISPID_UNKNOWN;
    return DISP_E_UNKNOWNNAME;
}

HRESULT FakeDispatch::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* parameters,
                             VARIANT* result, EXCEPINFO* exception, UINT*) {
    const auto member = members_.find(id);
    if (member == members_.end()) return DISP_E_MEMBERNOTFOUND;
    std::vector<VARIANT> arguments;
    RecordedCall call{member->second.name, flags, {}};
    for (UINT index = parameters->cArgs; index-- > 0;) {
        arguments.push_back(parameters->rgvarg[index]);
        platform::UniqueVariant copy;
        if (FAILED(VariantCopy(copy.Put(), &parameters->rgvarg[index]))) return E_OUTOFMEMORY;
        call.arguments.push_back(std::move(copy));
    }
    calls_.push_back(std::move(call));
    return member->second.handler(arguments, result, exception);
}

platform::ComPtr<FakeEnumerator> FakeEnumerator::Create(std::vector<platform::UniqueVariant> items,
                                                        std::size_t failAt, HRESULT failure) {
    auto enumerator = platform::ComPtr<FakeEnumerator>::Attach(new FakeEnumerator);
    enumerator->items_ = std::move(items);
    enumerator->failAt_ = failAt;
    enumerator->failure_ = failure;
    return enumerator;
}

HRESULT FakeEnumerator::QueryInterface(REFIID iid, void** object) {
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IEnumVARIANT)) {
        *object = static_cast<IEnumVARIANT*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG FakeEnumerator::AddRef() { return ++references_; }

ULONG FakeEnumerator::Release() {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
}

HRESULT FakeEnumerator::Next(ULONG count, VARIANT* items, ULONG* fetched) {
    ULONG done = 0;
    for (; done < count && next_ < items_.size(); ++done, ++next_) {
        if (next_ == failAt_) {
            if (fetched != nullptr) *fetched = done;
            return failure_;
        }
        VariantInit(&items[done]);
        const HRESULT copied = VariantCopy(&items[done], &items_[next_].Get());
        if (FAILED(copied)) return copied;
    }
    if (fetched != nullptr) *fetched = done;
    return done == count ? S_OK : S_FALSE;
}

HRESULT FakeEnumerator::Skip(ULONG) { return E_NOTIMPL; }
HRESULT FakeEnumerator::Reset() { return E_NOTIMPL; }
HRESULT FakeEnumerator::Clone(IEnumVARIANT**) { return E_NOTIMPL; }

platform::UniqueVariant ObjectVariant(IDispatch* object) {
    platform::UniqueVariant value;
    value.Get().vt = VT_DISPATCH;
    value.Get().pdispVal = object;
    if (object != nullptr) object->AddRef();
    return value;
}

Handler Enumerates(std::vector<IDispatch*> items) {
    auto owned = std::make_shared<std::vector<platform::ComPtr<IDispatch>>>();
    for (IDispatch* item : items) owned->push_back(platform::ComPtr<IDispatch>::Borrow(item));
    return [owned](const std::vector<VARIANT>&, VARIANT* result, EXCEPINFO*) {
        std::vector<platform::UniqueVariant> values;
        for (const auto& item : *owned) values.push_back(ObjectVariant(item.Get()));
        result->vt = VT_UNKNOWN;
        result->punkVal = FakeEnumerator::Create(std::move(values)).Detach();
        return S_OK;
    };
}

}  // namespace quorvel::test
