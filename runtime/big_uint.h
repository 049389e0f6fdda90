#pragma once
// Whole numbers of any size, for the exact tuning word: products of a few
// decimal numbers, 2^32 and powers of ten, and one division.  Only what
// that needs: no negative numbers, no fast algorithms.

#include <compare>
#include <cstdint>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

namespace rt {

class BigUInt {
public:
    BigUInt() = default;
    BigUInt(std::uint64_t value); // NOLINT: a small number is a big one

    // Digits in `radix` (2..16), 0-9 and A-F; anything else throws
    // std::invalid_argument.
    static BigUInt fromDigits(std::string_view digits, unsigned radix);
    static BigUInt powerOfTen(std::uint64_t exponent);

    bool isZero() const noexcept { return limbs_.empty(); }
    // The value, where it fits in 64 bits.
    std::optional<std::uint64_t> toUint64() const noexcept;
    std::size_t bitLength() const noexcept;

    BigUInt& operator+=(const BigUInt& other);
    // Requires *this >= other; throws std::underflow_error otherwise.
    BigUInt& operator-=(const BigUInt& other);
    BigUInt& operator*=(const BigUInt& other);
    BigUInt& operator<<=(std::size_t bits);

    friend BigUInt operator+(BigUInt a, const BigUInt& b) { return a += b; }
    friend BigUInt operator-(BigUInt a, const BigUInt& b) { return a -= b; }
    friend BigUInt operator*(const BigUInt& a, const BigUInt& b);
    friend BigUInt operator<<(BigUInt a, std::size_t bits) { return a <<= bits; }

    friend bool operator==(const BigUInt&, const BigUInt&) = default;
    friend std::strong_ordering operator<=>(const BigUInt& a, const BigUInt& b) noexcept;

    // Quotient and remainder; throws std::domain_error for a zero divisor.
    friend std::pair<BigUInt, BigUInt> divmod(const BigUInt& dividend, const BigUInt& divisor);

private:
    void trim() noexcept;
    bool bit(std::size_t index) const noexcept;

    std::vector<std::uint32_t> limbs_; // least significant first, no zero limb at the top
};

} // namespace rt
