// An owning SAFEARRAY, destroyed together with the elements it holds.
#pragma once

#include <oleauto.h>

#include <utility>

namespace quorvel::com {

class UniqueSafeArray {
  public:
    UniqueSafeArray() noexcept = default;
    UniqueSafeArray(const UniqueSafeArray&) = delete;
    UniqueSafeArray& operator=(const UniqueSafeArray&) = delete;
    UniqueSafeArray(UniqueSafeArray&& other) noexcept
        : array_(std::exchange(other.array_, nullptr)) {}
    UniqueSafeArray& operator=(UniqueSafeArray&& other) noexcept {
        if (this != &other) {
            Reset();
            array_ = std::exchange(other.array_, nullptr);
        }
        return *this;
    }
    ~UniqueSafeArray() { Reset(); }

    static UniqueSafeArray Attach(SAFEARRAY* array) noexcept {
        UniqueSafeArray result;
        result.array_ = array;
        return result;
    }

    SAFEARRAY* Get() const noexcept { return array_; }
    [[nodiscard]] SAFEARRAY* Detach() noexcept { return std::exchange(array_, nullptr); }
    // SafeArrayDestroy can only fail for a locked array, and no lock outlives its scope here.
    void Reset() noexcept {
        if (SAFEARRAY* old = std::exchange(array_, nullptr))
            static_cast<void>(SafeArrayDestroy(old));
    }

  private:
    SAFEARRAY* array_ = nullptr;
};

}  // namespace quorvel::com
