#pragma once
// What can be wrong with the inputs of a calculation, said in terms of the
// input the user has to fix.  The window and the command line word each
// problem in their own language.

#include <cstdint>
#include <stdexcept>
#include <string>

namespace calc {

enum class Problem : std::uint8_t {
    CrystalOutOfRange,   // the crystal does not round to 1..5461 whole MHz
    FrequencyUnreadable, // the frequency text is a number beyond the double range
    FrequencyTooHigh,    // the word would reach 2^31: half the system clock or more
    FrequencyNegative,   // the word would be negative
    InvalidSetting,      // a clock or control setting is not usable (detail says which)
    InvalidWord,         // a word or byte list to decode is not one (detail says why)
};

class CalcError : public std::runtime_error {
public:
    // `detail`: for FrequencyTooHigh the highest accepted frequency in the
    // selected unit with its caption ("59999999.986 Hz"); for
    // InvalidSetting and InvalidWord what is wrong, in English.
    explicit CalcError(Problem problem, std::string detail = {});
    Problem problem() const noexcept { return problem_; }
    const std::string& limit() const noexcept { return detail_; }

private:
    Problem problem_;
    std::string detail_;
};

} // namespace calc
