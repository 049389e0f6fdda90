#pragma once
// What the chip makes of a tuning word: the frequency it actually puts out
// and how far that lies from the one asked for.

#include "calc/state.h"

#include <cstdint>

namespace calc {

struct WordDetails {
    std::int64_t word = 0;             // the rounded tuning word
    std::int64_t actualMilliHz = 0;    // word x system clock / 2^32, to the nearest mHz
    double deviationHz = 0.0;          // actual minus requested frequency, in Hz
};

// For a state left by a successful calculation (temp holds a word in
// 0..2147483647, Fc1 a usable crystal, F1 the frequency in Hz).  The actual
// frequency is worked out in whole numbers, so it is exact to the mHz.
WordDetails wordDetails(const CalcState& state);

} // namespace calc
