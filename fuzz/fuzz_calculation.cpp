// Every input gives a result line that matches the line grammar, or one of
// the calculation's input errors; nothing else (no other exception, no crash,
// no undefined behaviour under the sanitizers).
//
// Input layout: unit byte, mode byte, then the frequency text and the
// crystal text separated by a NUL byte.

#include "calc/calculation.h"
#include "calc/errors.h"
#include "calc/units.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

bool isHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'); }

bool matchesGrammar(std::string_view line, std::string_view F, std::string_view caption)
{
    // {0xHH,0xHH,0xHH,0xHH},//F caption
    if (line.size() != 24 + F.size() + caption.size() || line[0] != '{')
        return false;
    for (std::size_t b = 0; b < 4; ++b) {
        const std::string_view byte = line.substr(1 + b * 5, 5);
        if (byte[0] != '0' || byte[1] != 'x' || !isHexDigit(byte[2]) || !isHexDigit(byte[3]) ||
            byte[4] != (b < 3 ? ',' : '}'))
            return false;
    }
    return line.substr(21, 3) == ",//" && line.substr(24, F.size()) == F && line.substr(24 + F.size()) == caption;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    // Unit indexes outside the table are allowed too: they apply no factor.
    const auto mode1 = static_cast<std::int16_t>(static_cast<std::int8_t>(data[0]) % 4);
    const auto mode2 = static_cast<std::int16_t>(data[1] % 3);
    const std::string_view rest(reinterpret_cast<const char*>(data + 2), size - 2);
    const std::size_t split = rest.find('\0');
    const std::string_view F = rest.substr(0, split);
    const std::string_view Fc = split == std::string_view::npos ? "20" : rest.substr(split + 1);
    const std::string_view caption = calc::unitCaption(mode1).value_or("");

    calc::CalcState state;
    state.mode1 = mode1;
    state.mode2 = mode2;
    std::string line;
    try {
        calc::calculate(state, {F, Fc, F, caption}, line);
        if (!matchesGrammar(line, F, caption))
            std::abort();
    } catch (const calc::CalcError& e) {
        // A refused word must have a reason that holds.
        const bool tooHighWithoutLimit = e.problem() == calc::Problem::FrequencyTooHigh && e.limit().empty();
        if (!line.empty() || tooHighWithoutLimit)
            std::abort();
    }
    return 0;
}
