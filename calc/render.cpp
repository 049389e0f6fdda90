#include "calc/render.h"

#include "calc/stage.h"
#include "calc/units.h"
#include "runtime/errors.h"
#include "runtime/number.h"
#include "runtime/text.h"

#include <charconv>

namespace calc {

namespace {

// The word as decimal text must lie in 0..2147483647.
void requireWordInRange(std::string_view decimal)
{
    std::int64_t word = -1;
    const auto r = std::from_chars(decimal.data(), decimal.data() + decimal.size(), word);
    const bool ok = r.ec == std::errc() && r.ptr == decimal.data() + decimal.size() && word >= 0 &&
                    word <= std::int64_t(maxWord);
    if (!ok)
        atStage(Stage::WordRange, [] { rt::raiseOverflow(); });
}

} // namespace

void renderResultLine(const CalcState& state, std::string_view F, std::string_view modeshow,
                      std::string& line)
{
    // 1: the nearest whole number, by the format pattern held in temp1.
    std::string hexword = rt::formatNumber(state.temp, rt::toText(state.temp1));
    requireWordInRange(hexword);

    // 2: its hexadecimal digits.
    hexword = rt::hex(hexword);

    // 3: zero-padded to eight digits.
    const std::int16_t padcount =
        rt::sub16(8, static_cast<std::int16_t>(rt::length(hexword)));
    for (std::int16_t i = 1; i <= padcount; ++i)
        hexword.insert(hexword.begin(), '0');

    // 4-5: the byte list, built in place after the opening brace; the comma
    // after the last byte is dropped.
    line.clear();
    line += '{';
    const std::size_t bytelistStart = line.size();
    for (std::int16_t j = 1; j <= 8;) {
        const std::int16_t start = state.mode2 == Serial ? rt::sub16(8, j) : j;
        line += "0x";
        line += rt::substring(hexword, start, 2);
        line += ',';
        j = rt::add16(j, 1);
        j = rt::add16(j, 1);
    }
    const std::int32_t bytelistLength = static_cast<std::int32_t>(line.size() - bytelistStart);
    line.resize(bytelistStart + std::size_t(rt::sub32(bytelistLength, 1)));

    // 6: close the list and add the comment.
    line += "},//";
    line += F;
    line += modeshow;
}

std::string renderResultLine(const CalcState& state, std::string_view F, std::string_view modeshow)
{
    std::string line;
    renderResultLine(state, F, modeshow, line);
    return line;
}

} // namespace calc
