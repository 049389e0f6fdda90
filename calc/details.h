#pragma once
// What the chip makes of a tuning word: the frequency it actually puts out,
// how far that lies from the one asked for, and the frequency step of the
// clock.

#include "calc/clock.h"
#include "calc/exact_number.h"

#include <cstdint>
#include <string>

namespace calc {

struct WordDetails {
    std::uint32_t word = 0;
    std::uint64_t actualMilliHz = 0; // word x clock / 2^32, to the nearest mHz
    double deviationHz = 0.0;        // actual minus requested frequency, in Hz
    std::uint64_t stepMicroHz = 0;   // clock / 2^32, to the nearest µHz
};

// steps x clock / 2^32 in mHz, rounded to nearest: the frequency of a
// whole number of the clock's steps.
std::uint64_t stepsMilliHz(std::uint64_t steps, const SystemClock& clock);

// word x clock / 2^32 in mHz, rounded to nearest: what the chip puts out.
inline std::uint64_t actualMilliHz(std::uint32_t word, const SystemClock& clock) { return stepsMilliHz(word, clock); }

// For a word made with the window's arithmetic at a whole-MHz crystal
// times six: the deviation is the actual frequency less the requested one
// in Hz (`requestedHz`, F1), in double precision as the window would see it.
WordDetails windowWordDetails(std::uint32_t word, std::int16_t crystalMHz, double requestedHz);

// For an exact word: the deviation too is exact, to the mHz.  `requested`
// is in the unit of mode1.
WordDetails exactWordDetails(std::uint32_t word, const SystemClock& clock, const ExactNumber& requested,
                             std::int16_t mode1);

} // namespace calc
