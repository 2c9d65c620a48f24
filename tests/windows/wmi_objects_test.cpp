// The backend's calls on the scripting objects, checked against stand-ins: what goes out (names,
// flags, arguments and their order) and how the answers come back.
#include "wmi_objects.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "management/management_error.h"
#include "platform/bstr.h"
#include "variant_convert.h"
#include "tests/support/raised_error.h"
#include "fake_dispatch.h"

namespace quorvel::wmi {
namespace {

using platform::BstrView;
using platform::ComPtr;
using platform::UniqueVariant;
using test::Enumerates;
using test::FakeDispatch;
using test::Handler;
using test::ObjectVariant;
using test::Returns;

constexpr WORD kScriptCall = DISPATCH_METHOD | DISPATCH_PROPERTYGET;

UniqueVariant Int32(LONG value) {
    UniqueVariant result;
    result.Get().vt = VT_I4;
    result.Get().lVal = value;
    return result;
}

UniqueVariant Null() {
    UniqueVariant result;
    result.Get().vt = VT_NULL;
    return result;
}

std::vector<std::string> BstrArrayTexts(const VARIANT& value) {
    EXPECT_EQ(value.vt, VT_ARRAY | VT_BSTR);
    LONG lower = -1;
    EXPECT_EQ(SafeArrayGetLBound(value.parray, 1, &lower), S_OK);
    EXPECT_EQ(lower, 0);
    return com::TextListOrNull(value).value_or(std::vector<std::string>{});
}

std::uint32_t ErrorCode(const std::function<void()>& call) {
    const auto error = test::RaisedBy(call);
    if (error) return error->hresult();
    ADD_FAILURE() << "no error raised";
    return 0;
}

class Adapter : public ::testing::Test {
protected:
    ComPtr<FakeDispatch> object_ = FakeDispatch::Create();
    AdapterRef adapter_ = WrapAdapter(ComPtr<IDispatch>::Borrow(object_.Get()));
};

TEST_F(Adapter, ReadsPropertiesAsAScriptHostDoes) {
    object_->On(L"Description", Returns(UniqueVariant::FromText(L"Realtek PCIe GbE 网卡")));
    EXPECT_EQ(adapter_->Description(), "Realtek PCIe GbE 网卡");
    ASSERT_EQ(object_->Calls().size(), 1u);
    EXPECT_EQ(object_->Calls()[0].name, L"Description");
    EXPECT_EQ(object_->Calls()[0].flags, kScriptCall);
    EXPECT_TRUE(object_->Calls()[0].arguments.empty());
}

TEST_F(Adapter, NullPropertiesAreNull) {
    object_->On(L"Description", Returns(Null()));
    object_->On(L"DNSServerSearchOrder", Returns(UniqueVariant()));
    EXPECT_EQ(adapter_->Description(), std::nullopt);
    EXPECT_EQ(adapter_->DNSServerSearchOrder(), std::nullopt);
}

TEST_F(Adapter, DnsServersComeBackPrimaryFirst) {
    object_->On(L"DNSServerSearchOrder", Returns(com::TextArray({"192.0.2.1", "192.0.2.2"})));
    EXPECT_EQ(adapter_->DNSServerSearchOrder(),
              (std::vector<std::string>{"192.0.2.1", "192.0.2.2"}));
}

TEST_F(Adapter, AutomaticPassesNoServerListAtAll) {
    object_->On(L"SetDNSServerSearchOrder", Returns(Int32(0)));
    EXPECT_EQ(adapter_->SetDNSServerSearchOrder(), 0u);
    ASSERT_EQ(object_->Calls().size(), 1u);
    EXPECT_EQ(object_->Calls()[0].name, L"SetDNSServerSearchOrder");
    EXPECT_TRUE(object_->Calls()[0].flags & DISPATCH_METHOD);
    EXPECT_TRUE(object_->Calls()[0].arguments.empty());
}

TEST_F(Adapter, ServerListGoesAsOneBstrArrayInOrder) {
    object_->On(L"SetDNSServerSearchOrder", Returns(Int32(70)));
    EXPECT_EQ(adapter_->SetDNSServerSearchOrder({"192.0.2.53", "198.51.100.53"}), 70u);
    EXPECT_EQ(adapter_->SetDNSServerSearchOrder({"192.0.2.53"}), 70u);
    ASSERT_EQ(object_->Calls().size(), 2u);
    ASSERT_EQ(object_->Calls()[0].arguments.size(), 1u);
    EXPECT_EQ(BstrArrayTexts(object_->Calls()[0].arguments[0].Get()),
              (std::vector<std::string>{"192.0.2.53", "198.51.100.53"}));
    ASSERT_EQ(object_->Calls()[1].arguments.size(), 1u);
    EXPECT_EQ(BstrArrayTexts(object_->Calls()[1].arguments[0].Get()),
              std::vector<std::string>{"192.0.2.53"});
}

TEST_F(Adapter, NegativeReturnValueKeepsItsBits) {
    object_->On(L"SetDNSServerSearchOrder", Returns(Int32(-1)));
    EXPECT_EQ(adapter_->SetDNSServerSearchOrder(), 0xFFFFFFFFu);
}

TEST_F(Adapter, UnknownMethodRaisesTheLookupFailure) {
    EXPECT_EQ(ErrorCode([&] { adapter_->SetDNSServerSearchOrder(); }),
              static_cast<std::uint32_t>(DISP_E_UNKNOWNNAME));
    EXPECT_EQ(ErrorCode([&] { adapter_->SetDNSServerSearchOrder({"192.0.2.53"}); }),
              static_cast<std::uint32_t>(DISP_E_UNKNOWNNAME));
    EXPECT_TRUE(object_->Calls().empty());
}

TEST_F(Adapter, FailedInvokeRaisesItsCode) {
    object_->On(L"Description",
                [](const std::vector<VARIANT>&, VARIANT*, EXCEPINFO*) { return E_NOTIMPL; });
    EXPECT_EQ(ErrorCode([&] { adapter_->Description(); }), static_cast<std::uint32_t>(E_NOTIMPL));
}

TEST_F(Adapter, ExceptionRaisesTheObjectsCodeAndDescription) {
    object_->On(L"SetDNSServerSearchOrder",
                [](const std::vector<VARIANT>&, VARIANT*, EXCEPINFO* exception) {
                    exception->scode = static_cast<SCODE>(0x80041003u);
                    exception->bstrDescription = SysAllocString(L"Access denied ");
                    exception->bstrSource = SysAllocString(L"SWbemObjectEx");
                    return DISP_E_EXCEPTION;
                });
    const auto error =
        test::RaisedBy([this] { adapter_->SetDNSServerSearchOrder({"192.0.2.53"}); });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->hresult(), 0x80041003u);
    EXPECT_EQ(error->text(), "Access denied");
}

class Service : public ::testing::Test {
protected:
    ComPtr<FakeDispatch> service_ = FakeDispatch::Create();
    ServiceRef wrapped_ = WrapService(ComPtr<IDispatch>::Borrow(service_.Get()));
};

TEST_F(Service, SendsTheQueryTextUnchanged) {
    service_->On(L"ExecQuery", Returns(UniqueVariant()));
    const std::string query =
        "Select * from Win32_NetworkAdapterConfiguration where IPEnabled=TRUE and "
        "Description='Bob's 网卡 \\ #2'";
    wrapped_->ExecQuery(query);
    ASSERT_EQ(service_->Calls().size(), 1u);
    ASSERT_EQ(service_->Calls()[0].arguments.size(), 1u);
    const VARIANT& sent = service_->Calls()[0].arguments[0].Get();
    ASSERT_EQ(sent.vt, VT_BSTR);
    EXPECT_EQ(com::TextOrNull(sent), query);
}

class NullResult : public Service, public ::testing::WithParamInterface<VARTYPE> {};

TEST_P(NullResult, IsANullSet) {
    UniqueVariant result;
    result.Get().vt = GetParam();
    service_->On(L"ExecQuery", Returns(result.Get()));
    EXPECT_EQ(wrapped_->ExecQuery("SELECT * FROM Win32_NetworkAdapterConfiguration"), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Kinds, NullResult, ::testing::Values(VT_EMPTY, VT_NULL, VT_DISPATCH));

TEST_F(Service, ElementsFollowTheEnumeratorsOrder) {
    std::vector<ComPtr<FakeDispatch>> objects;
    std::vector<IDispatch*> items;
    for (const wchar_t* name : {L"eth1", L"eth0", L"eth1"}) {
        objects.push_back(FakeDispatch::Create());
        objects.back()->On(L"Description", Returns(UniqueVariant::FromText(name)));
        items.push_back(objects.back().Get());
    }
    const auto set = FakeDispatch::Create();
    set->On(L"_NewEnum", Enumerates(items));
    service_->On(L"ExecQuery", Returns(ObjectVariant(set.Get())));

    const AdapterSetRef adapters = wrapped_->ExecQuery("SELECT * FROM x");
    ASSERT_NE(adapters, nullptr);
    // Each call enumerates afresh, as For Each does.
    for (int pass = 0; pass < 2; ++pass) {
        std::vector<std::optional<std::string>> descriptions;
        for (const AdapterRef& adapter : adapters->Elements()) {
            descriptions.push_back(adapter->Description());
        }
        EXPECT_EQ(descriptions, (std::vector<std::optional<std::string>>{"eth1", "eth0", "eth1"}));
    }
}

TEST_F(Service, EmptySetHasNoElements) {
    const auto set = FakeDispatch::Create();
    set->On(L"_NewEnum", Enumerates({}));
    service_->On(L"ExecQuery", Returns(ObjectVariant(set.Get())));
    const AdapterSetRef adapters = wrapped_->ExecQuery("SELECT * FROM x");
    ASSERT_NE(adapters, nullptr);
    EXPECT_TRUE(adapters->Elements().empty());
}

TEST_F(Service, EnumerationFailureIsRaised) {
    const auto adapter = FakeDispatch::Create();
    const auto set = FakeDispatch::Create();
    set->On(L"_NewEnum", [&adapter](const std::vector<VARIANT>&, VARIANT* result, EXCEPINFO*) {
        std::vector<UniqueVariant> items;
        items.push_back(ObjectVariant(adapter.Get()));
        items.push_back(ObjectVariant(adapter.Get()));
        result->vt = VT_UNKNOWN;
        result->punkVal =
            test::FakeEnumerator::Create(std::move(items), 1, static_cast<HRESULT>(0x80041017u))
                .Detach();
        return S_OK;
    });
    service_->On(L"ExecQuery", Returns(ObjectVariant(set.Get())));
    const AdapterSetRef adapters = wrapped_->ExecQuery("SELECT * FROM x");
    EXPECT_EQ(ErrorCode([&] { adapters->Elements(); }), 0x80041017u);
    EXPECT_EQ(adapter->References(), 1u);
}

TEST(Locator, ConnectsWithComputerThenNamespaceAndNothingElse) {
    const auto service = FakeDispatch::Create();
    const auto locator = FakeDispatch::Create();
    locator->On(L"ConnectServer", Returns(ObjectVariant(service.Get())));
    service->On(L"ExecQuery", Returns(UniqueVariant()));

    const ServiceRef connected =
        WrapLocator(ComPtr<IDispatch>::Borrow(locator.Get()))->ConnectServer(".", "root\\cimv2");
    ASSERT_NE(connected, nullptr);
    ASSERT_EQ(locator->Calls().size(), 1u);
    const auto& arguments = locator->Calls()[0].arguments;
    ASSERT_EQ(arguments.size(), 2u);
    ASSERT_EQ(arguments[0].Get().vt, VT_BSTR);
    ASSERT_EQ(arguments[1].Get().vt, VT_BSTR);
    EXPECT_EQ(BstrView(arguments[0].Get().bstrVal), L".");
    EXPECT_EQ(BstrView(arguments[1].Get().bstrVal), L"root\\cimv2");

    connected->ExecQuery("SELECT * FROM x");
    EXPECT_EQ(service->Calls().size(), 1u);
}

TEST(Locator, NoServiceObjectIsAnError) {
    const auto locator = FakeDispatch::Create();
    locator->On(L"ConnectServer", Returns(UniqueVariant()));
    EXPECT_THROW(
        WrapLocator(ComPtr<IDispatch>::Borrow(locator.Get()))->ConnectServer(".", "root\\cimv2"),
        ManagementError);
}

TEST(Wrappers, ReleaseTheirObjects) {
    bool destroyed = false;
    {
        auto object = ComPtr<FakeDispatch>::Attach(new FakeDispatch(&destroyed));
        const AdapterRef adapter = WrapAdapter(ComPtr<IDispatch>::Borrow(object.Get()));
        object.Reset();
        EXPECT_FALSE(destroyed);
    }
    EXPECT_TRUE(destroyed);
}

}  // namespace
}  // namespace quorvel::wmi
