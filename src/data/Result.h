#pragma once
// "Failed, and why": how the core reports a failure a person may meet. A function that can fail
// returns a Result; `message` is the complete German sentence for the user (naming the file where
// there is one), empty on success. Exceptions do not cross module boundaries.
//
// A function that also produces something fills an out-parameter and returns the Result
// (`Result ReadTrv(bytes, doc)`, `Result AddManualTest(doc, test, index)`); what it fills is
// untouched or cleared on failure, as its comment says. A result with more to say derives from
// Result (FileResult: a save refused as write-protected). Callers test it as a bool and pass the
// message on: `if (Result r = ReadTrv(bytes, doc); !r) return r;`.
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
