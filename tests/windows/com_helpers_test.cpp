// The WMI backend's COM helpers on their own: value conversion and the errors of the scripting
// objects. None of this needs WMI.
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "management/management_error.h"
#include "com_error.h"
#include "variant_convert.h"
#include "platform/bstr.h"
#include "platform/com_ptr.h"
#include "platform/safe_array.h"
#include "platform/variant.h"
#include "platform/win32_error.h"
#include "tests/support/raised_error.h"
#include "fake_dispatch.h"

namespace quorvel::com {
namespace {

using platform::BstrView;
using platform::ComPtr;
using platform::UniqueExcepInfo;
using platform::UniqueSafeArray;
using platform::UniqueVariant;
using test::FakeDispatch;
using test::ObjectVariant;
using test::RaisedBy;

// --- Values of the scripting objects ---

// A one-dimensional array of `type` with its first element at `lowerBound`.
UniqueVariant ArrayVariant(VARTYPE type, LONG lowerBound, const std::vector<std::wstring>& texts) {
    SAFEARRAYBOUND bound{static_cast<ULONG>(texts.size()), lowerBound};
    UniqueSafeArray array(SafeArrayCreate(type, 1, &bound));
    for (std::size_t i = 0; i < texts.size(); ++i) {
        LONG index = lowerBound + static_cast<LONG>(i);
        UniqueVariant element = UniqueVariant::FromText(texts[i]);
        void* data = type == VT_BSTR ? static_cast<void*>(element.Get().bstrVal)
                                     : static_cast<void*>(&element.Get());
        EXPECT_EQ(SafeArrayPutElement(array.get(), &index, data), S_OK);
    }
    UniqueVariant value;
    value.Get().vt = static_cast<VARTYPE>(VT_ARRAY | type);
    value.Get().parray = array.release();
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
    const auto error = RaisedBy([&] { TextListOrNull(text.Get()); });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->hresult(), static_cast<std::uint32_t>(DISP_E_TYPEMISMATCH));
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
    const auto error = RaisedBy([] { ToUint32(UniqueVariant::FromText(L"not a number").Get()); });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->hresult(), static_cast<std::uint32_t>(DISP_E_TYPEMISMATCH));
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
    const auto error = RaisedBy([] { ThrowIfFailed(E_ACCESSDENIED); });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->hresult(), 0x80070005u);
    EXPECT_FALSE(error->text().empty());
    EXPECT_NE(error->text(), kNeutralErrorText);
    EXPECT_NE(error->text().back(), '\n');
}

TEST(ThrowIfFailed, UnknownCodeGetsTheNeutralText) {
    const auto error = RaisedBy([] { ThrowIfFailed(static_cast<HRESULT>(0xA00FFFFFu)); });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->hresult(), 0xA00FFFFFu);
    EXPECT_EQ(error->text(), kNeutralErrorText);
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
    EXPECT_EQ(error.text(), platform::ErrorText(E_ACCESSDENIED));
}

TEST(ErrorFromException, WithoutCodeIsDispException) {
    UniqueExcepInfo exception;
    exception.Put()->wCode = 1001;
    exception.Get().bstrDescription = SysAllocString(L"Object required");
    const ManagementError error = ErrorFromException(exception);
    EXPECT_EQ(error.hresult(), static_cast<std::uint32_t>(DISP_E_EXCEPTION));
    EXPECT_EQ(error.text(), "Object required");
}

}  // namespace
}  // namespace quorvel::com
