#pragma once
// The steps of a calculation at which an error can arise.  Errors leaving
// the calculation carry the step as their stage label.

#include "runtime/errors.h"

#include <cstdint>

namespace calc {

enum class Stage : std::uint8_t {
    Unlabelled = 0,
    ReadFrequency,   // the frequency text holds a number beyond the double range
    ReadCrystal,     // the crystal text does not round into -32768..32767
    ScaleUnit,       // frequency x unit factor overflows
    Numerator,       // 2^32 x frequency overflows
    Clock,           // 6 x crystal does not fit in 16 bits
    Quotient,        // the division by the clock fails (crystal rounds to 0)
    WordRange,       // the rounded word lies outside 0..2147483647
};

inline Stage stageOf(const rt::Error& error) noexcept { return Stage(error.stage()); }

// Runs one step, labelling any runtime error that leaves it with `stage`.
template <class Step>
decltype(auto) atStage(Stage stage, Step&& step)
{
    try {
        return step();
    } catch (rt::Error& error) {
        error.setStage(static_cast<std::uint8_t>(stage));
        throw;
    }
}

} // namespace calc
