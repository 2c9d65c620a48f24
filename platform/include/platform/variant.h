// An owning VARIANT: cleared (with whatever it holds) when it goes, moved by taking its bits.
#pragma once

#include <windows.h>

#include <oleauto.h>

#include <string_view>

#include "platform/bstr.h"

namespace quorvel::platform {

class UniqueVariant {
public:
    UniqueVariant() noexcept { VariantInit(&variant_); }
    UniqueVariant(const UniqueVariant&) = delete;
    UniqueVariant& operator=(const UniqueVariant&) = delete;
    UniqueVariant(UniqueVariant&& other) noexcept : variant_(other.variant_) {
        VariantInit(&other.variant_);
    }
    UniqueVariant& operator=(UniqueVariant&& other) noexcept {
        if (this != &other) {
            Reset();
            variant_ = other.variant_;
            VariantInit(&other.variant_);
        }
        return *this;
    }
    ~UniqueVariant() { Reset(); }

    // A VT_BSTR holding a copy of the text.
    static UniqueVariant FromText(std::wstring_view text) {
        UniqueVariant result;
        result.variant_.bstrVal = MakeBstr(text).release();
        result.variant_.vt = VT_BSTR;
        return result;
    }

    const VARIANT& Get() const noexcept { return variant_; }
    VARIANT& Get() noexcept { return variant_; }
    // For an out-parameter: clears the current value first.
    VARIANT* Put() noexcept {
        Reset();
        return &variant_;
    }
    // VariantClear can only fail for a malformed VARIANT, which this type never holds.
    void Reset() noexcept { static_cast<void>(VariantClear(&variant_)); }

private:
    VARIANT variant_;
};

}  // namespace quorvel::platform
