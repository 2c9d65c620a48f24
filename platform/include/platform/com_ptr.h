// An owning COM interface pointer. Attach() takes over the caller's reference, Borrow() adds one,
// copies add one and destruction gives one back, so every reference is released exactly once.
#pragma once

#include <windows.h>

#include <objbase.h>

#include <cstddef>
#include <utility>

namespace quorvel::platform {

template <class T>
class ComPtr {
public:
    ComPtr() noexcept = default;
    ComPtr(std::nullptr_t) noexcept {}
    ComPtr(const ComPtr& other) noexcept : pointer_(other.pointer_) {
        if (pointer_ != nullptr) pointer_->AddRef();
    }
    ComPtr(ComPtr&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
    ComPtr& operator=(ComPtr other) noexcept {
        std::swap(pointer_, other.pointer_);
        return *this;
    }
    ~ComPtr() { Reset(); }

    // Takes over a reference the caller owns, as handed out by an out-parameter.
    static ComPtr Attach(T* pointer) noexcept {
        ComPtr result;
        result.pointer_ = pointer;
        return result;
    }
    // Adds a reference of its own to a pointer the caller keeps.
    static ComPtr Borrow(T* pointer) noexcept {
        ComPtr result;
        result.pointer_ = pointer;
        if (pointer != nullptr) pointer->AddRef();
        return result;
    }

    T* Get() const noexcept { return pointer_; }
    T* operator->() const noexcept { return pointer_; }
    explicit operator bool() const noexcept { return pointer_ != nullptr; }

    // For an out-parameter: gives back the current reference and receives the new one.
    T** Put() noexcept {
        Reset();
        return &pointer_;
    }
    void** PutVoid() noexcept { return reinterpret_cast<void**>(Put()); }

    // Hands the reference over to the caller.
    [[nodiscard]] T* Detach() noexcept { return std::exchange(pointer_, nullptr); }

    void Reset() noexcept {
        if (T* old = std::exchange(pointer_, nullptr)) old->Release();
    }

    template <class U>
    [[nodiscard]] HRESULT As(REFIID iid, ComPtr<U>& result) const noexcept {
        return pointer_->QueryInterface(iid, result.PutVoid());
    }

    friend bool operator==(const ComPtr& a, const ComPtr& b) noexcept {
        return a.pointer_ == b.pointer_;
    }
    friend bool operator==(const ComPtr& a, std::nullptr_t) noexcept {
        return a.pointer_ == nullptr;
    }

private:
    T* pointer_ = nullptr;
};

}  // namespace quorvel::platform
