// The platform layer on its own: the handle owner, the COM owners, text conversion, the error
// texts and the COM apartment.
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/bstr.h"
#include "platform/com_apartment.h"
#include "platform/com_ptr.h"
#include "platform/handles.h"
#include "platform/safe_array.h"
#include "platform/unique_any.h"
#include "platform/utf16.h"
#include "platform/variant.h"
#include "platform/win32_error.h"
#include "tests/support/raised_error.h"
#include "fake_dispatch.h"

namespace quorvel::platform {
namespace {

using test::FakeDispatch;
using test::ObjectVariant;
using test::RaisedBy;

// --- The handle owner ---

// A handle kind of the tests' own: ints, -1 owning nothing, every close recorded.
std::vector<int> closed;
void RecordClose(int value) noexcept { closed.push_back(value); }
int MinusOne() noexcept { return -1; }
using UniqueInt = UniqueAny<int, &RecordClose, &MinusOne>;

class UniqueAnyTest : public ::testing::Test {
protected:
    void SetUp() override { closed.clear(); }
};

TEST_F(UniqueAnyTest, ClosesEachValueOnceAndNeverTheInvalidOne) {
    {
        UniqueInt empty;
        EXPECT_FALSE(empty);
        EXPECT_EQ(empty.get(), -1);
        UniqueInt owner(0);
        EXPECT_TRUE(owner) << "0 is a valid value when -1 is the invalid one";
        owner.reset(7);
        EXPECT_EQ(closed, std::vector<int>{0});
        UniqueInt moved = std::move(owner);
        EXPECT_FALSE(owner);
        EXPECT_EQ(moved.get(), 7);
        moved = UniqueInt(8);
        EXPECT_EQ(closed, (std::vector<int>{0, 7}));
        EXPECT_EQ(moved.release(), 8);
        EXPECT_FALSE(moved);
        *moved.put() = 9;
    }
    EXPECT_EQ(closed, (std::vector<int>{0, 7, 9})) << "released 8 stays open; -1 is never closed";
}

TEST_F(UniqueAnyTest, PutClosesTheOldValueBeforeReceivingTheNew) {
    UniqueInt owner(3);
    int* slot = owner.put();
    EXPECT_EQ(closed, std::vector<int>{3});
    EXPECT_EQ(*slot, -1);
    *slot = 4;
    EXPECT_EQ(owner.get(), 4);
}

bool IsOpenHandle(HANDLE handle) {
    DWORD flags = 0;
    return GetHandleInformation(handle, &flags) != FALSE;
}

TEST(Handles, AFileOwnerTakesInvalidHandleValueAsEmptyAndClosesARealOne) {
    UniqueFileHandle missing(CreateFileW(L"C:\\no such folder\\no such file", GENERIC_READ, 0,
                                         nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_EQ(missing.get(), INVALID_HANDLE_VALUE);
    EXPECT_FALSE(missing);

    UniqueFileHandle device(
        CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(device);
    const HANDLE raw = device.get();
    EXPECT_TRUE(IsOpenHandle(raw));
    device.reset();
    EXPECT_FALSE(IsOpenHandle(raw));
    EXPECT_EQ(device.get(), INVALID_HANDLE_VALUE);
}

TEST(Handles, AKernelOwnerClosesItsHandle) {
    HANDLE raw = nullptr;
    {
        const UniqueHandle event(CreateEventW(nullptr, TRUE, FALSE, nullptr));
        ASSERT_TRUE(event);
        raw = event.get();
        EXPECT_TRUE(IsOpenHandle(raw));
    }
    EXPECT_FALSE(IsOpenHandle(raw));
}

TEST(Handles, ASelectedObjectIsPutBackAtScopeExit) {
    const WindowDc screen(nullptr);
    ASSERT_TRUE(screen);
    const UniqueMemoryDc memory(CreateCompatibleDC(screen.get()));
    const UniqueBitmap bitmap(CreateCompatibleBitmap(screen.get(), 4, 4));
    ASSERT_TRUE(memory && bitmap);
    const HGDIOBJ before = GetCurrentObject(memory.get(), OBJ_BITMAP);
    {
        const SelectedObject selected(memory.get(), bitmap.get());
        ASSERT_TRUE(selected);
        EXPECT_EQ(GetCurrentObject(memory.get(), OBJ_BITMAP), bitmap.get());
    }
    EXPECT_EQ(GetCurrentObject(memory.get(), OBJ_BITMAP), before);
}

// --- Errors ---

TEST(ErrorText, SystemCodesHaveTheirTextAndUnknownOnesTheFallback) {
    const std::string denied = ErrorText(E_ACCESSDENIED);
    EXPECT_FALSE(denied.empty());
    EXPECT_NE(denied, kUnknownErrorText);
    EXPECT_NE(denied.back(), '\n');
    EXPECT_EQ(ErrorText(static_cast<HRESULT>(0xA00FFFFFu)), kUnknownErrorText);
    EXPECT_EQ(ErrorText(static_cast<HRESULT>(0xA00FFFFFu), "no text"), "no text");
}

struct LastErrorCase {
    DWORD lastError;
    std::uint32_t hresult;
};

class ThrowLastErrorIfTest : public ::testing::TestWithParam<LastErrorCase> {};

TEST_P(ThrowLastErrorIfTest, RaisesTheLastErrorAsHresultWithItsText) {
    const auto error = RaisedBy<Error>([] {
        SetLastError(GetParam().lastError);
        ThrowLastErrorIf(true);
    });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->hresult(), GetParam().hresult);
    EXPECT_EQ(error->text(), ErrorText(static_cast<HRESULT>(GetParam().hresult)));
    EXPECT_EQ(std::string(error->what()),
              error->text() + " (" + FormatHresult(GetParam().hresult) + ")");
}

// A failure that set no error must not read as success.
INSTANTIATE_TEST_SUITE_P(Codes, ThrowLastErrorIfTest,
                         ::testing::Values(LastErrorCase{ERROR_FILE_NOT_FOUND, 0x80070002u},
                                           LastErrorCase{ERROR_ACCESS_DENIED, 0x80070005u},
                                           LastErrorCase{ERROR_SUCCESS, 0x80004005u}));

TEST(ThrowLastErrorIf, NoFailureRaisesNothing) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    EXPECT_NO_THROW(ThrowLastErrorIf(false));
}

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
    UniqueBstr text = MakeBstr(std::wstring(L"网卡\0#2", 5));
    EXPECT_EQ(SysStringLen(text.get()), 5u);
    EXPECT_EQ(BstrView(text.get()), std::wstring_view(L"网卡\0#2", 5));
    UniqueBstr moved = std::move(text);
    EXPECT_EQ(text.get(), nullptr);
    EXPECT_EQ(BstrView(text.get()), L"");
    const UniqueBstr again(moved.release());
    EXPECT_EQ(moved.get(), nullptr);
    EXPECT_EQ(BstrView(again.get()), std::wstring_view(L"网卡\0#2", 5));
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
        const UniqueSafeArray array(SafeArrayCreateVector(VT_DISPATCH, 0, 1));
        ASSERT_NE(array.get(), nullptr);
        LONG index = 0;
        ASSERT_EQ(SafeArrayPutElement(array.get(), &index, object.Get()), S_OK);
        EXPECT_EQ(object->References(), 2u);
    }
    EXPECT_EQ(object->References(), 1u);
    object.Reset();
    EXPECT_TRUE(destroyed);
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
        } catch (const Error& error) {
            refused = error.hresult();
        }
        CoUninitialize();
    }).join();
    EXPECT_EQ(refused, static_cast<std::uint32_t>(RPC_E_CHANGED_MODE));
}

TEST(ComApartment, JoinedLeavesACallersMultithreadedApartmentAsItIs) {
    std::optional<HRESULT> again;
    std::thread([&again] {
        if (FAILED(CoInitializeEx(nullptr, COINIT_MULTITHREADED))) return;
        { const auto joined = ComApartment::Joined(); }
        // Still in the caller's apartment: joining it once more only answers S_FALSE.
        again = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        if (SUCCEEDED(*again)) CoUninitialize();
        CoUninitialize();
    }).join();
    EXPECT_EQ(again, S_FALSE);
}

TEST(ComApartment, JoinedEntersOneWhereTheThreadHasNone) {
    std::optional<HRESULT> inside;
    std::thread([&inside] {
        const auto joined = ComApartment::Joined();
        inside = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        if (SUCCEEDED(*inside)) CoUninitialize();
    }).join();
    EXPECT_EQ(inside, RPC_E_CHANGED_MODE);
}

}  // namespace
}  // namespace quorvel::platform
