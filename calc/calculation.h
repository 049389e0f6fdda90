#pragma once
// The whole calculation behind the calculate button, for callers that do
// not keep a window: selections in, result line out.

#include "calc/state.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace calc {

// Sets state.mode1 and state.mode2, computes the tuning word from `F` and
// `Fc` and writes the result line into `line`.  Raises what
// computeTuningWord and renderResultLine raise; `line` is then left as it was.
void calculate(CalcState& state, std::string_view F, std::string_view Fc, std::int16_t mode1,
               std::int16_t mode2, std::string_view modeshow, std::string& line);

std::string calculate(CalcState& state, std::string_view F, std::string_view Fc,
                      std::int16_t mode1, std::int16_t mode2, std::string_view modeshow);

} // namespace calc
