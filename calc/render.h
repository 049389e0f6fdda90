#pragma once
// The result line: the rounded tuning word as four byte literals, ordered by
// the data mode, and a comment repeating the frequency as typed with its
// unit, ready to paste into firmware:
//     {0x1A,0x76,0x05,0x00},//10KHz
// Serial (mode2 == 0) lists the least significant byte first, any other
// mode the most significant byte first.

#include "calc/state.h"

#include <string>
#include <string_view>

namespace calc {

// Writes the line for state.temp and state.mode2 into `line`, replacing
// what it held (its capacity is reused).  `F` is the frequency text and
// `modeshow` the unit caption, both copied unchanged.
//
// Raises rt::OverflowError (stage WordRange) when the rounded word lies
// outside 0..2147483647: a negative word or one at or above half the system
// clock would make the chip produce another frequency.  `line` is left as
// it was when the word is rejected.
void renderResultLine(const CalcState& state, std::string_view F, std::string_view modeshow,
                      std::string& line);

std::string renderResultLine(const CalcState& state, std::string_view F, std::string_view modeshow);

// The same line added to the end of `out`, for callers that collect many
// lines in one buffer; nothing is added when it raises.
void appendResultLine(const CalcState& state, std::string_view F, std::string_view modeshow,
                      std::string& out);

// The largest tuning word the line is written for.
inline constexpr double maxWord = 2147483647.0;

} // namespace calc
