#include "calc/tuner.h"

#include "calc/result_line.h"
#include "calc/window_word.h"
#include "runtime/number.h"

namespace calc {

Tuner::Tuner(const TunerSettings& settings)
    : settings_(settings),
      clock_(systemClock(settings.clock)),
      control_{settings.phaseSteps, settings.powerDown, clock_.multiplier},
      caption_(calc::unitCaption(settings.unit).value_or(""))
{
}

Tuned Tuner::tune(std::string_view frequency) const
{
    Tuned t;
    if (!isExact()) {
        t.requestedHz = windowHz(readWindowFrequency(frequency), settings_.unit);
        t.word = windowWord(t.requestedHz, clock_.crystalMHz, settings_.unit);
        return t;
    }
    const ExactWord w = exactTuningWord(rt::readWrittenNumber(frequency), settings_.unit, clock_, settings_.rounding);
    t.word = w.word;
    t.exact = w.frequency;
    return t;
}

std::array<std::uint8_t, 4> Tuner::wordBytes(std::uint32_t word) const noexcept
{
    return calc::wordBytes(word, settings_.mode);
}

std::array<std::uint8_t, 5> Tuner::loadBytes(std::uint32_t word) const noexcept
{
    return calc::loadBytes(control_, word, settings_.mode);
}

WordDetails Tuner::details(const Tuned& tuned) const
{
    return isExact() ? exactWordDetails(tuned.word, clock_, tuned.exact, settings_.unit)
                     : windowWordDetails(tuned.word, clock_.crystalMHz, tuned.requestedHz);
}

bool Tuner::aboveOutputShare(const Tuned& tuned) const
{
    // frequency x 100 > share x clock, compared as whole numbers.
    const std::uint64_t share = outputSharePercent(clock_.chip);
    if (!isExact()) {
        const double clockHz = double(clock_.crystalMHz) * 6e6;
        return tuned.requestedHz * 100 > double(share) * clockHz;
    }
    const ExactNumber& f = tuned.exact;
    if (f.negative)
        return false;
    const auto unit = std::uint64_t(unitPowerOfTen(settings_.unit));
    const rt::BigInt left = f.numerator * rt::powerOfTen(unit + 2) * clock_.denominator();
    const rt::BigInt right = clock_.numerator * share * f.denominator();
    return left > right;
}

} // namespace calc
