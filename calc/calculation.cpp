#include "calc/calculation.h"

#include "calc/errors.h"
#include "calc/limits.h"
#include "calc/result_line.h"
#include "calc/units.h"
#include "runtime/number.h"
#include "runtime/rounding.h"

#include <cmath>
#include <cstdint>

namespace calc {

namespace {

// The frequency in Hz, multiplied in double precision; an index outside
// the unit table applies no factor.
double toHz(double frequency, std::int16_t mode1)
{
    const auto factor = unitFactor(mode1);
    return factor ? frequency * double(*factor) : frequency;
}

// The numerator 2^32 x Hz and the denominator 10^6 x (6 x crystal) are
// both exact, so the one division is the only rounding.  Infinite when the
// numerator overflows.
double unroundedWord(double hz, std::int16_t crystalMHz)
{
    const double numerator = 4294967296.0 * hz;
    const double denominator = 1e6 * double(6 * crystalMHz);
    return numerator / denominator;
}

bool isUsableCrystal(double wholeMHz) { return wholeMHz >= minCrystalMHz && wholeMHz <= maxCrystalMHz; }

// The unrounded word as a word: an exact half goes away from zero, and the
// result must lie in 0..2^31-1.
std::uint32_t roundWord(double temp, std::int16_t crystalMHz, std::int16_t mode1)
{
    const double word = rt::roundHalfAwayFromZero(temp);
    if (word < 0)
        throw CalcError(Problem::FrequencyNegative);
    if (!(word <= maxWord))
        throw CalcError(Problem::FrequencyTooHigh, highestAcceptedFrequency(crystalMHz, mode1));
    return static_cast<std::uint32_t>(word);
}

// The rest of a calculation once F1 and Fc1 are read and the crystal is
// known to be usable: scale to Hz, divide, round.
std::uint32_t wordFromReadInputs(CalcState& state)
{
    state.F1 = toHz(state.F1, state.mode1);
    const double temp = unroundedWord(state.F1, state.Fc1);
    if (std::isinf(temp))
        throw CalcError(temp < 0 ? Problem::FrequencyNegative : Problem::FrequencyTooHigh,
                        temp < 0 ? std::string() : highestAcceptedFrequency(state.Fc1, state.mode1));
    state.temp = temp;
    return roundWord(state.temp, state.Fc1, state.mode1);
}

} // namespace

std::int16_t readCrystalMHz(std::string_view crystal)
{
    const double wholeMHz = rt::roundHalfToEven(rt::textToDouble(crystal));
    if (!isUsableCrystal(wholeMHz))
        throw CalcError(Problem::CrystalOutOfRange);
    return static_cast<std::int16_t>(wholeMHz);
}

std::string highestAcceptedFrequency(std::int16_t crystalMHz, std::int16_t mode1)
{
    // Words below 2^31 - 1/2 round into range: the frequency must stay below
    // (2^32 - 1) x clock / 2^33.  Start from that bound, cut to the mHz,
    // and step down until the window's own arithmetic accepts the value.
    const std::uint64_t bound = ((std::uint64_t(1) << 32) - 1) * std::uint64_t(6 * crystalMHz);
    constexpr std::uint64_t milliHzPerMHz = 1'000'000'000;
    constexpr std::uint64_t low33 = (std::uint64_t(1) << 33) - 1;
    std::uint64_t milliHz = (bound >> 33) * milliHzPerMHz + (((bound & low33) * milliHzPerMHz) >> 33);
    for (;; --milliHz) {
        const std::string text = formatMilliHz(milliHz, mode1);
        const double hz = toHz(rt::textToDouble(text), mode1);
        if (rt::roundHalfAwayFromZero(unroundedWord(hz, crystalMHz)) <= maxWord)
            return text + " " + std::string(unitCaption(mode1).value_or("Hz"));
    }
}

std::uint32_t calculate(CalcState& state, const Texts& texts, std::string& out)
{
    const std::uint32_t word = computeWord(state, texts.frequency, texts.crystal);
    appendResultLine(out, word, state.mode2, texts.comment, texts.unitCaption);
    return word;
}

std::uint32_t computeWord(CalcState& state, std::string_view frequencyText, std::string_view crystalText)
{
    const double frequency = rt::textToDouble(frequencyText);
    const bool readable = std::isfinite(frequency);
    if (readable) {
        state.F1 = frequency;
        state.F0 = frequency;
    }

    // The crystal is judged before anything is computed, so that a wrong
    // crystal is always the problem named, whatever the frequency.
    const double crystal = rt::roundHalfToEven(rt::textToDouble(crystalText));
    if (readable && crystal >= INT16_MIN && crystal <= INT16_MAX)
        state.Fc1 = static_cast<std::int16_t>(crystal);
    if (!isUsableCrystal(crystal))
        throw CalcError(Problem::CrystalOutOfRange);
    if (!readable)
        throw CalcError(Problem::FrequencyUnreadable);

    return wordFromReadInputs(state);
}

std::uint32_t computeWord(CalcState& state, std::string_view frequencyText, std::int16_t crystalMHz)
{
    const double frequency = rt::textToDouble(frequencyText);
    if (!std::isfinite(frequency))
        throw CalcError(Problem::FrequencyUnreadable);
    state.F1 = frequency;
    state.F0 = frequency;
    state.Fc1 = crystalMHz;
    return wordFromReadInputs(state);
}

} // namespace calc
