// One owner for every C handle type: move-only, it gives its value back with `Close` when it
// goes. `Invalid()` is the value that owns nothing (null for most handles).
#pragma once

#include <utility>

namespace quorvel::platform {

template <class T>
constexpr T NullValue() noexcept {
    return T{};
}

template <class T, auto Close, T (*Invalid)() = &NullValue<T>>
class UniqueAny {
public:
    UniqueAny() noexcept = default;
    // Takes over `value`, which may be the invalid one.
    explicit UniqueAny(T value) noexcept : value_(value) {}
    UniqueAny(const UniqueAny&) = delete;
    UniqueAny& operator=(const UniqueAny&) = delete;
    UniqueAny(UniqueAny&& other) noexcept : value_(other.release()) {}
    UniqueAny& operator=(UniqueAny&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    ~UniqueAny() { reset(); }

    T get() const noexcept { return value_; }
    explicit operator bool() const noexcept { return value_ != Invalid(); }

    // Hands the value over to the caller; this owner is left empty.
    [[nodiscard]] T release() noexcept { return std::exchange(value_, Invalid()); }
    // Closes the current value, if any, and takes over `value`.
    void reset(T value = Invalid()) noexcept {
        const T old = std::exchange(value_, value);
        // The closers' results are ignored: there is nothing left to do when one fails.
        if (old != Invalid()) static_cast<void>(Close(old));
    }
    // For an out-parameter: closes the current value and receives the new one.
    T* put() noexcept {
        reset();
        return &value_;
    }

private:
    T value_ = Invalid();
};

}  // namespace quorvel::platform
