#pragma once

#include <cmath>
#include <exception>
#include <type_traits>

#include "internal_header.h"
#include "linkcalc/failure.h"
#include "linkcalc/numeric_text.h"

namespace linkcalc {

class RunFailureError : public std::exception {
  public:
    explicit RunFailureError(FailureCause cause) : cause_(cause) {}
    FailureCause Cause() const { return cause_; }
    const char* what() const noexcept override;

  private:
    FailureCause cause_;
};

[[noreturn]] inline void Fail(FailureCause cause) {
    throw RunFailureError(cause);
}

// Runs one step of a stage: a failed conversion, or a number that is not finite, fails the run
// with the given cause.
template <class Step>
auto Checked(FailureCause cause, Step&& step) -> std::invoke_result_t<Step> {
    using Result = std::invoke_result_t<Step>;
    try {
        if constexpr (std::is_floating_point_v<Result>) {
            const Result value = step();
            if (!std::isfinite(value)) Fail(cause);
            return value;
        } else {
            return step();
        }
    } catch (const NumericTextError&) {
        Fail(cause);
    }
}

}  // namespace linkcalc
