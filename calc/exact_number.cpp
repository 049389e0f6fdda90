#include "calc/exact_number.h"

namespace calc {

std::int64_t decimalMagnitude(const rt::WrittenNumber& number) noexcept
{
    if (number.digits.empty())
        return INT64_MIN;
    const auto count = std::int64_t(number.digits.size());
    switch (number.radix) {
    case 16:
        return count * 6 / 5 + 1; // 16 < 10^1.2
    case 8:
        return count * 10 / 11 + 1; // 8 < 10^0.91
    default:
        return count + number.exponent;
    }
}

ExactNumber toExact(const rt::WrittenNumber& number, std::uint64_t maxFractionDigits)
{
    ExactNumber exact;
    exact.negative = number.negative;
    if (number.radix != 10 || number.exponent >= 0) {
        exact.numerator = rt::fromDigits(number.digits, unsigned(number.radix));
        // Zero stays zero at any exponent: "0e530000000" needs no power of ten.
        if (number.radix == 10 && !number.digits.empty())
            exact.numerator *= rt::powerOfTen(std::uint64_t(number.exponent));
        return exact;
    }
    const auto fractionDigits = std::uint64_t(-number.exponent);
    std::string_view digits = number.digits;
    if (fractionDigits > maxFractionDigits) {
        // The last written digit is never zero, so dropping any digit drops
        // something nonzero.
        const std::uint64_t dropped = fractionDigits - maxFractionDigits;
        exact.truncated = !digits.empty();
        digits = dropped >= digits.size() ? std::string_view() : digits.substr(0, digits.size() - dropped);
        exact.fractionDigits = maxFractionDigits;
    } else {
        exact.fractionDigits = fractionDigits;
    }
    exact.numerator = rt::fromDigits(digits, 10);
    return exact;
}

} // namespace calc
