#include "runtime/text.h"

#include "runtime/errors.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <cmath>
#include <stdexcept>
#include <system_error>

namespace rt {

namespace {

bool isContinuationByte(char c) noexcept { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// True when every byte is below 0x80: one character a byte.
bool isAscii(std::string_view text) noexcept
{
    std::size_t i = 0;
    for (; i + 8 <= text.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, text.data() + i, 8);
        if (word & 0x8080808080808080u)
            return false;
    }
    for (; i < text.size(); ++i)
        if (static_cast<unsigned char>(text[i]) & 0x80)
            return false;
    return true;
}

// Byte offset of the character at 0-based character index `index`, or the
// text's size when it has fewer characters.
std::size_t offsetOf(std::string_view text, std::int64_t index) noexcept
{
    for (std::size_t pos = 0; pos < text.size(); ++pos)
        if (!isContinuationByte(text[pos]) && index-- == 0)
            return pos;
    return text.size();
}

std::size_t zeroRunLength(std::string_view pattern)
{
    bool zeros = !pattern.empty();
    for (const char c : pattern)
        zeros = zeros && c == '0';
    if (!zeros)
        throw std::invalid_argument("number format pattern not supported");
    return pattern.size();
}

} // namespace

std::string formatNumber(double value, std::string_view pattern)
{
    const std::size_t minDigits = zeroRunLength(pattern);
    if (!std::isfinite(value))
        throw std::invalid_argument("cannot format a value that is not finite");
    double whole = std::round(value); // an exact half goes away from zero
    if (whole == 0.0)
        whole = 0.0; // no "-0"
    char buf[400]; // the longest double written out in full has 309 digits
    std::string_view digits;
    if (std::fabs(whole) < 1.0e18) {
        // The usual case, digit by digit from the right.
        static constexpr char pairs[] = "00010203040506070809101112131415161718192021222324"
                                        "25262728293031323334353637383940414243444546474849"
                                        "50515253545556575859606162636465666768697071727374"
                                        "75767778798081828384858687888990919293949596979899";
        auto magnitude = static_cast<std::uint64_t>(std::fabs(whole));
        char* p = buf + sizeof buf;
        while (magnitude >= 100) { // two digits at a time
            const auto pair = std::size_t(magnitude % 100) * 2;
            magnitude /= 100;
            *--p = pairs[pair + 1];
            *--p = pairs[pair];
        }
        if (magnitude >= 10) {
            *--p = pairs[magnitude * 2 + 1];
            *--p = pairs[magnitude * 2];
        } else {
            *--p = char('0' + magnitude);
        }
        if (whole < 0)
            *--p = '-';
        digits = std::string_view(p, std::size_t(buf + sizeof buf - p));
    } else {
        const auto r = std::to_chars(buf, buf + sizeof buf, whole, std::chars_format::fixed, 0);
        digits = std::string_view(buf, std::size_t(r.ptr - buf));
    }
    const bool negative = digits.front() == '-';
    const std::size_t digitCount = digits.size() - (negative ? 1 : 0);
    if (digitCount >= minDigits)
        return std::string(digits);
    std::string out(negative ? "-" : "");
    out.append(minDigits - digitCount, '0');
    out.append(digits.substr(negative ? 1 : 0));
    return out;
}

std::string toText(std::int64_t value)
{
    char buf[24];
    const auto r = std::to_chars(buf, buf + sizeof buf, value);
    return std::string(buf, r.ptr);
}

std::string hex(std::string_view wholeNumber)
{
    if (!wholeNumber.empty() && wholeNumber.front() == '-') {
        if (wholeNumber.find_first_not_of('0', 1) != std::string_view::npos)
            raiseOverflow();
        wholeNumber.remove_prefix(1); // "-0"
    }
    if (wholeNumber.empty())
        throw std::invalid_argument("not a whole number");
    std::uint64_t value = 0;
    for (const char c : wholeNumber) {
        if (c < '0' || c > '9')
            throw std::invalid_argument("not a whole number");
        const auto digit = std::uint64_t(c - '0');
        constexpr std::uint64_t limit = UINT64_MAX / 10; // 1844674407370955161
        if (value > limit || (value == limit && digit > UINT64_MAX % 10))
            raiseOverflow();
        value = value * 10 + digit;
    }
    char buf[16];
    char* p = buf + sizeof buf;
    do {
        *--p = "0123456789ABCDEF"[value & 0xF];
        value >>= 4;
    } while (value != 0);
    return std::string(p, buf + sizeof buf);
}

std::string_view substring(std::string_view text, std::int64_t start, std::int64_t count)
{
    if (start < 1 || count < 0)
        throw std::invalid_argument("substring start must be 1 or more and count 0 or more");
    if (isAscii(text)) {
        if (std::uint64_t(start) > text.size())
            return {};
        return text.substr(std::size_t(start - 1), std::size_t(std::min<std::int64_t>(count, text.size())));
    }
    const std::size_t from = offsetOf(text, start - 1);
    const std::string_view rest = text.substr(from);
    return rest.substr(0, offsetOf(rest, count));
}

std::int64_t length(std::string_view text) noexcept
{
    if (isAscii(text))
        return static_cast<std::int64_t>(text.size());
    std::int64_t n = 0;
    for (char c : text)
        if (!isContinuationByte(c))
            ++n;
    return n;
}

} // namespace rt
