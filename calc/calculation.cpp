#include "calc/calculation.h"

#include "calc/crystal.h"
#include "calc/errors.h"
#include "calc/result_line.h"
#include "calc/window_word.h"
#include "runtime/number.h"

#include <cmath>
#include <cstdint>

namespace calc {

namespace {

// Reads the texts into the state and returns the word, or throws.
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
    const double crystal = crystalWholeMHz(crystalText);
    if (readable && crystal >= INT16_MIN && crystal <= INT16_MAX)
        state.Fc1 = static_cast<std::int16_t>(crystal);
    if (!isUsableCrystal(crystal))
        throw CalcError(Problem::CrystalOutOfRange);
    if (!readable)
        throw CalcError(Problem::FrequencyUnreadable);

    state.F1 = windowHz(state.F1, state.mode1);
    const double temp = windowUnroundedWord(state.F1, state.Fc1);
    if (!std::isinf(temp))
        state.temp = temp;
    return windowRoundedWord(temp, state.Fc1, state.mode1);
}

} // namespace

std::uint32_t calculate(CalcState& state, const Texts& texts, std::string& out)
{
    const std::uint32_t word = computeWord(state, texts.frequency, texts.crystal);
    appendResultLine(out, word, state.mode2, texts.comment, texts.unitCaption);
    return word;
}

} // namespace calc
