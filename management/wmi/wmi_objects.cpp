#include "wmi_objects.h"

#include <utility>

#include "com_error.h"
#include "dispatch.h"
#include "platform/utf16.h"
#include "variant_convert.h"

namespace quorvel::wmi {
namespace {

using platform::ComPtr;
using platform::UniqueVariant;

class WmiAdapter final : public AdapterConfiguration {
public:
    explicit WmiAdapter(ComPtr<IDispatch> object) : object_(std::move(object)) {}

    std::optional<std::string> Description() override {
        return com::TextOrNull(com::Call(*object_.Get(), L"Description").Get());
    }

    std::optional<std::vector<std::string>> DNSServerSearchOrder() override {
        return com::TextListOrNull(com::Call(*object_.Get(), L"DNSServerSearchOrder").Get());
    }

    // No argument at all, so the method sees no server list and goes back to DHCP.
    std::uint32_t SetDNSServerSearchOrder() override {
        return com::ToUint32(com::Call(*object_.Get(), L"SetDNSServerSearchOrder").Get());
    }

    std::uint32_t SetDNSServerSearchOrder(const std::vector<std::string>& servers) override {
        const UniqueVariant list[] = {com::TextArray(servers)};
        return com::ToUint32(com::Call(*object_.Get(), L"SetDNSServerSearchOrder", list).Get());
    }

private:
    ComPtr<IDispatch> object_;
};

class WmiAdapterSet final : public AdapterSet {
public:
    explicit WmiAdapterSet(ComPtr<IDispatch> objectSet) : objectSet_(std::move(objectSet)) {}

    std::vector<AdapterRef> Elements() override {
        std::vector<AdapterRef> adapters;
        for (ComPtr<IDispatch>& object : com::Enumerate(*objectSet_.Get())) {
            adapters.push_back(WrapAdapter(std::move(object)));
        }
        return adapters;
    }

private:
    ComPtr<IDispatch> objectSet_;
};

class WmiService final : public Service {
public:
    explicit WmiService(ComPtr<IDispatch> service) : service_(std::move(service)) {}

    AdapterSetRef ExecQuery(const std::string& wql) override {
        const UniqueVariant query[] = {UniqueVariant::FromText(ToUtf16(wql))};
        const UniqueVariant result = com::Call(*service_.Get(), L"ExecQuery", query);
        ComPtr<IDispatch> objectSet = com::DispatchOrNull(result.Get());
        return objectSet ? WrapAdapterSet(std::move(objectSet)) : nullptr;
    }

private:
    ComPtr<IDispatch> service_;
};

class WmiLocator final : public Locator {
public:
    explicit WmiLocator(ComPtr<IDispatch> locator) : locator_(std::move(locator)) {}

    // The optional arguments (user, password, locale, authority, flags, context) are left out.
    ServiceRef ConnectServer(const std::string& computer, const std::string& nameSpace) override {
        const UniqueVariant arguments[] = {UniqueVariant::FromText(ToUtf16(computer)),
                                           UniqueVariant::FromText(ToUtf16(nameSpace))};
        const UniqueVariant result = com::Call(*locator_.Get(), L"ConnectServer", arguments);
        ComPtr<IDispatch> service = com::DispatchOrNull(result.Get());
        if (!service) com::ThrowHresult(E_POINTER);
        return WrapService(std::move(service));
    }

private:
    ComPtr<IDispatch> locator_;
};

}  // namespace

LocatorRef WrapLocator(ComPtr<IDispatch> locator) {
    return std::make_shared<WmiLocator>(std::move(locator));
}

ServiceRef WrapService(ComPtr<IDispatch> service) {
    return std::make_shared<WmiService>(std::move(service));
}

AdapterSetRef WrapAdapterSet(ComPtr<IDispatch> objectSet) {
    return std::make_shared<WmiAdapterSet>(std::move(objectSet));
}

AdapterRef WrapAdapter(ComPtr<IDispatch> object) {
    return std::make_shared<WmiAdapter>(std::move(object));
}

}  // namespace quorvel::wmi
