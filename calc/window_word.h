#pragma once
// The window's arithmetic, in double precision exactly as the window does
// it, because that is what decides the words people have in their firmware:
//
//     temp = F1 (Hz) x 2^32 / (10^6 x 6 x Fc1 (MHz)),  rounded to the word
//
// Pure functions: the window's calculation and the command line's words at
// the window's crystal both come from here.

#include <cstdint>
#include <string>
#include <string_view>

namespace calc {

// The frequency text read as a double; CalcError (FrequencyUnreadable) for
// a number beyond the double range.
double readWindowFrequency(std::string_view frequency);

// The frequency in Hz: times 1, 1000 or 10^6 by the unit of mode1, in
// double precision; an index outside the unit table applies no factor.
double windowHz(double frequency, std::int16_t mode1);

// temp: the unrounded word for a frequency in Hz and a whole-MHz crystal
// times six.  Infinite when 2^32 x Hz overflows.
double windowUnroundedWord(double hz, std::int16_t crystalMHz);

// temp rounded to the word, an exact half away from zero.  Throws CalcError:
// FrequencyNegative below zero, FrequencyTooHigh (with the limit in the
// unit of mode1) at 2^31 or more.
std::uint32_t windowRoundedWord(double temp, std::int16_t crystalMHz, std::int16_t mode1);

// Both steps: the word for a frequency in Hz.
std::uint32_t windowWord(double hz, std::int16_t crystalMHz, std::int16_t mode1);

// The highest frequency whose word the window still accepts with this
// crystal, in the unit of mode1, to the mHz, with the unit caption:
// "59999999.986 Hz" for 20 MHz.
std::string windowFrequencyLimit(std::int16_t crystalMHz, std::int16_t mode1);

// The frequency a word puts out, in double precision as the window would
// compute it: word x 6 x crystal in MHz / 2^32, in Hz.
double windowActualHz(std::uint32_t word, std::int16_t crystalMHz);

} // namespace calc
