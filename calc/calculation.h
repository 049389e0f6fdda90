#pragma once
// The calculation behind the calculate button, shared by every front end:
// the texts and selections in, the tuning word and its result line out.
//
//     temp = F1 (Hz) x 2^32 / (10^6 x 6 x Fc1 (MHz)),  rounded to the word
//
// evaluated in double precision exactly in this order, because that is what
// decides the words people have in their firmware.

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

// The same without the line: reads the texts, fills the state and returns
// the word, or throws as calculate does.
std::uint32_t computeWord(CalcState& state, std::string_view frequency, std::string_view crystal);

// The same for a crystal already read by readCrystalMHz, for callers that
// compute many words at one crystal.
std::uint32_t computeWord(CalcState& state, std::string_view frequency, std::int16_t crystalMHz);

// The crystal text in whole MHz, an exact half going to the even
// neighbour; CalcError (CrystalOutOfRange) unless it is 1..5461.
std::int16_t readCrystalMHz(std::string_view crystal);

// The highest frequency whose word still fits in 31 bits with this
// crystal, in the unit of `mode1`, to the mHz, with the unit caption:
// "59999999.986 Hz" for 20 MHz.
std::string highestAcceptedFrequency(std::int16_t crystalMHz, std::int16_t mode1);

} // namespace calc
