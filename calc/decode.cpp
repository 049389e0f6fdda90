#include "calc/decode.h"

#include "calc/details.h"
#include "calc/errors.h"
#include "calc/limits.h"
#include "calc/text_format.h"
#include "calc/units.h"
#include "runtime/text_normal.h"

#include <algorithm>
#include <charconv>
#include <vector>

namespace calc {

namespace {

constexpr const char* wordTooLarge = "the word is 2^31 or more, which no frequency below half the clock gives";

[[noreturn]] void invalid(std::string why) { throw CalcError(Problem::InvalidWord, std::move(why)); }

bool startsWithHexPrefix(std::string_view s) { return s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X'); }

// A whole number in `base`, all of `digits`; nothing when it is not one or
// does not fit in 64 bits.
std::optional<std::uint64_t> wholeNumber(std::string_view digits, int base)
{
    std::uint64_t value = 0;
    const auto r = std::from_chars(digits.data(), digits.data() + digits.size(), value, base);
    if (digits.empty() || r.ec != std::errc() || r.ptr != digits.data() + digits.size())
        return std::nullopt;
    return value;
}

// True when `digits` are all digits in `base`, whatever their number.
bool isWholeNumberText(std::string_view digits, int base)
{
    return !digits.empty() && std::all_of(digits.begin(), digits.end(), [base](char c) {
        return (c >= '0' && c <= '9') || (base == 16 && ((c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F')));
    });
}

std::vector<std::uint8_t> readByteList(std::string_view text)
{
    const std::size_t close = text.find('}');
    if (close == std::string_view::npos)
        invalid("a byte list needs a closing \"}\"");
    // After the list: nothing, or a comma and/or a // comment.
    std::string_view rest = rt::trimmedBlanks(text.substr(close + 1));
    if (!rest.empty() && rest.front() == ',')
        rest = rt::trimmedBlanks(rest.substr(1));
    if (!rest.empty() && !rest.starts_with("//"))
        invalid("only a comment may follow the byte list");

    std::vector<std::uint8_t> bytes;
    std::string_view items = text.substr(1, close - 1);
    while (true) {
        const std::size_t comma = items.find(',');
        const std::string_view item = rt::trimmedBlanks(items.substr(0, comma));
        const auto value = startsWithHexPrefix(item) ? wholeNumber(item.substr(2), 16) : std::nullopt;
        if (!value || *value > 0xFF || item.size() > 4)
            invalid(std::string(1, '"').append(item).append("\" is not a byte such as 0x1A"));
        bytes.push_back(std::uint8_t(*value));
        if (comma == std::string_view::npos)
            break;
        items.remove_prefix(comma + 1);
    }
    return bytes;
}

std::uint32_t checkedWord(std::uint64_t word)
{
    if (word > maxWord)
        invalid(wordTooLarge);
    return std::uint32_t(word);
}

const char* orderName(bool serial) { return serial ? "in serial order (W4 first)" : "in parallel order (W0 first)"; }

// The word, and W0 of five bytes, in serial order (least significant byte
// first, W0 last) or parallel order (W0 first, then the most significant).
DecodedWord wordFromBytes(const std::vector<std::uint8_t>& bytes, bool serial)
{
    DecodedWord decoded;
    std::size_t first = 0;
    if (bytes.size() == 5) {
        decoded.control = controlByteFrom(bytes[serial ? 4 : 0]);
        decoded.serialOrder = serial;
        first = serial ? 0 : 1;
    }
    std::uint64_t word = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        const std::size_t significance = serial ? i : 3 - i;
        word |= std::uint64_t(bytes[first + i]) << (8 * significance);
    }
    decoded.word = checkedWord(word);
    return decoded;
}

} // namespace

DecodedWord decodeWord(std::string_view text, std::int16_t mode2)
{
    text = rt::trimmedBlanks(text);
    DecodedWord decoded;
    if (text.starts_with('{')) {
        const std::vector<std::uint8_t> bytes = readByteList(text);
        if (bytes.size() != 4 && bytes.size() != 5)
            invalid("a byte list has 4 bytes (the word) or 5 (the whole load), not " + std::to_string(bytes.size()));
        const bool serial = isSerial(mode2);
        if (bytes.size() == 4)
            return wordFromBytes(bytes, serial);
        try {
            return wordFromBytes(bytes, serial);
        } catch (const CalcError& e) {
            std::string why = std::string(orderName(serial)) + " " + e.what();
            try {
                wordFromBytes(bytes, !serial);
                why += std::string("; ") + orderName(!serial) + " it is a valid load";
            } catch (const CalcError&) {
            }
            invalid(std::move(why));
        }
    }
    const bool hex = startsWithHexPrefix(text);
    const std::string_view digits = hex ? text.substr(2) : text;
    const auto value = wholeNumber(digits, hex ? 16 : 10);
    if (!value && isWholeNumberText(digits, hex ? 16 : 10))
        invalid(wordTooLarge); // too many digits for 64 bits
    if (!value)
        invalid("not a word: give a result line, a byte list, a decimal word or a hexadecimal one (0x...)");
    decoded.word = checkedWord(*value);
    return decoded;
}

std::string describeWord(const DecodedWord& decoded, ClockOptions options)
{
    if (decoded.control) {
        if (decoded.control->multiplier && options.chip == Chip::AD9850)
            throw CalcError(Problem::InvalidWord, "W0 has D0 set, but the AD9850 has no multiplier");
        options.multiplier = decoded.control->multiplier;
    }
    const SystemClock clock = systemClock(options);
    const std::uint64_t milliHz = actualMilliHz(decoded.word, clock);
    // Appended piece by piece (GCC 12 warns wrongly about chains of +).
    std::string out = "word=";
    out += std::to_string(decoded.word);
    out += "\tfrequency_hz=";
    out += formatHz(milliHz);
    if (const auto& c = decoded.control) {
        char phase[32];
        const auto end = std::to_chars(phase, phase + sizeof phase, c->phaseDegrees()).ptr;
        out += "\tphase_deg=";
        out.append(phase, end);
        out += c->powerDown ? "\tpower_down=1" : "\tpower_down=0";
        out += c->multiplier ? "\tmultiplier=1" : "\tmultiplier=0";
        out += decoded.serialOrder ? "\tbyte_order=serial" : "\tbyte_order=parallel";
    }
    return out;
}

} // namespace calc
