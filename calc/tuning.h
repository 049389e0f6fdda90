#pragma once
// The frequency tuning word of an AD9851 whose system clock is six times
// the crystal frequency:
//     temp = F1 (Hz) x 2^32 / (6 x Fc1 (MHz) x 10^6)

#include "calc/state.h"

#include <string_view>

namespace calc {

// Reads the frequency text `F` and the crystal text `Fc` (in MHz), scales
// the frequency to Hz by state.mode1 and leaves the unrounded tuning word in
// state.temp; F1, F0 and Fc1 are updated on the way.
//
// Raises rt::OverflowError or rt::FloatingPointError, labelled with the
// calc::Stage at which it arose.  Fields written before the failing step
// keep their new values; temp keeps its old value unless the final division
// itself fails, when it holds the faulty quotient.
void computeTuningWord(CalcState& state, std::string_view F, std::string_view Fc);

} // namespace calc
