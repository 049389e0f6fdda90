#include "runtime/errors.h"

namespace rt {

namespace {
const char* describe(FpCondition condition) noexcept
{
    switch (condition) {
    case FpCondition::InvalidOperation: return "floating-point error: invalid operation";
    case FpCondition::DivisionByZero: return "floating-point error: division by zero";
    case FpCondition::Overflow: return "floating-point error: overflow";
    }
    return "floating-point error";
}
} // namespace

FloatingPointError::FloatingPointError(FpCondition condition) noexcept
    : Error(describe(condition)), condition_(condition)
{
}

void raiseOverflow() { throw OverflowError(); }

void raiseFloatingPoint(FpCondition condition) { throw FloatingPointError(condition); }

} // namespace rt
