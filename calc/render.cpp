#include "calc/render.h"

#include "calc/stage.h"
#include "calc/units.h"
#include "runtime/errors.h"
#include "runtime/number.h"
#include "runtime/text.h"

#include <algorithm>

namespace calc {

namespace {

// The rounded word must lie in 0..2147483647.  Rounding takes an exact half
// away from zero, so that is the unrounded word in (-0.5, 2147483647.5).
void requireWordInRange(double temp)
{
    if (!(temp > -0.5 && temp < maxWord + 0.5)) // also catches NaN
        atStage(Stage::WordRange, [] { rt::raiseOverflow(); });
}

} // namespace

void appendResultLine(const CalcState& state, std::string_view F, std::string_view modeshow,
                      std::string& out)
{
    requireWordInRange(state.temp);

    // 1: the nearest whole number, by the format pattern held in temp1.
    std::string hexword = rt::formatNumber(state.temp, rt::toText(state.temp1));

    // 2: its hexadecimal digits.
    hexword = rt::hex(hexword);

    // 3: zero-padded to eight digits: one "0" in front per count.  The
    // padded text is short and lives on the stack.
    const std::int16_t padcount =
        rt::sub16(8, static_cast<std::int16_t>(rt::length(hexword)));
    const std::size_t zeros = padcount >= 1 ? std::size_t(padcount) : 0;
    char paddedText[8 + 16]; // a 64-bit number has at most 16 hex digits
    std::fill_n(paddedText, zeros, '0');
    hexword.copy(paddedText + zeros, hexword.size());
    const std::string_view padded(paddedText, zeros + hexword.size());

    // 4-5: the byte list, "0x" and two digits and a comma per byte; the
    // comma after the last byte is dropped.  It is short, so it is put
    // together on the stack.
    char bytelist[4 * 5];
    std::int32_t used = 0;
    for (std::int16_t j = 1; j <= 8;) {
        const std::int16_t start = state.mode2 == Serial ? rt::sub16(8, j) : j;
        const std::string_view piece = rt::substring(padded, start, 2);
        bytelist[used++] = '0';
        bytelist[used++] = 'x';
        piece.copy(bytelist + used, piece.size());
        used += static_cast<std::int32_t>(piece.size());
        bytelist[used++] = ',';
        j = rt::add16(j, 1);
        j = rt::add16(j, 1);
    }
    const std::string_view withoutLastComma(bytelist, std::size_t(rt::sub32(used, 1)));

    // 6: braces and the comment.
    out += '{';
    out += withoutLastComma;
    out += "},//";
    out += F;
    out += modeshow;
}

void renderResultLine(const CalcState& state, std::string_view F, std::string_view modeshow,
                      std::string& line)
{
    requireWordInRange(state.temp); // before the line is touched
    line.clear();
    appendResultLine(state, F, modeshow, line);
}

std::string renderResultLine(const CalcState& state, std::string_view F, std::string_view modeshow)
{
    std::string line;
    renderResultLine(state, F, modeshow, line);
    return line;
}

} // namespace calc
