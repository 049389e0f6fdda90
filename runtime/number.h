#pragma once
// Number operations: reading a number from text, rounding to 16-bit whole
// numbers, overflow-checked whole-number arithmetic and floating-point
// arithmetic followed by a status test.

#include <cstdint>
#include <string_view>

namespace rt {

// The number at the start of `text`, or 0 when there is none.
//  - Blanks, tabs and line feeds are skipped anywhere, also inside the
//    number: "12 345" reads 12345.
//  - An optional sign, then digits with at most one "." and an optional
//    exponent: E or D, an optional sign and digits ("1e3", "1.5D2").
//  - "&H" and "&O" (any case) introduce a whole hexadecimal or octal number.
//  - Reading stops at the first character that cannot continue the number:
//    "10KHz" reads 10, "abc" and "" read 0.
//  - "." is the decimal separator whatever the locale; the result is the
//    correctly rounded double.
// A number beyond the double range raises OverflowError; the result is never
// infinite or NaN.  A number too small for a double reads as zero.
double textToDouble(std::string_view text);

// Nearest whole number, an exact half going to the even neighbour
// (20.5 -> 20, 21.5 -> 22).  OverflowError outside -32768..32767.
std::int16_t toInt16(double value);

// base to the power exponent; exact wherever the result is representable,
// as for 2^32 and 10^6.
double power(double base, double exponent);

// 16- and 32-bit signed arithmetic that raises OverflowError when the exact
// result leaves the type's range.
std::int16_t add16(std::int16_t a, std::int16_t b);
std::int16_t sub16(std::int16_t a, std::int16_t b);
std::int16_t mul16(std::int16_t a, std::int16_t b);
std::int32_t sub32(std::int32_t a, std::int32_t b);

// The floating-point status after one operation: the three conditions that
// count as failures.  Worked out from the operands and the result by the
// IEEE 754 rules, so it does not depend on the processor's status register
// or on how the compiler orders the code around it.
struct FpStatus {
    bool invalidOperation = false;
    bool divisionByZero = false;
    bool overflow = false;
};

struct FpResult {
    double value;
    FpStatus status;
};

FpResult multiply(double a, double b);
FpResult divide(double dividend, double divisor);

// Raises FloatingPointError for the first condition set in `status`
// (invalid operation, then division by zero, then overflow); returns
// quietly when none is set.
void testFpStatus(const FpStatus& status);

} // namespace rt
