#pragma once
// Reading numbers from text, the classic way a calculator box reads them:
//  - Blanks, tabs and line feeds are skipped anywhere, also inside the
//    number: "12 345" reads 12345.
//  - An optional sign, then digits with at most one "." and an optional
//    exponent: E or D, an optional sign and digits ("1e3", "1.5D2").
//  - "&H" and "&O" (any case) introduce a whole hexadecimal or octal number.
//  - Reading stops at the first character that cannot continue the number:
//    "10KHz" reads 10, "abc" and "" read 0.
//  - "." is the decimal separator whatever the locale.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace rt {

// The number at the start of a text, exactly as written.
struct WrittenNumber {
    bool negative = false;
    bool hasDigits = false; // false for "", "abc", "-", ".", "&H"
    int radix = 10;         // 10, or 16 after &H, 8 after &O
    // The significant digits in the radix (0-9, A-F), without leading
    // zeros; in radix 10 also without trailing zeros.  Empty for zero.
    std::string digits;
    // Radix 10 only: the value is digits x 10^exponent.  Saturates far
    // beyond any representable value rather than wrapping.
    std::int64_t exponent = 0;
    // Where reading stopped: the first character that is neither part of
    // the number nor a blank after it.
    std::size_t end = 0;

    bool isZero() const noexcept { return digits.empty(); }
    // True when the whole text is the number, blanks around it allowed.
    bool isWholeText(std::string_view text) const noexcept { return hasDigits && end == text.size(); }
};

WrittenNumber readWrittenNumber(std::string_view text);

// The correctly rounded double of a written number; plus or minus infinity
// when it lies beyond the double range, zero when it is too small for one.
double toDouble(const WrittenNumber& number);

// The double value of the number at the start of `text` (0 when there is
// none): toDouble(readWrittenNumber(text)), with a quick path for plain
// decimals.
double textToDouble(std::string_view text);

} // namespace rt
