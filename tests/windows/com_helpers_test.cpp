// The COM helpers on their own: ownership of pointers, BSTRs, VARIANTs and SAFEARRAYs, text
// conversion, value conversion and error texts. None of this needs WMI.
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "management/management_error.h"
#include "management/wmi/bstr.h"
#include "management/wmi/com_error.h"
#include "management/wmi/com_ptr.h"
#include "management/wmi/safe_array.h"
#include "management/utf16.h"
#include "management/wmi/variant.h"
#include "management/wmi/variant_convert.h"
#include "management/wmi/wmi_management.h"
#include "tests/windows/fake_dispatch.h"

namespace quorvel::com {
namespace {

using testing::FakeDispatch;
using testing::ObjectVariant;

// --- UTF-8 <-> UTF-16 ---

struct TextCase {
    std::string utf8;
    std::wstring utf16;
};

class Utf : public ::testing::TestWithParam<TextCase> {};

TEST_P(Utf, ConvertsBothWays) {
    EXPECT_EQ(ToUtf16(GetParam().utf8), GetParam().utf16);
    EXPECT_EQ(ToUtf8(GetParam().utf16), GetParam().utf8);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, Utf,
    ::testing::Values(TextCase{"", L""}, TextCase{"root\\cimv2", L"root\\cimv2"},
                      TextCase{"\xE7\xBD\x91\xE5\x8D\xA1", {0x7F51, 0x5361}},
                      TextCase{"所选网卡不存在。", L"所选网卡不存在。"},
                      TextCase{"DNS设置失败: Invalid IP address.",
                               L"DNS设置失败: Invalid IP address."},
                      TextCase{"\xF0\x9F\x98\x80", {0xD83D, 0xDE00}},
                      TextCase{std::string("a\0b", 3), std::wstring(L"a\0b", 3)}));

TEST(Utf, IllFormedInputBecomesReplacementCharacter) {
    EXPECT_EQ(ToUtf16("a\xFF"
                      "b"),
              L"a\xFFFD"
              L"b");
    EXPECT_EQ(ToUtf8(std::wstring{L'a', 0xD800, L'b'}),
              "a\xEF\xBF\xBD"
              "b");
}

// --- ComPtr ---

class ComPtrTest : public ::testing::Test {
protected:
    // A fresh object with its one reference held by nobody yet.
    FakeDispatch* NewObject() { return new FakeDispatch(&destroyed_); }
    bool destroyed_ = false;
};

TEST_F(ComPtrTest, AttachTakesOverTheReferenceAndReleasesItOnce) {
    FakeDispatch* raw = NewObject();
    {
        const auto owner = ComPtr<FakeDispatch>::Attach(raw);
        EXPECT_EQ(raw->References(), 1u);
    }
    EXPECT_TRUE(destroyed_);
}

TEST_F(ComPtrTest, BorrowCopyAndMoveCountReferences) {
    auto owner = ComPtr<FakeDispatch>::Attach(NewObject());
    FakeDispatch* raw = owner.Get();
    {
        const auto borrowed = ComPtr<FakeDispatch>::Borrow(raw);
        const ComPtr<FakeDispatch> copy = borrowed;
        EXPECT_EQ(raw->References(), 3u);
        EXPECT_TRUE(copy == owner);
    }
    EXPECT_EQ(raw->References(), 1u);
    ComPtr<FakeDispatch> moved = std::move(owner);
    EXPECT_EQ(raw->References(), 1u);
    EXPECT_TRUE(owner == nullptr);
    EXPECT_FALSE(moved == owner);
    moved.Reset();
    EXPECT_TRUE(destroyed_);
}

TEST_F(ComPtrTest, PutReleasesTheOldObjectBeforeReceivingTheNew) {
    auto holder = ComPtr<IDispatch>::Attach(NewObject());
    bool secondDestroyed = false;
    *holder.Put() = new FakeDispatch(&secondDestroyed);
    EXPECT_TRUE(destroyed_);
    holder = nullptr;
    EXPECT_TRUE(secondDestroyed);
}

TEST_F(ComPtrTest, AsQueriesForAnotherInterface) {
    const auto object = ComPtr<IDispatch>::Attach(NewObject());
    ComPtr<IUnknown> unknown;
    ASSERT_EQ(object.As(IID_IUnknown, unknown), S_OK);
    EXPECT_NE(unknown.Get(), nullptr);
    ComPtr<IEnumVARIANT> enumerator;
    EXPECT_EQ(object.As(IID_IEnumVARIANT, enumerator), E_NOINTERFACE);
    EXPECT_TRUE(enumerator == nullptr);
    unknown.Reset();
    EXPECT_EQ(static_cast<FakeDispatch*>(object.Get())->References(), 1u);
}

// --- BSTR, VARIANT, SAFEARRAY ---

TEST(UniqueBstr, KeepsTheWholeTextAndHandsItOver) {
    UniqueBstr text(std::wstring(L"网卡\0#2", 5));
    EXPECT_EQ(SysStringLen(text.Get()), 5u);
    EXPECT_EQ(text.View(), std::wstring_view(L"网卡\0#2", 5));
    UniqueBstr moved = std::move(text);
    EXPECT_EQ(text.Get(), nullptr);
    EXPECT_EQ(text.View(), L"");
    const UniqueBstr again = UniqueBstr::Attach(moved.Detach());
    EXPECT_EQ(moved.Get(), nullptr);
    EXPECT_EQ(again.View(), std::wstring_view(L"网卡\0#2", 5));
}

TEST(UniqueVariant, ReleasesWhatItHoldsExactlyOnce) {
    bool destroyed = false;
    auto object = ComPtr<FakeDispatch>::Attach(new FakeDispatch(&destroyed));
    {
        UniqueVariant value = ObjectVariant(object.Get());
        EXPECT_EQ(object->References(), 2u);
        UniqueVariant moved = std::move(value);
        EXPECT_EQ(value.Get().vt, VT_EMPTY);
        EXPECT_EQ(object->References(), 2u);
    }
    EXPECT_EQ(object->References(), 1u);
    UniqueVariant replaced = ObjectVariant(object.Get());
    replaced.Put();
    EXPECT_EQ(replaced.Get().vt, VT_EMPTY);
    object.Reset();
    EXPECT_TRUE(destroyed);
}

TEST(UniqueVariant, FromTextHoldsABstr) {
    const UniqueVariant value = UniqueVariant::FromText(L"root\\cimv2");
    ASSERT_EQ(value.Get().vt, VT_BSTR);
    EXPECT_EQ(BstrView(value.Get().bstrVal), L"root\\cimv2");
}

TEST(UniqueSafeArray, DestroysItsElements) {
    bool destroyed = false;
    auto object = ComPtr<FakeDispatch>::Attach(new FakeDispatch(&destroyed));
    {
        const auto array = UniqueSafeArray::Attach(SafeArrayCreateVector(VT_DISPATCH, 0, 1));
        ASSERT_NE(array.Get(), nullptr);
        LONG index = 0;
        ASSERT_EQ(SafeArrayPutElement(array.Get(), &index, object.Get()), S_OK);
        EXPECT_EQ(object->References(), 2u);
    }
    EXPECT_EQ(object->References(), 1u);
    object.Reset();
    EXPECT_TRUE(destroyed);
}

// A one-dimensional array of `type` with its first element at `lowerBound`.
UniqueVariant ArrayVariant(VARTYPE type, LONG lowerBound, const std::vector<std::wstring>& texts) {
    SAFEARRAYBOUND bound{static_cast<ULONG>(texts.size()), lowerBound};
    auto array = UniqueSafeArray::Attach(SafeArrayCreate(type, 1, &bound));
    for (std::size_t i = 0; i < texts.size(); ++i) {
        LONG index = lowerBound + static_cast<LONG>(i);
        UniqueVariant element = UniqueVariant::FromText(texts[i]);
        void* data = type == VT_BSTR ? static_cast<void*>(element.Get().bstrVal)
                                     : static_cast<void*>(&element.Get());
        EXPECT_EQ(SafeArrayPutElement(array.Get(), &index, data), S_OK);
    }
    UniqueVariant value;
    value.Get().vt = static_cast<VARTYPE>(VT_ARRAY | type);
    value.Get().parray = array.Detach();
    return value;
}

TEST(TextList, ServerListRoundTripsThroughABstrArray) {
    const std::vector<std::string> servers{"192.0.2.53", "198.51.100.53"};
    const UniqueVariant value = TextArray(servers);
    ASSERT_EQ(value.Get().vt, VT_ARRAY | VT_BSTR);
    LONG lower = -1;
    ASSERT_EQ(SafeArrayGetLBound(value.Get().parray, 1, &lower), S_OK);
    EXPECT_EQ(lower, 0);
    EXPECT_EQ(TextListOrNull(value.Get()), servers);
    EXPECT_EQ(TextListOrNull(TextArray({}).Get()), std::vector<std::string>{});
}

struct ListCase {
    VARTYPE elementType;
    LONG lowerBound;
};

class TextListFromArray : public ::testing::TestWithParam<ListCase> {};

TEST_P(TextListFromArray, ReadsFromTheLowerBoundUp) {
    const UniqueVariant value = ArrayVariant(GetParam().elementType, GetParam().lowerBound,
                                             {L"10.0.0.1", L"网关", L"10.0.0.3"});
    EXPECT_EQ(TextListOrNull(value.Get()),
              (std::vector<std::string>{"10.0.0.1", "网关", "10.0.0.3"}));
}

INSTANTIATE_TEST_SUITE_P(Arrays, TextListFromArray,
                         ::testing::Values(ListCase{VT_BSTR, 0}, ListCase{VT_VARIANT, 0},
                                           ListCase{VT_BSTR, 1}, ListCase{VT_VARIANT, -2}));

TEST(TextList, EmptyAndNullAreNull) {
    UniqueVariant value;
    EXPECT_EQ(TextListOrNull(value.Get()), std::nullopt);
    value.Get().vt = VT_NULL;
    EXPECT_EQ(TextListOrNull(value.Get()), std::nullopt);
}

TEST(TextList, AnythingButAnArrayIsATypeMismatch) {
    const UniqueVariant text = UniqueVariant::FromText(L"10.0.0.1");
    try {
        TextListOrNull(text.Get());
        FAIL() << "no error raised";
    } catch (const ManagementError& error) {
        EXPECT_EQ(error.hresult(), static_cast<std::uint32_t>(DISP_E_TYPEMISMATCH));
    }
}

TEST(Text, NullIsNullAndOtherValuesAreText) {
    UniqueVariant value;
    EXPECT_EQ(TextOrNull(value.Get()), std::nullopt);
    value.Get().vt = VT_NULL;
    EXPECT_EQ(TextOrNull(value.Get()), std::nullopt);
    EXPECT_EQ(TextOrNull(UniqueVariant::FromText(L"").Get()), "");
    EXPECT_EQ(TextOrNull(UniqueVariant::FromText(L"Realtek 网卡").Get()), "Realtek 网卡");
    value.Get().vt = VT_I4;
    value.Get().lVal = 42;
    EXPECT_EQ(TextOrNull(value.Get()), "42");
}

struct NumberCase {
    VARTYPE type;
    LONGLONG bits;
    std::uint32_t expected;
};

class Number : public ::testing::TestWithParam<NumberCase> {};

TEST_P(Number, BecomesTheUnsigned32BitValue) {
    UniqueVariant value;
    value.Get().vt = GetParam().type;
    value.Get().llVal = GetParam().bits;
    EXPECT_EQ(ToUint32(value.Get()), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Integers, Number,
                         ::testing::Values(NumberCase{VT_I4, 0, 0}, NumberCase{VT_I4, 91, 91},
                                           NumberCase{VT_I4, -1, 0xFFFFFFFFu},
                                           NumberCase{VT_UI4, 0x80041017, 0x80041017u},
                                           NumberCase{VT_I2, 70, 70}, NumberCase{VT_UI1, 100, 100},
                                           NumberCase{VT_INT, 1, 1}, NumberCase{VT_UINT, 84, 84},
                                           NumberCase{VT_I8, 0x100000045, 0x45}));

TEST(Number, OtherTypesAreConvertedOrRaise) {
    EXPECT_EQ(ToUint32(UniqueVariant::FromText(L"68").Get()), 68u);
    try {
        ToUint32(UniqueVariant::FromText(L"not a number").Get());
        FAIL() << "no error raised";
    } catch (const ManagementError& error) {
        EXPECT_EQ(error.hresult(), static_cast<std::uint32_t>(DISP_E_TYPEMISMATCH));
    }
}

TEST(Dispatch, NullResultsAreNullAndObjectsAreKept) {
    UniqueVariant value;
    EXPECT_TRUE(DispatchOrNull(value.Get()) == nullptr);
    value.Get().vt = VT_NULL;
    EXPECT_TRUE(DispatchOrNull(value.Get()) == nullptr);
    value = ObjectVariant(nullptr);
    EXPECT_TRUE(DispatchOrNull(value.Get()) == nullptr);

    const auto object = ComPtr<IDispatch>::Attach(new FakeDispatch);
    value = ObjectVariant(object.Get());
    EXPECT_EQ(DispatchOrNull(value.Get()).Get(), object.Get());
    value.Reset();
    value.Get().vt = VT_UNKNOWN;
    value.Get().punkVal = object.Get();
    object->AddRef();
    EXPECT_EQ(DispatchOrNull(value.Get()).Get(), object.Get());
    EXPECT_THROW(DispatchOrNull(UniqueVariant::FromText(L"x").Get()), ManagementError);
}

// --- Errors ---

TEST(ThrowIfFailed, SuccessCodesPassAndFailuresCarryTheirCode) {
    EXPECT_NO_THROW(ThrowIfFailed(S_OK));
    EXPECT_NO_THROW(ThrowIfFailed(S_FALSE));
    try {
        ThrowIfFailed(E_ACCESSDENIED);
        FAIL() << "no error raised";
    } catch (const ManagementError& error) {
        EXPECT_EQ(error.hresult(), 0x80070005u);
        EXPECT_FALSE(error.text().empty());
        EXPECT_NE(error.text(), kNeutralErrorText);
        EXPECT_NE(error.text().back(), '\n');
    }
}

TEST(ThrowIfFailed, UnknownCodeGetsTheNeutralText) {
    try {
        ThrowIfFailed(static_cast<HRESULT>(0xA00FFFFFu));
        FAIL() << "no error raised";
    } catch (const ManagementError& error) {
        EXPECT_EQ(error.hresult(), 0xA00FFFFFu);
        EXPECT_EQ(error.text(), kNeutralErrorText);
    }
}

HRESULT STDMETHODCALLTYPE FillInLater(EXCEPINFO* info) {
    info->scode = static_cast<SCODE>(0x80041017u);
    info->bstrDescription = SysAllocString(L"无效的查询\r\n");
    return S_OK;
}

TEST(ErrorFromException, RunsTheDeferredFillInAndTakesItsDescription) {
    UniqueExcepInfo exception;
    exception.Put()->pfnDeferredFillIn = FillInLater;
    const ManagementError error = ErrorFromException(exception);
    EXPECT_EQ(error.hresult(), 0x80041017u);
    EXPECT_EQ(error.text(), "无效的查询");
    EXPECT_EQ(exception.Get().pfnDeferredFillIn, nullptr);
}

TEST(ErrorFromException, WithoutDescriptionFallsBackToThePlatformText) {
    UniqueExcepInfo exception;
    exception.Put()->scode = E_ACCESSDENIED;
    exception.Get().bstrSource = SysAllocString(L"SWbemServicesEx");
    const ManagementError error = ErrorFromException(exception);
    EXPECT_EQ(error.hresult(), 0x80070005u);
    EXPECT_EQ(error.text(), SystemErrorText(E_ACCESSDENIED));
}

TEST(ErrorFromException, WithoutCodeIsDispException) {
    UniqueExcepInfo exception;
    exception.Put()->wCode = 1001;
    exception.Get().bstrDescription = SysAllocString(L"Object required");
    const ManagementError error = ErrorFromException(exception);
    EXPECT_EQ(error.hresult(), static_cast<std::uint32_t>(DISP_E_EXCEPTION));
    EXPECT_EQ(error.text(), "Object required");
}

// --- Apartment ---

TEST(ComApartment, NestsOnItsThreadAndRefusesAMultithreadedOne) {
    std::optional<std::uint32_t> refused;
    std::thread([&refused] {
        {
            const ComApartment outer;
            const ComApartment inner;
        }
        // Both were balanced, so the thread may now join the multithreaded apartment.
        if (FAILED(CoInitializeEx(nullptr, COINIT_MULTITHREADED))) return;
        try {
            const ComApartment apartment;
        } catch (const ManagementError& error) {
            refused = error.hresult();
        }
        CoUninitialize();
    }).join();
    EXPECT_EQ(refused, static_cast<std::uint32_t>(RPC_E_CHANGED_MODE));
}

}  // namespace
}  // namespace quorvel::com
