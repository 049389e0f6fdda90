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
    // f.numerator x 10^(unit + 2) x 10^clock.fractionDigits against
    // share x clock.numerator x 10^f.fractionDigits: in 128 bits where
    // both sides fit, in big numbers otherwise.
    const auto scale = std::uint64_t(unitPowerOfTen(settings_.unit)) + 2 + clock_.fractionDigits;
    const auto frequency = rt::toUint128(f.numerator), power = rt::powerOfTen128(scale);
    const auto clock = rt::toUint128(clock_.numerator), denominator = rt::powerOfTen128(f.fractionDigits);
    if (frequency && power && clock && denominator) {
        const auto left = rt::product128(*frequency, *power);
        const auto clockShare = rt::product128(*clock, share);
        const auto right = clockShare ? rt::product128(*clockShare, *denominator) : std::nullopt;
        if (left && right)
            return *left > *right;
    }
    return f.numerator * rt::powerOfTen(scale) > clock_.numerator * share * f.denominator();
}

} // namespace calc
