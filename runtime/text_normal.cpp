#include "runtime/text_normal.h"

#include <cstdint>

namespace rt {

namespace {

// The code point of the well-formed UTF-8 sequence at the start of `text`
// and its length; length 0 when the sequence is not well formed.
struct Decoded {
    char32_t codePoint = 0;
    std::size_t length = 0;
};

Decoded decodeUtf8(std::string_view text)
{
    const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(text[i]); };
    const std::uint8_t lead = byte(0);
    std::size_t length = 0;
    char32_t cp = 0;
    char32_t lowest = 0;
    if (lead < 0x80)
        return {lead, 1};
    if ((lead & 0xE0) == 0xC0) {
        length = 2, cp = lead & 0x1F, lowest = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, cp = lead & 0x0F, lowest = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, cp = lead & 0x07, lowest = 0x10000;
    } else {
        return {};
    }
    if (text.size() < length)
        return {};
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80)
            return {};
        cp = (cp << 6) | (byte(i) & 0x3F);
    }
    if (cp < lowest || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return {};
    return {cp, length};
}

bool isUnicodeSpace(char32_t c)
{
    switch (c) {
    case 0x00A0: // no-break space
    case 0x1680: // ogham space mark
    case 0x180E: // Mongolian vowel separator
    case 0x2028: // line separator
    case 0x2029: // paragraph separator
    case 0x202F: // narrow no-break space
    case 0x205F: // medium mathematical space
    case 0x2060: // word joiner
    case 0x3000: // ideographic space
    case 0xFEFF: // zero-width no-break space, the byte-order mark
        return true;
    default:
        return c >= 0x2000 && c <= 0x200D; // en quad .. zero-width joiner
    }
}

} // namespace

std::string plainNumberText(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    while (!text.empty()) {
        const Decoded d = decodeUtf8(text);
        if (d.length == 0) {
            out += text.front();
            text.remove_prefix(1);
            continue;
        }
        if (isUnicodeSpace(d.codePoint))
            out += ' ';
        else if (d.codePoint >= 0xFF01 && d.codePoint <= 0xFF5E)
            out += char(d.codePoint - 0xFF01 + 0x21);
        else
            out.append(text.substr(0, d.length));
        text.remove_prefix(d.length);
    }
    return out;
}

std::string_view trimmedBlanks(std::string_view text)
{
    constexpr std::string_view blanks = " \t";
    const std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(blanks) + 1 - first);
}

} // namespace rt
