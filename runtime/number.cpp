#include "runtime/number.h"

#include "runtime/errors.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <system_error>

namespace rt {

namespace {

constexpr double exactPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                       1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                       1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

bool isBlank(char c) noexcept { return c == ' ' || c == '\t' || c == '\n'; }

bool isDigit(char c) noexcept { return c >= '0' && c <= '9'; }

int digitValue(char c) noexcept
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return 99;
}

char upper(char c) noexcept { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; }

// Walks a text while skipping blanks, tabs and line feeds.
class Cursor {
public:
    explicit Cursor(std::string_view text) : text_(text) { skip(); }
    bool atEnd() const noexcept { return pos_ >= text_.size(); }
    char peek() const noexcept { return atEnd() ? '\0' : text_[pos_]; }
    void next() noexcept
    {
        ++pos_;
        skip();
    }

private:
    void skip() noexcept
    {
        while (pos_ < text_.size() && isBlank(text_[pos_]))
            ++pos_;
    }
    std::string_view text_;
    std::size_t pos_ = 0;
};

// The digits of a number, gathered without blanks into a form that
// std::from_chars reads.  Short numbers stay on the stack.
class DigitBuffer {
public:
    void push(char c)
    {
        if (size_ < small_.size())
            small_[size_] = c;
        else {
            if (large_.empty())
                large_.assign(small_.data(), small_.size());
            large_.push_back(c);
        }
        ++size_;
    }
    std::string_view view() const noexcept
    {
        return large_.empty() ? std::string_view(small_.data(), size_) : std::string_view(large_);
    }

private:
    std::array<char, 64> small_; // only the first size_ bytes are ever read
    std::size_t size_ = 0;
    std::string large_;
};

double finish(double magnitude, bool negative) { return negative ? -magnitude : magnitude; }

// Hexadecimal (4 bits a digit) or octal (3 bits a digit) whole number.  The
// digits are re-cut into hexadecimal ones, leading zeros dropped, and read
// as a hexadecimal float, which rounds correctly however long the number is.
double readRadix(Cursor& in, int bitsPerDigit)
{
    std::string digits; // digit values, one a char
    for (int d; (d = digitValue(in.peek())) < (1 << bitsPerDigit); in.next())
        digits.push_back(char(d));

    DigitBuffer hex;
    std::uint32_t bits = 0;
    // Zero bits in front make the bit count a multiple of four.
    int bitCount = int((4 - digits.size() * std::size_t(bitsPerDigit) % 4) % 4);
    for (const char d : digits) {
        bits = (bits << bitsPerDigit) | std::uint32_t(d);
        bitCount += bitsPerDigit;
        while (bitCount >= 4) {
            bitCount -= 4;
            const unsigned nibble = (bits >> bitCount) & 0xFu;
            bits &= (1u << bitCount) - 1u;
            if (nibble != 0 || !hex.view().empty())
                hex.push("0123456789ABCDEF"[nibble]);
        }
    }
    if (hex.view().empty())
        return 0.0;
    double value = 0.0;
    const auto text = hex.view();
    const auto result =
        std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::hex);
    if (result.ec == std::errc::result_out_of_range)
        raiseOverflow();
    return value;
}

// Digits that form a whole number of at most 2^53, scaled by at most 10^22
// either way: the number and the power are both exact doubles, so one
// multiplication or division rounds correctly (the classic fast path).
bool fastDecimal(std::uint64_t mantissa, long long exponent, double& value)
{
    if (mantissa > (std::uint64_t(1) << 53) || exponent < -22 || exponent > 22)
        return false;
    const double m = static_cast<double>(mantissa);
    value = exponent < 0 ? m / exactPowersOfTen[-exponent] : m * exactPowersOfTen[exponent];
    return true;
}

// The common text: nothing but digits and at most one ".", few enough
// digits to be exact.  Returns false, touching nothing, for anything else.
bool plainDecimal(std::string_view text, double& value)
{
    if (text.empty() || text.size() > 19)
        return false;
    std::uint64_t mantissa = 0;
    long long fractionDigits = 0;
    bool seenPoint = false;
    bool anyDigit = false;
    for (const char c : text) {
        if (isDigit(c)) {
            mantissa = mantissa * 10 + std::uint64_t(c - '0');
            fractionDigits += seenPoint ? 1 : 0;
            anyDigit = true;
        } else if (c == '.' && !seenPoint) {
            seenPoint = true;
        } else {
            return false;
        }
    }
    if (!anyDigit)
        return false;
    return fastDecimal(mantissa, -fractionDigits, value);
}

// The digits of the mantissa and their "." as they stand in the text.
template <class OnChar>
void scanMantissa(Cursor& in, OnChar&& onChar)
{
    bool seenPoint = false;
    for (char c; isDigit(c = in.peek()) || (c == '.' && !seenPoint); in.next()) {
        seenPoint = seenPoint || c == '.';
        onChar(c, seenPoint);
    }
}

// An exponent ("E", "D", any case; optional sign; digits) where one
// follows; 0 and `in` untouched where none does ("1e" reads 1).
long long readExponent(Cursor& in)
{
    const char e = upper(in.peek());
    if (e != 'E' && e != 'D')
        return 0;
    Cursor probe = in;
    probe.next();
    bool negative = false;
    if (probe.peek() == '+' || probe.peek() == '-') {
        negative = probe.peek() == '-';
        probe.next();
    }
    if (!isDigit(probe.peek()))
        return 0;
    constexpr long long cap = 1'000'000; // far past the double range either way
    long long exponent = 0;
    for (; isDigit(probe.peek()); probe.next())
        if (exponent < cap)
            exponent = exponent * 10 + (probe.peek() - '0');
    in = probe;
    return negative ? -exponent : exponent;
}

