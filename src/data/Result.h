#pragma once
// "Failed, and why": how the core reports a failure a person may meet. A function that can fail
// returns a Result; `message` is the complete German sentence for the user (naming the file where
// there is one), empty on success. Exceptions do not cross module boundaries.
//
// Older functions still take a `std::string& error` beside a bool; they move to Result when their
// callers are next changed.
#include <string>
#include <utility>

namespace trv {

struct Result {
    bool ok = true;
    std::string message;

    explicit operator bool() const { return ok; }
    static Result Ok() { return {}; }
    static Result Fail(std::string why) { return {false, std::move(why)}; }
};

}  // namespace trv
