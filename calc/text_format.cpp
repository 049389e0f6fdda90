#include "calc/text_format.h"

#include <charconv>
#include <limits>

namespace calc {

std::string fixedPoint(std::uint64_t units, std::size_t decimals)
{
    std::string digits = std::to_string(units);
    if (digits.size() <= decimals)
        digits.insert(0, decimals + 1 - digits.size(), '0');
    digits.insert(digits.size() - decimals, 1, '.');
    return digits;
}

std::string trimmedFixedPoint(std::uint64_t units, std::size_t decimals)
{
    std::string digits = fixedPoint(units, decimals);
    digits.erase(digits.find_last_not_of('0') + 1);
    if (digits.back() == '.')
        digits.pop_back();
    return digits;
}

std::string formatHz(std::uint64_t milliHz) { return fixedPoint(milliHz, 3); }

std::string formatStepHz(std::uint64_t microHz) { return fixedPoint(microHz, 6); }

std::string fixedDecimals(double value, int decimals)
{
    // Room for every digit of any finite double: sign, integer digits,
    // point and decimals.
    std::string text(std::numeric_limits<double>::max_exponent10 + 3 + static_cast<std::size_t>(decimals), '\0');
    const auto end =
        std::to_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed, decimals).ptr;
    text.resize(static_cast<std::size_t>(end - text.data()));
    if (text.front() == '-' && text.find_first_not_of("-0.") == std::string::npos)
        text.erase(0, 1);
    return text;
}

std::string formatDeviationHz(double hz)
{
    // A deviation that shows as zero is "+0.000", never "-0.000".
    std::string text = fixedDecimals(hz, 3);
    return text.front() == '-' ? text : "+" + text;
}

void appendCsvField(std::string& out, std::string_view field)
{
    if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
        out += field;
        return;
    }
    out += '"';
    for (const char c : field) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
}

namespace {

// Writes "0xHH" per byte with `separator` between them, capital hex digits,
// from `p` on; returns the end.
char* writeByteLiterals(char* p, std::span<const std::uint8_t> bytes, char separator)
{
    static constexpr char hexDigits[] = "0123456789ABCDEF";
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i != 0)
            *p++ = separator;
        *p++ = '0';
        *p++ = 'x';
        *p++ = hexDigits[bytes[i] >> 4];
        *p++ = hexDigits[bytes[i] & 0xF];
    }
    return p;
}

// Adds `bytes` as literals between `open` and `close` (left out when '\0').
// Written on the stack and added at once, as lines are made by the million.
void appendLiterals(std::string& out, std::span<const std::uint8_t> bytes, char separator, char open, char close)
{
    char small[2 + 5 * 5];
    std::string large;
    const std::size_t most = 2 + 5 * bytes.size();
    char* const text = most <= sizeof small ? small : (large.resize(most), large.data());
    char* p = text;
    if (open)
        *p++ = open;
    p = writeByteLiterals(p, bytes, separator);
    if (close)
        *p++ = close;
    out.append(text, std::size_t(p - text));
}

} // namespace

void appendByteLiterals(std::string& out, std::span<const std::uint8_t> bytes, char separator)
{
    appendLiterals(out, bytes, separator, '\0', '\0');
}

void appendByteList(std::string& out, std::span<const std::uint8_t> bytes)
{
    appendLiterals(out, bytes, ',', '{', '}');
}

} // namespace calc
