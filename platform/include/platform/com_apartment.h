// The calling thread's COM apartment: single-threaded, without OLE1 DDE, for the owner's
// lifetime. Every COM object the thread uses must be gone before the owner, on the same thread.
#pragma once

namespace quorvel::platform {

class ComApartment {
public:
    // Raises platform::Error when the thread cannot enter a single-threaded apartment (it is
    // in the multithreaded one already, say).
    ComApartment();
    // For code that must not depend on its caller's apartment: enters one when the thread has
    // none yet, and otherwise leaves the thread in the one it has.
    static ComApartment Joined() noexcept;
    ~ComApartment();
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    explicit ComApartment(bool entered) noexcept : entered_(entered) {}

    bool entered_;
};

}  // namespace quorvel::platform
