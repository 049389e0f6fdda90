#include "calc/result_line.h"

#include "calc/text_format.h"
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

void appendResultLine(std::string& out, std::span<const std::uint8_t> bytes, std::string_view comment,
                      std::string_view unitCaption)
{
    appendByteList(out, bytes);
    out += ",//";
    out += comment;
    out += unitCaption;
}

void appendResultLine(std::string& out, std::uint32_t word, std::int16_t mode2, std::string_view comment,
                      std::string_view unitCaption)
{
    appendResultLine(out, wordBytes(word, mode2), comment, unitCaption);
}

} // namespace calc
