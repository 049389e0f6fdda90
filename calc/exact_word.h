#pragma once
// The tuning word in exact arithmetic, for any system clock:
//     word = frequency (Hz) x 2^32 / system clock (Hz)
// with no rounding on the way, then rounded to nearest (an exact half up)
// or down.

#include "calc/clock.h"
#include "calc/exact_number.h"
#include "runtime/number.h"

#include <cstdint>
#include <string>

namespace calc {

enum class Rounding : std::uint8_t { NearestHalfUp, Down };

struct ExactWord {
    std::uint32_t word = 0;
    ExactNumber frequency; // as read, in the unit given
};

// `frequency` is in the unit of `mode1`.  Throws CalcError:
// FrequencyTooHigh (with the highest accepted frequency) for a word of 2^31
// or more, FrequencyNegative for a word below zero.
ExactWord exactTuningWord(const rt::WrittenNumber& frequency, std::int16_t mode1, const SystemClock& clock,
                          Rounding rounding);

// The highest frequency accepted at this clock, in the unit of mode1, to
// the mHz, with the unit caption.
std::string exactFrequencyLimit(const SystemClock& clock, std::int16_t mode1, Rounding rounding);

} // namespace calc
