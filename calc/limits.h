#pragma once
// The bounds every calculation checks its inputs against.

#include <cstdint>

namespace calc {

// The crystal in whole MHz.  Six times the crystal must fit in 16 bits:
// that is where the 5461 MHz limit comes from.
inline constexpr int minCrystalMHz = 1;
inline constexpr int maxCrystalMHz = 5461;

// The largest tuning word: the chip adds the word to a 32-bit phase, and a
// word of 2^31 or more makes it put out the clock minus the wanted frequency.
inline constexpr std::uint32_t maxWord = 2147483647;

} // namespace calc
