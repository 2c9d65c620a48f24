// A scriptable object and an enumerator that stand in for the WMI scripting objects, so the
// backend's calls can be checked without a management service.
#pragma once

#include <oaidl.h>

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/com_ptr.h"
#include "platform/variant.h"

namespace quorvel::test {

// How a member answers: the arguments in call order, then Invoke's out-parameters.
using Handler =
    std::function<HRESULT(const std::vector<VARIANT>& arguments, VARIANT* result, EXCEPINFO*)>;

// A handler that answers with a copy of `value`.
Handler Returns(const VARIANT& value);
Handler Returns(platform::UniqueVariant value);

struct RecordedCall {
    std::wstring name;
    WORD flags;
    std::vector<platform::UniqueVariant> arguments;  // in call order
};

class FakeDispatch final : public IDispatch {
public:
    // `destroyed`, when given, is set once the last reference is gone.
    explicit FakeDispatch(bool* destroyed = nullptr) : destroyed_(destroyed) {}

    // A new object with one reference, owned by the returned pointer.
    static platform::ComPtr<FakeDispatch> Create(bool* destroyed = nullptr);

    // "_NewEnum" answers DISPID_NEWENUM.
    void On(const std::wstring& name, Handler handler);
    const std::vector<RecordedCall>& Calls() const { return calls_; }
    ULONG References() const { return references_; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                            DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* parameters,
                                     VARIANT* result, EXCEPINFO* exception,
                                     UINT* argumentError) override;

private:
    ~FakeDispatch() {
        if (destroyed_ != nullptr) *destroyed_ = true;
    }

    struct Member {
        std::wstring name;
        Handler handler;
    };

    ULONG references_ = 1;
    bool* destroyed_;
    std::map<DISPID, Member> members_;
    std::vector<RecordedCall> calls_;
};

// Yields copies of its items, then S_FALSE; or fails with `failure` when it reaches `failAt`.
class FakeEnumerator final : public IEnumVARIANT {
public:
    static platform::ComPtr<FakeEnumerator> Create(std::vector<platform::UniqueVariant> items,
                                                   std::size_t failAt = SIZE_MAX,
                                                   HRESULT failure = S_OK);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE Next(ULONG count, VARIANT* items, ULONG* fetched) override;
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override;
    HRESULT STDMETHODCALLTYPE Reset() override;
    HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT** clone) override;

private:
    FakeEnumerator() = default;
    ~FakeEnumerator() = default;

    ULONG references_ = 1;
    std::vector<platform::UniqueVariant> items_;
    std::size_t next_ = 0;
    std::size_t failAt_ = SIZE_MAX;
    HRESULT failure_ = S_OK;
};

// A VARIANT holding a new reference to `object`.
platform::UniqueVariant ObjectVariant(IDispatch* object);
// A handler for "_NewEnum" that hands out a fresh enumerator over copies of `items`.
Handler Enumerates(std::vector<IDispatch*> items);

}  // namespace quorvel::test
