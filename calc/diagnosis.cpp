#include "calc/diagnosis.h"

#include "calc/stage.h"
#include "calc/units.h"
#include "runtime/text.h"

namespace calc {

namespace {

bool crystalUsable(std::int16_t Fc1) noexcept { return Fc1 >= minCrystalMHz && Fc1 <= maxCrystalMHz; }

// Half of 6 x Fc1 MHz, in the unit of mode1 (Hz outside the unit table).
std::string halfClockText(const CalcState& state)
{
    const std::int64_t halfClockHz = std::int64_t(state.Fc1) * 3'000'000;
    const std::int64_t factor = static_cast<std::int64_t>(unitFactor(state.mode1));
    const std::string_view caption = unitCaption(state.mode1).value_or("Hz");
    return rt::toText(halfClockHz / factor) + " " + std::string(caption);
}

} // namespace

Diagnosis diagnose(const rt::Error& error, const CalcState& state)
{
    Diagnosis d;
    switch (stageOf(error)) {
    case Stage::ReadCrystal:
    case Stage::Clock:
    case Stage::Quotient:
        d.problem = Problem::CrystalOutOfRange;
        break;
    case Stage::ReadFrequency:
    case Stage::ScaleUnit:
    case Stage::Numerator:
        d.problem = Problem::FrequencyTooHigh;
        break;
    case Stage::WordRange:
        if (state.temp >= 0)
            d.problem = Problem::FrequencyTooHigh;
        else
            d.problem = state.Fc1 < 0 ? Problem::CrystalOutOfRange : Problem::FrequencyNegative;
        break;
    case Stage::Unlabelled:
        d.problem = Problem::Unexpected;
        break;
    }
    // The crystal is read at step 3; before that Fc1 still holds the
    // previous calculation's value, so only quote a limit once it is read.
    const bool crystalRead = stageOf(error) != Stage::ReadFrequency;
    if (d.problem == Problem::FrequencyTooHigh && crystalRead && crystalUsable(state.Fc1))
        d.halfClock = halfClockText(state);
    return d;
}

} // namespace calc
