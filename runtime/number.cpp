#include "runtime/number.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace rt {

namespace {

// Exponents are kept within this bound: far past the double range, and far
// past anything the length of a text could bring back into it.
constexpr std::int64_t exponentBound = std::int64_t(1) << 61;

std::int64_t clampExponent(std::int64_t e) noexcept { return std::clamp(e, -exponentBound, exponentBound); }

bool isBlank(char c) noexcept { return c == ' ' || c == '\t' || c == '\n'; }
bool isDigit(char c) noexcept { return c >= '0' && c <= '9'; }
char upper(char c) noexcept { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; }

int digitValue(char c) noexcept
{
    c = upper(c);
    if (isDigit(c))
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return 99;
}

// Walks a text while skipping blanks, tabs and line feeds.
class Cursor {
public:
    explicit Cursor(std::string_view text) : text_(text) { skip(); }
    char peek() const noexcept { return pos_ < text_.size() ? text_[pos_] : '\0'; }
    std::size_t position() const noexcept { return pos_; }
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

void readRadixDigits(Cursor& in, WrittenNumber& n)
{
    for (int d; (d = digitValue(in.peek())) < n.radix; in.next()) {
        n.hasDigits = true;
        if (d != 0 || !n.digits.empty())
            n.digits.push_back("0123456789ABCDEF"[d]);
    }
}

// An exponent ("E" or "D", any case; optional sign; digits) where one
// follows; 0 with `in` untouched where none does ("1e" reads 1).  Every
// digit is read, however many there are; the value saturates.
std::int64_t readExponent(Cursor& in)
{
    const char e = upper(in.peek());
    if (e != 'E' && e != 'D')
        return 0;
    Cursor probe = in;
    probe.next();
    const bool negative = probe.peek() == '-';
    if (probe.peek() == '+' || probe.peek() == '-')
        probe.next();
    if (!isDigit(probe.peek()))
        return 0;
    std::int64_t exponent = 0;
    for (; isDigit(probe.peek()); probe.next()) {
        const int digit = probe.peek() - '0';
        exponent = exponent > (exponentBound - digit) / 10 ? exponentBound : exponent * 10 + digit;
    }
    in = probe;
    return negative ? -exponent : exponent;
}

void readDecimal(Cursor& in, WrittenNumber& n)
{
    bool seenPoint = false;
    std::int64_t fractionDigits = 0; // digits after the point, leading zeros included
    for (char c; isDigit(c = in.peek()) || (c == '.' && !seenPoint); in.next()) {
        if (c == '.') {
            seenPoint = true;
            continue;
        }
        n.hasDigits = true;
        fractionDigits += seenPoint ? 1 : 0;
        if (c != '0' || !n.digits.empty())
            n.digits.push_back(c);
    }
    if (!n.hasDigits)
        return;
    const std::int64_t written = readExponent(in);
    const auto trailingZeros = std::int64_t(n.digits.size() - (n.digits.find_last_not_of('0') + 1));
    n.digits.resize(n.digits.size() - std::size_t(trailingZeros));
    n.exponent = clampExponent(written - fractionDigits + trailingZeros);
}

double signed_(double magnitude, bool negative) { return negative ? -magnitude : magnitude; }

constexpr double infinity = std::numeric_limits<double>::infinity();

double radixToDouble(const WrittenNumber& n)
{
    // Octal digits are re-cut into hexadecimal ones, so that std::from_chars
    // rounds the number correctly however long it is.
    std::string hex;
    if (n.radix == 8) {
        unsigned bits = 0;
        int bitCount = int((4 - n.digits.size() * 3 % 4) % 4); // zero bits in front
        for (const char d : n.digits) {
            bits = (bits << 3) | unsigned(d - '0');
            bitCount += 3;
            while (bitCount >= 4) {
                bitCount -= 4;
                const unsigned nibble = (bits >> bitCount) & 0xFu;
                bits &= (1u << bitCount) - 1u;
                if (nibble != 0 || !hex.empty())
                    hex.push_back("0123456789ABCDEF"[nibble]);
            }
        }
    }
    const std::string_view digits = n.radix == 8 ? std::string_view(hex) : std::string_view(n.digits);
    if (digits.size() > 256) // at least 2^1024
        return infinity;
    double value = 0.0;
    const auto r = std::from_chars(digits.data(), digits.data() + digits.size(), value, std::chars_format::hex);
    return r.ec == std::errc::result_out_of_range ? infinity : value;
}

double decimalToDouble(const WrittenNumber& n)
{
    // The value lies in [10^(magnitude - 1), 10^magnitude).
    const std::int64_t magnitude = clampExponent(std::int64_t(n.digits.size()) + n.exponent);
    if (magnitude > 310)
        return infinity;
    if (magnitude < -324) // below half the smallest denormal
        return 0.0;
    // Deciding the rounding of a double never takes more than 768 significant
    // digits; the digits beyond are summed up by one nonzero digit.
    constexpr std::size_t kept = 800;
    std::string text = n.digits.substr(0, kept);
    std::int64_t exponent = n.exponent + std::int64_t(n.digits.size() - text.size());
    if (n.digits.size() > kept) {
        text.push_back('1');
        --exponent;
    }
    text.push_back('e');
    char buf[24];
    text.append(buf, std::to_chars(buf, buf + sizeof buf, exponent).ptr);
    double value = 0.0;
    const auto r = std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::scientific);
    if (r.ec == std::errc::result_out_of_range)
        return magnitude > 0 ? infinity : 0.0;
    return value;
}

constexpr double exactPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                       1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// The common text: nothing but digits and at most one ".", few enough
// digits that the whole number and the power of ten are exact doubles, so
// one division rounds correctly.  False, touching nothing, for anything else.
bool readPlainDecimal(std::string_view text, double& value)
{
    if (text.empty() || text.size() > 19)
        return false;
    std::uint64_t whole = 0;
    std::size_t fractionDigits = 0;
    bool seenPoint = false;
    bool anyDigit = false;
    for (const char c : text) {
        if (isDigit(c)) {
            whole = whole * 10 + std::uint64_t(c - '0');
            fractionDigits += seenPoint ? 1 : 0;
            anyDigit = true;
        } else if (c == '.' && !seenPoint) {
            seenPoint = true;
        } else {
            return false;
        }
    }
    if (!anyDigit || whole > (std::uint64_t(1) << 53))
        return false;
    value = static_cast<double>(whole) / exactPowersOfTen[fractionDigits];
    return true;
}

} // namespace

WrittenNumber readWrittenNumber(std::string_view text)
{
    WrittenNumber n;
    Cursor in(text);
    if (in.peek() == '+' || in.peek() == '-') {
        n.negative = in.peek() == '-';
        in.next();
    }
    if (in.peek() == '&') {
        Cursor probe = in;
        probe.next();
        const char kind = upper(probe.peek());
        if (kind == 'H' || kind == 'O') {
            probe.next();
            n.radix = kind == 'H' ? 16 : 8;
            readRadixDigits(probe, n);
            in = probe;
        }
    } else {
        readDecimal(in, n);
    }
    n.end = in.position();
    return n;
}

double toDouble(const WrittenNumber& number)
{
    if (number.isZero())
        return signed_(0.0, number.negative);
    const double magnitude = number.radix == 10 ? decimalToDouble(number) : radixToDouble(number);
    return signed_(magnitude, number.negative);
}

double textToDouble(std::string_view text)
{
    if (double value; readPlainDecimal(text, value))
        return value;
    return toDouble(readWrittenNumber(text));
}

} // namespace rt
