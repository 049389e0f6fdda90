#pragma once
// Whole numbers for exact arithmetic: Boost.Multiprecision's cpp_int for
// any size, and 128-bit integers for the quick path where the numbers
// provably fit.

#include <boost/multiprecision/cpp_int.hpp>

#include <cstdint>
#include <optional>
#include <string_view>

namespace rt {

// Without expression templates: each operation yields a number, so that
// results can be held in `auto` and compared in conditionals.
using BigInt = boost::multiprecision::number<boost::multiprecision::cpp_int_backend<>, boost::multiprecision::et_off>;
__extension__ typedef unsigned __int128 UInt128;

// Digits in `radix` (2..16), 0-9 and A-F (any case); anything else throws
// std::invalid_argument.
BigInt fromDigits(std::string_view digits, unsigned radix);

BigInt powerOfTen(std::uint64_t exponent);

// 10^exponent where it fits in 128 bits (exponent up to 38).
std::optional<UInt128> powerOfTen128(std::uint64_t exponent) noexcept;

// The value where it is not negative and fits.
std::optional<std::uint64_t> toUint64(const BigInt& value) noexcept;
std::optional<UInt128> toUint128(const BigInt& value) noexcept;

BigInt fromUint128(UInt128 value);

// a x b where it fits in 128 bits.
std::optional<UInt128> product128(UInt128 a, UInt128 b) noexcept;

// n / d rounded to nearest, an exact half up; n >= 0, d > 0.
BigInt roundedQuotient(const BigInt& n, const BigInt& d);

} // namespace rt
