#pragma once
// Text operations.  Texts are UTF-8; positions and lengths count characters
// (code points), the first character being at position 1.

#include <cstdint>
#include <string>
#include <string_view>

namespace rt {

// `value` as text by a number-format pattern.  The patterns understood are
// runs of "0": the value rounded to the nearest whole number (an exact half
// away from zero), in decimal digits with at least as many digits as the
// pattern has zeros, no decimal point, no grouping and a leading minus for a
// negative value.  Other patterns throw std::invalid_argument.
std::string formatNumber(double value, std::string_view pattern);

// A whole number as decimal text ("0" for 0).
std::string toText(std::int64_t value);

// The base-16 digits of the whole number in `wholeNumber` (decimal digits,
// as formatNumber writes them): capital A to F, no prefix, no leading
// zeros.  OverflowError for a negative number or one above 2^64 - 1;
// std::invalid_argument for a text that is not a whole number.
std::string hex(std::string_view wholeNumber);

// At most `count` characters of `text`, starting at the 1-based position
// `start`.  Empty when start lies past the end; start below 1 or a negative
// count throw std::invalid_argument.
std::string_view substring(std::string_view text, std::int64_t start, std::int64_t count);

// The number of characters in `text`.
std::int64_t length(std::string_view text) noexcept;

} // namespace rt
