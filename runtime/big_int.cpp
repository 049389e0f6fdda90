#include "runtime/big_int.h"

#include <array>
#include <stdexcept>

namespace rt {

namespace {

unsigned digitValue(char c) noexcept
{
    if (c >= '0' && c <= '9')
        return unsigned(c - '0');
    if (c >= 'A' && c <= 'F')
        return unsigned(c - 'A' + 10);
    if (c >= 'a' && c <= 'f')
        return unsigned(c - 'a' + 10);
    return 99;
}

constexpr std::array<UInt128, 39> powersOfTen = [] {
    std::array<UInt128, 39> p{};
    p[0] = 1;
    for (std::size_t i = 1; i < p.size(); ++i)
        p[i] = p[i - 1] * 10;
    return p;
}();

} // namespace

BigInt fromDigits(std::string_view digits, unsigned radix)
{
    // Digits are gathered 64 bits at a time; most numbers take one such
    // chunk and never touch the big number's arithmetic.
    BigInt n;
    bool started = false;
    std::uint64_t chunk = 0, scale = 1;
    const auto addChunk = [&] {
        if (started) {
            n *= scale;
            n += chunk;
        } else {
            n = chunk;
            started = true;
        }
    };
    for (const char c : digits) {
        const unsigned d = digitValue(c);
        if (d >= radix)
            throw std::invalid_argument("not a digit of the radix");
        if (scale > UINT64_MAX / 16 / radix) {
            addChunk();
            chunk = 0;
            scale = 1;
        }
        chunk = chunk * radix + d;
        scale *= radix;
    }
    addChunk();
    return n;
}

BigInt powerOfTen(std::uint64_t exponent)
{
    if (exponent < powersOfTen.size())
        return fromUint128(powersOfTen[exponent]);
    return boost::multiprecision::pow(BigInt(10), unsigned(exponent));
}

std::optional<UInt128> powerOfTen128(std::uint64_t exponent) noexcept
{
    if (exponent < powersOfTen.size())
        return powersOfTen[exponent];
    return std::nullopt;
}

std::optional<std::uint64_t> toUint64(const BigInt& value) noexcept
{
    const auto v = toUint128(value);
    if (!v || *v > UINT64_MAX)
        return std::nullopt;
    return std::uint64_t(*v);
}

std::optional<UInt128> toUint128(const BigInt& value) noexcept
{
    if (value.sign() < 0)
        return std::nullopt;
    const auto& backend = value.backend();
    constexpr unsigned limbBits = sizeof(boost::multiprecision::limb_type) * 8;
    if (backend.size() * limbBits > 128)
        return std::nullopt;
    UInt128 v = 0;
    for (std::size_t i = backend.size(); i-- > 0;)
        v = (v << limbBits) | backend.limbs()[i];
    return v;
}

BigInt fromUint128(UInt128 value)
{
    const auto high = std::uint64_t(value >> 64);
    const auto low = std::uint64_t(value);
    if (high == 0)
        return BigInt(low);
    return (BigInt(high) << 64) | BigInt(low);
}

std::optional<UInt128> product128(UInt128 a, UInt128 b) noexcept
{
    UInt128 p;
    if (__builtin_mul_overflow(a, b, &p))
        return std::nullopt;
    return p;
}

BigInt roundedQuotient(const BigInt& n, const BigInt& d)
{
    BigInt q, r;
    boost::multiprecision::divide_qr(n, d, q, r);
    if (r >= d - r)
        ++q;
    return q;
}

} // namespace rt
