#pragma once
// The number of the error a piece of code raises, or 0 when it raises none.

#include <functional>

#include "frame/error.hpp"

namespace zorbel::testing {

inline int errorOf(const std::function<void()>& code) {
    try {
        code();
    } catch (const Error& e) {
        return e.number();
    }
    return 0;
}

}  // namespace zorbel::testing
