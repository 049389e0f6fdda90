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

void appendByteList(std::string& out, std::span<const std::uint8_t> bytes)
{
    // "{" then "0xHH," per byte, the last comma becoming "}"; written on
    // the stack and added at once, as lines are made by the million.
    static constexpr char hexDigits[] = "0123456789ABCDEF";
    char small[1 + 5 * 5];
    std::string large;
    const std::size_t size = 1 + 5 * bytes.size() + (bytes.empty() ? 1 : 0);
    char* const text = size <= sizeof small ? small : (large.resize(size), large.data());
    char* p = text;
    *p++ = '{';
    for (const std::uint8_t b : bytes) {
        *p++ = '0';
        *p++ = 'x';
        *p++ = hexDigits[b >> 4];
        *p++ = hexDigits[b & 0xF];
        *p++ = ',';
    }
    text[size - 1] = '}';
    out.append(text, size);
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
