#pragma once
// What went wrong in a calculation, in terms of the input the user has to
// fix.  The window and the command line word it in their own language.

#include "calc/state.h"
#include "runtime/errors.h"

#include <cstdint>
#include <string>

namespace calc {

inline constexpr int minCrystalMHz = 1;
inline constexpr int maxCrystalMHz = 5461; // 6 x 5461 = 32766 still fits in 16 bits

enum class Problem : std::uint8_t {
    CrystalOutOfRange,  // rounds to a whole MHz outside 1..5461
    FrequencyTooHigh,   // the word would reach half the system clock (or the number is huge)
    FrequencyNegative,  // the word would be negative
    Unexpected,         // an error the calculation does not label
};

struct Diagnosis {
    Problem problem = Problem::Unexpected;
    // For FrequencyTooHigh with a usable crystal: half the system clock in
    // the selected unit, with its caption ("60 MHz", "60000 KHz"); empty
    // when the crystal is not known to be usable.
    std::string halfClock;
};

// `state` is the calculation state as the error left it.
Diagnosis diagnose(const rt::Error& error, const CalcState& state);

} // namespace calc
