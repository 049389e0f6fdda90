#include "calc/result_line.h"

#include "calc/units.h"

namespace calc {

std::array<std::uint8_t, 4> wordBytes(std::uint32_t word, std::int16_t mode2) noexcept
{
    std::array<std::uint8_t, 4> bytes{};
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const std::size_t significance = isSerial(mode2) ? i : bytes.size() - 1 - i;
        bytes[i] = std::uint8_t(word >> (8 * significance));
    }
    return bytes;
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

void appendResultLine(std::string& out, std::span<const std::uint8_t> bytes, std::string_view comment,
                      std::string_view unitCaption)
{
    appendByteList(out, bytes);
    out += ",//";
    out += comment;
    out += unitCaption;
}

void appendResultLine(std::string& out, std::uint32_t word, std::int16_t mode2,
                      std::string_view comment, std::string_view unitCaption)
{
    appendResultLine(out, wordBytes(word, mode2), comment, unitCaption);
}

} // namespace calc
