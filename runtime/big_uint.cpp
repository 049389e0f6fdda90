#include "runtime/big_uint.h"

#include <algorithm>
#include <stdexcept>

namespace rt {

BigUInt::BigUInt(std::uint64_t value)
{
    for (; value != 0; value >>= 32)
        limbs_.push_back(std::uint32_t(value));
}

BigUInt BigUInt::fromDigits(std::string_view digits, unsigned radix)
{
    BigUInt n;
    for (const char c : digits) {
        const unsigned d = (c >= '0' && c <= '9') ? unsigned(c - '0')
                           : (c >= 'A' && c <= 'F') ? unsigned(c - 'A' + 10)
                           : (c >= 'a' && c <= 'f') ? unsigned(c - 'a' + 10)
                                                    : 99u;
        if (d >= radix)
            throw std::invalid_argument("not a digit of the radix");
        std::uint64_t carry = d;
        for (std::uint32_t& limb : n.limbs_) {
            carry += std::uint64_t(limb) * radix;
            limb = std::uint32_t(carry);
            carry >>= 32;
        }
        if (carry != 0)
            n.limbs_.push_back(std::uint32_t(carry));
    }
    return n;
}

BigUInt BigUInt::powerOfTen(std::uint64_t exponent)
{
    BigUInt n(1);
    const BigUInt billion(1'000'000'000);
    for (; exponent >= 9; exponent -= 9)
        n *= billion;
    std::uint64_t rest = 1;
    while (exponent-- > 0)
        rest *= 10;
    return n * BigUInt(rest);
}

std::optional<std::uint64_t> BigUInt::toUint64() const noexcept
{
    if (limbs_.size() > 2)
        return std::nullopt;
    std::uint64_t v = 0;
    for (std::size_t i = limbs_.size(); i-- > 0;)
        v = (v << 32) | limbs_[i];
    return v;
}

std::size_t BigUInt::bitLength() const noexcept
{
    if (limbs_.empty())
        return 0;
    std::size_t bits = 32 * (limbs_.size() - 1);
    for (std::uint32_t top = limbs_.back(); top != 0; top >>= 1)
        ++bits;
    return bits;
}

bool BigUInt::bit(std::size_t index) const noexcept
{
    const std::size_t limb = index / 32;
    return limb < limbs_.size() && ((limbs_[limb] >> (index % 32)) & 1u) != 0;
}

void BigUInt::trim() noexcept
{
    while (!limbs_.empty() && limbs_.back() == 0)
        limbs_.pop_back();
}

BigUInt& BigUInt::operator+=(const BigUInt& other)
{
    limbs_.resize(std::max(limbs_.size(), other.limbs_.size()) + 1, 0);
    std::uint64_t carry = 0;
    for (std::size_t i = 0; i < limbs_.size(); ++i) {
        carry += std::uint64_t(limbs_[i]) + (i < other.limbs_.size() ? other.limbs_[i] : 0u);
        limbs_[i] = std::uint32_t(carry);
        carry >>= 32;
    }
    trim();
    return *this;
}

BigUInt& BigUInt::operator-=(const BigUInt& other)
{
    if (*this < other)
        throw std::underflow_error("BigUInt subtraction below zero");
    std::int64_t borrow = 0;
    for (std::size_t i = 0; i < limbs_.size(); ++i) {
        std::int64_t d = std::int64_t(limbs_[i]) - borrow - (i < other.limbs_.size() ? std::int64_t(other.limbs_[i]) : 0);
        borrow = d < 0 ? 1 : 0;
        limbs_[i] = std::uint32_t(d + (borrow << 32));
    }
    trim();
    return *this;
}

BigUInt operator*(const BigUInt& a, const BigUInt& b)
{
    BigUInt product;
    if (a.isZero() || b.isZero())
        return product;
    product.limbs_.assign(a.limbs_.size() + b.limbs_.size(), 0);
    for (std::size_t i = 0; i < a.limbs_.size(); ++i) {
        std::uint64_t carry = 0;
        for (std::size_t j = 0; j < b.limbs_.size(); ++j) {
            carry += std::uint64_t(a.limbs_[i]) * b.limbs_[j] + product.limbs_[i + j];
            product.limbs_[i + j] = std::uint32_t(carry);
            carry >>= 32;
        }
        product.limbs_[i + b.limbs_.size()] = std::uint32_t(carry);
    }
    product.trim();
    return product;
}

BigUInt& BigUInt::operator*=(const BigUInt& other) { return *this = *this * other; }

BigUInt& BigUInt::operator<<=(std::size_t bits)
{
    if (isZero())
        return *this;
    limbs_.insert(limbs_.begin(), bits / 32, 0u);
    if (const unsigned shift = unsigned(bits % 32); shift != 0) {
        std::uint32_t carry = 0;
        for (std::uint32_t& limb : limbs_) {
            const std::uint32_t next = limb >> (32 - shift);
            limb = (limb << shift) | carry;
            carry = next;
        }
        if (carry != 0)
            limbs_.push_back(carry);
    }
    return *this;
}

std::strong_ordering operator<=>(const BigUInt& a, const BigUInt& b) noexcept
{
    if (a.limbs_.size() != b.limbs_.size())
        return a.limbs_.size() <=> b.limbs_.size();
    for (std::size_t i = a.limbs_.size(); i-- > 0;)
        if (a.limbs_[i] != b.limbs_[i])
            return a.limbs_[i] <=> b.limbs_[i];
    return std::strong_ordering::equal;
}

// Long division a bit at a time: the numbers here have a few hundred bits.
std::pair<BigUInt, BigUInt> divmod(const BigUInt& dividend, const BigUInt& divisor)
{
    if (divisor.isZero())
        throw std::domain_error("BigUInt division by zero");
    BigUInt quotient, remainder;
    quotient.limbs_.assign(dividend.limbs_.size(), 0);
    for (std::size_t i = dividend.bitLength(); i-- > 0;) {
        remainder <<= 1;
        if (dividend.bit(i)) {
            if (remainder.isZero())
                remainder.limbs_.push_back(1);
            else
                remainder.limbs_[0] |= 1u;
        }
        if (remainder >= divisor) {
            remainder -= divisor;
            quotient.limbs_[i / 32] |= 1u << (i % 32);
        }
    }
    quotient.trim();
    return {quotient, remainder};
}

} // namespace rt
