#pragma once
// Helpers shared by the tests of calc/.

#include "calc/errors.h"
#include "calc/text_format.h"
#include "calc/tuner.h"

#include <optional>
#include <string>
#include <string_view>

namespace calc::test {

// The problem a call raises, or nothing when it returns.
inline std::optional<Problem> problemOf(auto&& call)
{
    try {
        call();
    } catch (const CalcError& e) {
        return e.problem();
    }
    return std::nullopt;
}

// Settings at the window's crystal, for a unit and a data mode.
inline TunerSettings settings(std::int16_t unit, std::int16_t mode = Serial)
{
    TunerSettings s;
    s.unit = unit;
    s.mode = mode;
    return s;
}

// The byte list of a frequency's word, or of its whole load.
inline std::string lineOf(const Tuner& tuner, std::string_view frequency, bool load)
{
    const Tuned t = tuner.tune(frequency);
    std::string out;
    if (load)
        appendByteList(out, tuner.loadBytes(t.word));
    else
        appendByteList(out, tuner.wordBytes(t.word));
    return out;
}

} // namespace calc::test
