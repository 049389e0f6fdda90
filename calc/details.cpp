#include "calc/details.h"

#include "calc/units.h"
#include "calc/window_word.h"

#include <cmath>

namespace calc {

namespace {

// clock / 2^32 = clock.numerator / perCycle(clock)
rt::BigUInt perCycle(const SystemClock& clock) { return clock.denominator() << 32; }

WordDetails commonDetails(std::uint32_t word, const SystemClock& clock)
{
    WordDetails d;
    d.word = word;
    d.actualMilliHz = actualMilliHz(word, clock);
    d.stepMicroHz = *roundedQuotient(clock.numerator * rt::BigUInt(1'000'000), perCycle(clock)).toUint64();
    return d;
}

} // namespace

std::uint64_t actualMilliHz(std::uint32_t word, const SystemClock& clock)
{
    return *roundedQuotient(rt::BigUInt(word) * clock.numerator * rt::BigUInt(1000), perCycle(clock)).toUint64();
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
    const rt::BigUInt den = (clock.denominator() * requested.denominator()) << 32;
    const rt::BigUInt actual = rt::BigUInt(word) * clock.numerator * requested.denominator() * rt::BigUInt(1000);
    const rt::BigUInt wanted =
        ((requested.numerator * rt::BigUInt::powerOfTen(unit + 3)) * clock.denominator()) << 32;
    const bool below = requested.negative ? false : actual < wanted;
    const rt::BigUInt difference = requested.negative ? actual + wanted : below ? wanted - actual : actual - wanted;
    const double milliHz = double(*roundedQuotient(difference, den).toUint64());
    d.deviationHz = (below ? -milliHz : milliHz) / 1000.0;
    return d;
}

} // namespace calc
