#include "calc/details.h"

#include "calc/units.h"
#include "calc/window_word.h"

namespace calc {

namespace {

// clock / 2^32 = clock.numerator / perCycle(clock)
rt::BigInt perCycle(const SystemClock& clock) { return clock.denominator() << 32; }

WordDetails commonDetails(std::uint32_t word, const SystemClock& clock)
{
    WordDetails d;
    d.word = word;
    d.actualMilliHz = actualMilliHz(word, clock);
    d.stepMicroHz = static_cast<std::uint64_t>(rt::roundedQuotient(clock.numerator * 1'000'000, perCycle(clock)));
    return d;
}

} // namespace

std::uint64_t stepsMilliHz(std::uint64_t steps, const SystemClock& clock)
{
    return static_cast<std::uint64_t>(rt::roundedQuotient(clock.numerator * rt::BigInt(steps) * 1000, perCycle(clock)));
}

WordDetails windowWordDetails(std::uint32_t word, std::int16_t crystalMHz, double requestedHz)
{
    // The clock is a whole number of MHz below 2^15, so both exact values
    // fit 64 bits: word x clock in MHz is split at 2^32, and each part
    // scales to mHz with the remainder rounded half up.
    constexpr std::uint64_t half = std::uint64_t(1) << 31;
    const std::uint64_t clockMHz = std::uint64_t(crystalMHz) * 6;
    const std::uint64_t product = std::uint64_t(word) * clockMHz;
    WordDetails d;
    d.word = word;
    d.actualMilliHz = (product >> 32) * 1'000'000'000 + (((product & 0xFFFFFFFFu) * 1'000'000'000 + half) >> 32);
    d.stepMicroHz = (clockMHz * 1'000'000'000'000 + half) >> 32;
    d.deviationHz = windowActualHz(word, crystalMHz) - requestedHz;
    return d;
}

WordDetails exactWordDetails(std::uint32_t word, const SystemClock& clock, const ExactNumber& requested,
                             std::int16_t mode1)
{
    WordDetails d = commonDetails(word, clock);
    // actual - requested over the common denominator 10^clock.fractionDigits
    // x 2^32 x 10^requested.fractionDigits, in mHz.
    const auto unit = std::uint64_t(unitPowerOfTen(mode1));
    const rt::BigInt den = (clock.denominator() * requested.denominator()) << 32;
    const rt::BigInt actual = clock.numerator * word * requested.denominator() * 1000;
    const rt::BigInt wanted = ((requested.numerator * rt::powerOfTen(unit + 3)) * clock.denominator()) << 32;
    const bool below = requested.negative ? false : actual < wanted;
    const rt::BigInt difference = requested.negative ? actual + wanted : below ? wanted - actual : actual - wanted;
    const auto milliHz = static_cast<double>(static_cast<std::uint64_t>(rt::roundedQuotient(difference, den)));
    d.deviationHz = (below ? -milliHz : milliHz) / 1000.0;
    return d;
}

} // namespace calc