double readDecimal(Cursor& in, bool negative)
{
    const Cursor mantissaStart = in;
    bool anyDigit = false;
    bool significant = false;
    long long leadingExponent = 0; // decimal exponent of the first significant digit
    std::uint64_t mantissa = 0;    // the first 19 significant digits as a whole number
    int mantissaDigits = 0;
    long long fractionDigits = 0;  // of those digits, the ones after the point
    scanMantissa(in, [&](char c, bool afterPoint) {
        if (c == '.')
            return;
        anyDigit = true;
        significant = significant || c != '0';
        if (significant) {
            ++mantissaDigits;
            leadingExponent += afterPoint ? 0 : 1;
        } else if (afterPoint) {
            --leadingExponent;
        }
        if (mantissaDigits <= 19) {
            mantissa = mantissa * 10 + std::uint64_t(c - '0');
            fractionDigits += afterPoint ? 1 : 0;
        }
    });
    if (!anyDigit)
        return finish(0.0, negative);
    const long long exponent = readExponent(in);
    if (!significant)
        return finish(0.0, negative);

    double value = 0.0;
    if (mantissaDigits <= 19 && fastDecimal(mantissa, exponent - fractionDigits, value))
        return finish(value, negative);

    // The general case: gather the digits without blanks and let
    // std::from_chars round them.
    DigitBuffer number;
    Cursor again = mantissaStart;
    scanMantissa(again, [&](char c, bool) { number.push(c); });
    if (exponent != 0) {
        number.push('e');
        char buf[24];
        const auto r = std::to_chars(buf, buf + sizeof buf, exponent);
        for (const char* p = buf; p != r.ptr; ++p)
            number.push(*p);
    }
    const auto digits = number.view();
    const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), value,
                                        std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range) {
        // Out of range both ways ends up here; only the large side is an error.
        if (leadingExponent + exponent > 0)
            raiseOverflow();
        return finish(0.0, negative);
    }
    if (std::isinf(value))
        raiseOverflow();
    return finish(value, negative);
}

} // namespace

double textToDouble(std::string_view text)
{
    if (double value; plainDecimal(text, value))
        return value;
    Cursor in(text);
    bool negative = false;
    if (in.peek() == '+' || in.peek() == '-') {
        negative = in.peek() == '-';
        in.next();
    }
    if (in.peek() == '&') {
        Cursor probe = in;
        probe.next();
        const char kind = upper(probe.peek());
        if (kind == 'H' || kind == 'O') {
            probe.next();
            return finish(readRadix(probe, kind == 'H' ? 4 : 3), negative);
        }
        return finish(0.0, negative);
    }
    return readDecimal(in, negative);
}

std::int16_t toInt16(double value)
{
    if (!(value >= -32768.5 && value <= 32767.5)) // also false for NaN
        raiseOverflow();
    double whole = std::floor(value);
    const double rest = value - whole; // exact for these magnitudes
    if (rest > 0.5 || (rest == 0.5 && std::fmod(whole, 2.0) != 0.0))
        whole += 1.0;
    if (whole > 32767.0 || whole < -32768.0)
        raiseOverflow();
    return static_cast<std::int16_t>(whole);
}

double power(double base, double exponent)
{
    // Whole powers of two and small whole powers of ten are exact doubles;
    // give them straight away rather than through pow().
    if (exponent == std::floor(exponent) && std::fabs(exponent) <= 1000) {
        if (base == 2.0)
            return std::ldexp(1.0, static_cast<int>(exponent));
        if (base == 10.0 && exponent >= 0 && exponent <= 22)
            return exactPowersOfTen[static_cast<std::size_t>(exponent)];
    }
    return std::pow(base, exponent);
}

namespace {
template <class T>
T narrow(long long exact)
{
    if (exact < std::numeric_limits<T>::min() || exact > std::numeric_limits<T>::max())
        raiseOverflow();
    return static_cast<T>(exact);
}
} // namespace

std::int16_t add16(std::int16_t a, std::int16_t b) { return narrow<std::int16_t>(1LL * a + b); }
std::int16_t sub16(std::int16_t a, std::int16_t b) { return narrow<std::int16_t>(1LL * a - b); }
std::int16_t mul16(std::int16_t a, std::int16_t b) { return narrow<std::int16_t>(1LL * a * b); }
std::int32_t sub32(std::int32_t a, std::int32_t b) { return narrow<std::int32_t>(1LL * a - b); }

FpResult multiply(double a, double b)
{
    FpResult r{a * b, {}};
    const bool zeroTimesInfinity =
        (a == 0.0 && std::isinf(b)) || (b == 0.0 && std::isinf(a));
    r.status.invalidOperation = zeroTimesInfinity;
    r.status.overflow = std::isinf(r.value) && std::isfinite(a) && std::isfinite(b);
    return r;
}

FpResult divide(double dividend, double divisor)
{
    FpResult r{dividend / divisor, {}};
    const bool zeroByZero = dividend == 0.0 && divisor == 0.0;
    const bool infinityByInfinity = std::isinf(dividend) && std::isinf(divisor);
    r.status.invalidOperation = zeroByZero || infinityByInfinity;
    r.status.divisionByZero = divisor == 0.0 && std::isfinite(dividend) && dividend != 0.0;
    r.status.overflow = std::isinf(r.value) && std::isfinite(dividend) && divisor != 0.0;
    return r;
}

void testFpStatus(const FpStatus& status)
{
    if (status.invalidOperation)
        raiseFloatingPoint(FpCondition::InvalidOperation);
    if (status.divisionByZero)
        raiseFloatingPoint(FpCondition::DivisionByZero);
    if (status.overflow)
        raiseFloatingPoint(FpCondition::Overflow);
}

} // namespace rt
