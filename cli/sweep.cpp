#include "cli/sweep.h"

#include "calc/text_format.h"
#include "runtime/number.h"

#include <algorithm>
#include <array>
#include <limits>
#include <stdexcept>

namespace cli {

namespace {

constexpr std::int64_t maxDecimals = 18;

// A decimal number, read as every other option's value is: blanks around
// it, an exponent ("1e3") allowed.
struct Decimal {
    std::string_view text; // as given, for messages
    bool negative = false;
    std::string digits; // integer and fraction digits together
    int decimals = 0;
};

[[noreturn]] void fail(std::string_view text, std::string_view why)
{
    throw std::invalid_argument("--sweep: \"" + std::string(text) + "\" " + std::string(why));
}

Decimal parseDecimal(std::string_view text)
{
    const rt::WrittenNumber n = rt::readWrittenNumber(text);
    if (!n.isWholeText(text) || n.radix != 10)
        fail(text, "is not a decimal number");
    Decimal d{text, n.negative, n.digits, 0};
    if (n.exponent < -maxDecimals)
        fail(text, "has more than 18 decimal places");
    if (n.exponent < 0)
        d.decimals = int(-n.exponent);
    else if (std::int64_t(d.digits.size()) + n.exponent > 19)
        fail(text,
             n.negative ? "is too small: at least -9223372036854775807" : "is too large: at most 9223372036854775807");
    else
        d.digits.append(std::size_t(n.exponent), '0');
    return d;
}

// The decimal in units of 10^-decimals.
std::int64_t scaled(const Decimal& d, int decimals)
{
    constexpr std::int64_t largest = std::numeric_limits<std::int64_t>::max();
    std::int64_t v = 0;
    for (int i = 0; i < int(d.digits.size()) + (decimals - d.decimals); ++i) {
        const int digit = i < int(d.digits.size()) ? d.digits[std::size_t(i)] - '0' : 0;
        if (v > (largest - digit) / 10) {
            const std::string limit = calc::trimmedFixedPoint(std::uint64_t(largest), std::size_t(decimals));
            const std::string places = decimals == 0 ? "" : " with " + std::to_string(decimals) + " decimal places";
            fail(d.text,
                 d.negative ? "is too small: at least -" + limit + places : "is too large: at most " + limit + places);
        }
        v = v * 10 + digit;
    }
    return d.negative ? -v : v;
}

} // namespace

Sweep::Sweep(std::string_view range)
{
    std::array<std::string_view, 3> parts;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const std::size_t colon = range.find(':');
        if ((colon == std::string_view::npos) != (i == 2))
            throw std::invalid_argument("--sweep takes START:STOP:STEP");
        parts[i] = range.substr(0, colon);
        range.remove_prefix(colon == std::string_view::npos ? range.size() : colon + 1);
    }
    const Decimal start = parseDecimal(parts[0]), stop = parseDecimal(parts[1]), step = parseDecimal(parts[2]);
    decimals_ = std::max({start.decimals, stop.decimals, step.decimals});
    start_ = scaled(start, decimals_);
    step_ = scaled(step, decimals_);
    const std::int64_t stopValue = scaled(stop, decimals_);
    if (step_ == 0)
        throw std::invalid_argument("--sweep: STEP must not be 0");
    // The span in the step's direction; unsigned, so that it cannot overflow.
    const bool up = step_ > 0;
    if (up ? stopValue < start_ : stopValue > start_)
        throw std::invalid_argument("--sweep: STEP points away from STOP");
    const std::uint64_t span =
        up ? std::uint64_t(stopValue) - std::uint64_t(start_) : std::uint64_t(start_) - std::uint64_t(stopValue);
    const std::uint64_t stride = up ? std::uint64_t(step_) : 0 - std::uint64_t(step_);
    const std::uint64_t steps = span / stride;
    if (steps >= maxEntries)
        throw std::invalid_argument("--sweep: more than 10000000 entries");
    count_ = steps + 1;
}

std::string_view Sweep::writeText(std::uint64_t index, Buffer& buffer) const
{
    // The value lies between START and STOP, so it fits; the sum is taken
    // modulo 2^64, where the steps on the way may not fit.
    const auto value = std::int64_t(std::uint64_t(start_) + index * std::uint64_t(step_));
    std::uint64_t magnitude = value < 0 ? 0 - std::uint64_t(value) : std::uint64_t(value);
    // Digits from the right, the trailing zeros of the fraction left out.
    char* const end = buffer + sizeof buffer;
    char* p = end;
    int place = decimals_;
    bool fraction = false;
    for (; place > 0; --place, magnitude /= 10) {
        const char digit = char('0' + magnitude % 10);
        if (digit != '0' || fraction) {
            *--p = digit;
            fraction = true;
        }
    }
    if (fraction)
        *--p = '.';
    do {
        *--p = char('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (value < 0)
        *--p = '-';
    return std::string_view(p, std::size_t(end - p));
}

std::string Sweep::text(std::uint64_t index) const
{
    Buffer buffer;
    return std::string(writeText(index, buffer));
}

} // namespace cli
