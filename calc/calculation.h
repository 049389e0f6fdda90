#pragma once
// The calculation behind the calculate button: the texts and selections in,
// the tuning word and its result line out, with the window's state filled
// on the way.  The arithmetic itself is in calc/window_word.h.

#include "calc/state.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace calc {

// What a calculation reads, in the order the window reads its controls:
// the frequency box, the crystal box, the frequency box again for the
// comment and the unit label's caption.
struct Texts {
    std::string_view frequency;
    std::string_view crystal;
    std::string_view comment;
    std::string_view unitCaption;
};

// Reads the texts, fills state.F1, F0, Fc1 and temp, and appends the result
// line to `out`; returns the word.  state.mode1 selects the unit and
// state.mode2 the byte order.
//
// Throws CalcError for the first problem in this order: a crystal outside
// 1..5461 MHz, a frequency beyond the double range, a word of 2^31 or more
// or below zero.  Nothing is added to `out` then.  The state keeps what was
// read before the problem showed: F1 and F0 once the frequency is read,
// Fc1 once the crystal is read (where it fits in 16 bits), temp only when
// the unrounded word is known.
std::uint32_t calculate(CalcState& state, const Texts& texts, std::string& out);

} // namespace calc
