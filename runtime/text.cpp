#include "runtime/text.h"

#include "runtime/errors.h"

#include <charconv>
#include <cmath>
#include <stdexcept>
#include <system_error>

namespace rt {

namespace {

bool isContinuationByte(char c) noexcept { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// Byte offset of the character at 0-based character index `index`, or the
// text's size when it has fewer characters.
std::size_t offsetOf(std::string_view text, std::int64_t index) noexcept
{
    std::size_t pos = 0;
    while (pos < text.size() && index > 0) {
        ++pos;
        while (pos < text.size() && isContinuationByte(text[pos]))
            ++pos;
        --index;
    }
    return pos;
}

std::size_t zeroRunLength(std::string_view pattern)
{
    if (pattern.empty() || pattern.find_first_not_of('0') != std::string_view::npos)
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
    std::to_chars_result r{};
    if (std::fabs(whole) < 9.0e18)
        r = std::to_chars(buf, buf + sizeof buf, static_cast<std::int64_t>(whole));
    else
        r = std::to_chars(buf, buf + sizeof buf, whole, std::chars_format::fixed, 0);
    std::string_view digits(buf, std::size_t(r.ptr - buf));
    std::string out;
    if (!digits.empty() && digits.front() == '-') {
        out.push_back('-');
        digits.remove_prefix(1);
    }
    if (digits.size() < minDigits)
        out.append(minDigits - digits.size(), '0');
    out.append(digits);
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
    std::uint64_t value = 0;
    const char* first = wholeNumber.data();
    const char* last = first + wholeNumber.size();
    const auto r = std::from_chars(first, last, value);
    if (r.ec == std::errc::result_out_of_range)
        raiseOverflow();
    if (r.ec != std::errc() || r.ptr != last)
        throw std::invalid_argument("not a whole number");
    char buf[17];
    const auto w = std::to_chars(buf, buf + sizeof buf, value, 16);
    for (char* p = buf; p != w.ptr; ++p)
        if (*p >= 'a' && *p <= 'f')
            *p = char(*p - 'a' + 'A');
    return std::string(buf, w.ptr);
}

std::string_view substring(std::string_view text, std::int64_t start, std::int64_t count)
{
    if (start < 1 || count < 0)
        throw std::invalid_argument("substring start must be 1 or more and count 0 or more");
    const std::size_t from = offsetOf(text, start - 1);
    const std::string_view rest = text.substr(from);
    return rest.substr(0, offsetOf(rest, count));
}

std::int64_t length(std::string_view text) noexcept
{
    std::int64_t n = 0;
    for (char c : text)
        if (!isContinuationByte(c))
            ++n;
    return n;
}

} // namespace rt
