// An owning VARIANT: cleared (with whatever it holds) when it goes, moved by taking its bits.
#pragma once

#include <oleauto.h>

#include <string_view>

#include "management/wmi/bstr.h"

namespace quorvel::com {

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

    // Takes over whatever `variant` owns; the caller's copy must not be cleared afterwards.
    static UniqueVariant Attach(const VARIANT& variant) noexcept {
        UniqueVariant result;
        result.variant_ = variant;
        return result;
    }
    // A VT_BSTR holding a copy of the text.
    static UniqueVariant FromText(std::wstring_view text) {
        UniqueVariant result;
        result.variant_.bstrVal = UniqueBstr(text).Detach();
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
    [[nodiscard]] VARIANT Detach() noexcept {
        const VARIANT result = variant_;
        VariantInit(&variant_);
        return result;
    }
    // VariantClear can only fail for a malformed VARIANT, which this type never holds.
    void Reset() noexcept { static_cast<void>(VariantClear(&variant_)); }

  private:
    VARIANT variant_;
};

}  // namespace quorvel::com
