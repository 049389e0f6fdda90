#include "calc/window_word.h"

#include "calc/errors.h"
#include "calc/limits.h"
#include "calc/units.h"
#include "runtime/number.h"
#include "runtime/rounding.h"

#include <cmath>

namespace calc {

double readWindowFrequency(std::string_view frequency)
{
    const double value = rt::textToDouble(frequency);
    if (!std::isfinite(value))
        throw CalcError(Problem::FrequencyUnreadable);
    return value;
}

double windowHz(double frequency, std::int16_t mode1)
{
    const auto factor = unitFactor(mode1);
    return factor ? frequency * double(*factor) : frequency;
}

// The numerator 2^32 x Hz and the denominator 10^6 x (6 x crystal) are
// both exact, so the one division is the only rounding.
double windowUnroundedWord(double hz, std::int16_t crystalMHz)
{
    const double numerator = 4294967296.0 * hz;
    const double denominator = 1e6 * double(6 * crystalMHz);
    return numerator / denominator;
}

// An infinite temp takes the same way: minus infinity is negative, plus
// infinity too high.
std::uint32_t windowRoundedWord(double temp, std::int16_t crystalMHz, std::int16_t mode1)
{
    const double word = rt::roundHalfAwayFromZero(temp);
    if (word < 0)
        throw CalcError(Problem::FrequencyNegative);
    if (!(word <= maxWord))
        throw CalcError(Problem::FrequencyTooHigh, windowFrequencyLimit(crystalMHz, mode1));
    return static_cast<std::uint32_t>(word);
}

std::uint32_t windowWord(double hz, std::int16_t crystalMHz, std::int16_t mode1)
{
    return windowRoundedWord(windowUnroundedWord(hz, crystalMHz), crystalMHz, mode1);
}

std::string windowFrequencyLimit(std::int16_t crystalMHz, std::int16_t mode1)
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
        const double hz = windowHz(rt::textToDouble(text), mode1);
        if (rt::roundHalfAwayFromZero(windowUnroundedWord(hz, crystalMHz)) <= maxWord)
            return text + " " + std::string(unitCaption(mode1).value_or("Hz"));
    }
}

double windowActualHz(std::uint32_t word, std::int16_t crystalMHz)
{
    // word x clock in MHz, split at 2^32 so that each part scales to Hz
    // with one rounding.
    const std::uint64_t clockMHz = std::uint64_t(crystalMHz) * 6;
    const std::uint64_t product = std::uint64_t(word) * clockMHz;
    return double(product >> 32) * 1e6 + double(product & 0xFFFFFFFFu) * 1e6 / 4294967296.0;
}

} // namespace calc
