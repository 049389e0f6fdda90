#pragma once
// Numbers read exactly, for the words that are computed in exact
// arithmetic: a written decimal (or &H/&O whole number) as a fraction
// whose denominator is a power of ten.

#include "runtime/big_int.h"
#include "runtime/number.h"

#include <cstdint>
#include <string_view>

namespace calc {

struct ExactNumber {
    bool negative = false;
    rt::BigInt numerator;             // not negative
    std::uint64_t fractionDigits = 0; // the denominator is 10^fractionDigits
    // Digits below 10^-fractionDigits were dropped: the true magnitude is a
    // little larger than numerator / 10^fractionDigits.
    bool truncated = false;

    bool isZero() const noexcept { return numerator.is_zero() && !truncated; }
    rt::BigInt denominator() const { return rt::powerOfTen(fractionDigits); }
};

// A bound k with |value| < 10^k (k may be negative for small numbers).
std::int64_t decimalMagnitude(const rt::WrittenNumber& number) noexcept;

// The written number exactly, keeping its digits down to
// 10^-maxFractionDigits; the rest are dropped and `truncated` says so.
// The caller bounds the magnitude first (decimalMagnitude), so that the
// numbers stay small.
ExactNumber toExact(const rt::WrittenNumber& number, std::uint64_t maxFractionDigits);

} // namespace calc
