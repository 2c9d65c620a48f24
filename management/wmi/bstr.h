// An owning BSTR. A null BSTR is COM's empty string, so View() of an empty UniqueBstr is "".
#pragma once

#include <oleauto.h>

#include <new>
#include <string_view>
#include <utility>

namespace quorvel::com {

// The text of a BSTR someone else owns; null is "".
inline std::wstring_view BstrView(BSTR bstr) noexcept {
    return bstr == nullptr ? std::wstring_view() : std::wstring_view(bstr, SysStringLen(bstr));
}

class UniqueBstr {
  public:
    UniqueBstr() noexcept = default;
    // Copies the text, embedded nulls included; throws std::bad_alloc when the allocation fails.
    explicit UniqueBstr(std::wstring_view text)
        : bstr_(SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {
        if (bstr_ == nullptr) throw std::bad_alloc();
    }
    UniqueBstr(const UniqueBstr&) = delete;
    UniqueBstr& operator=(const UniqueBstr&) = delete;
    UniqueBstr(UniqueBstr&& other) noexcept : bstr_(std::exchange(other.bstr_, nullptr)) {}
    UniqueBstr& operator=(UniqueBstr&& other) noexcept {
        if (this != &other) {
            Reset();
            bstr_ = std::exchange(other.bstr_, nullptr);
        }
        return *this;
    }
    ~UniqueBstr() { Reset(); }

    static UniqueBstr Attach(BSTR bstr) noexcept {
        UniqueBstr result;
        result.bstr_ = bstr;
        return result;
    }

    BSTR Get() const noexcept { return bstr_; }
    BSTR* Put() noexcept {
        Reset();
        return &bstr_;
    }
    [[nodiscard]] BSTR Detach() noexcept { return std::exchange(bstr_, nullptr); }
    void Reset() noexcept { SysFreeString(std::exchange(bstr_, nullptr)); }

    std::wstring_view View() const noexcept { return BstrView(bstr_); }

  private:
    BSTR bstr_ = nullptr;
};

}  // namespace quorvel::com
