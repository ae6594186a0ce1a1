#pragma once

// The outcome of one step of a library call: 0 or one of our error codes
// (CommErrors.h), with a detail that says what exactly went wrong.

#include <string>
#include <utility>

namespace commlib {

struct CommResult {
    int code = 0;
    std::string detail;

    bool Ok() const { return code == 0; }
    static CommResult Success() { return {}; }
    static CommResult Fail(int code, std::string detail) { return {code, std::move(detail)}; }
};

} // namespace commlib
