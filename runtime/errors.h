#pragma once
// The errors that the text and number operations raise.  Every kind shares
// the base rt::Error, so that a caller can report them all in one place.

#include <cstdint>
#include <exception>

namespace rt {

class Error : public std::exception {
public:
    const char* what() const noexcept override { return message_; }

    // A label the caller may attach on the way out, saying at which of its
    // own steps the error arose.  Zero when nobody labelled it; the runtime
    // gives the numbers no meaning.
    std::uint8_t stage() const noexcept { return stage_; }
    void setStage(std::uint8_t stage) noexcept { stage_ = stage; }

protected:
    explicit Error(const char* message) noexcept : message_(message) {}

private:
    const char* message_;
    std::uint8_t stage_ = 0;
};

// A whole number left its type's range, or a number left the double range.
class OverflowError : public Error {
public:
    OverflowError() noexcept : Error("overflow") {}
};

// The conditions of the floating-point status that count as failures.
// Inexact results, underflow and denormal operands are not among them.
enum class FpCondition : std::uint8_t { InvalidOperation, DivisionByZero, Overflow };

class FloatingPointError : public Error {
public:
    explicit FloatingPointError(FpCondition condition) noexcept;
    FpCondition condition() const noexcept { return condition_; }

private:
    FpCondition condition_;
};

[[noreturn]] void raiseOverflow();
[[noreturn]] void raiseFloatingPoint(FpCondition condition);

} // namespace rt
