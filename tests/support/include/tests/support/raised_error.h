// The one way the tests expect a raised error: run the action and take what it raised, to check
// its HRESULT and text. An error of another type is not caught and fails the test on its own.
#pragma once

#include <functional>
#include <optional>

#include "management/management_error.h"

namespace quorvel::test {

// The error of type `E` (ManagementError, platform::Error) that `action` raises, or nothing when
// it raises none.
template <class E = ManagementError>
std::optional<E> RaisedBy(const std::function<void()>& action) {
    try {
        action();
    } catch (const E& error) {
        return error;
    }
    return std::nullopt;
}

}  // namespace quorvel::test
