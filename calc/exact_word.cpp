#include "calc/exact_word.h"

#include "calc/errors.h"
#include "calc/limits.h"
#include "calc/units.h"

namespace calc {

std::string exactFrequencyLimit(const SystemClock& clock, std::int16_t mode1, Rounding rounding)
{
    // Frequencies below the bound are accepted: (2^31 - 1/2) x clock / 2^32
    // when rounding to nearest, 2^31 x clock / 2^32 when rounding down.
    // The highest accepted mHz is the bound in mHz, rounded up, less one.
    const rt::BigUInt numerator = clock.numerator * rt::BigUInt(1000) *
                                  rt::BigUInt(rounding == Rounding::NearestHalfUp ? (std::uint64_t(1) << 32) - 1 : 1);
    const rt::BigUInt denominator =
        clock.denominator() * rt::BigUInt(rounding == Rounding::NearestHalfUp ? std::uint64_t(1) << 33 : 2);
    const auto [q, r] = divmod(numerator, denominator);
    const std::uint64_t milliHz = *q.toUint64() - (r.isZero() ? 1 : 0);
    return formatMilliHz(milliHz, mode1) + " " + std::string(unitCaption(mode1).value_or("Hz"));
}

ExactWord exactTuningWord(const rt::WrittenNumber& frequency, std::int16_t mode1, const SystemClock& clock,
                          Rounding rounding)
{
    const auto unit = std::uint64_t(unitPowerOfTen(mode1));
    // The clock is below 10^13 Hz, so words of frequencies from 10^16 Hz up
    // are far past 2^31; they are refused before any big number is made.
    if (decimalMagnitude(frequency) + std::int64_t(unit) > 16) {
        if (frequency.negative)
            throw CalcError(Problem::FrequencyNegative);
        throw CalcError(Problem::FrequencyTooHigh, exactFrequencyLimit(clock, mode1, rounding));
    }
    // The frequencies at which the rounded word changes are odd multiples of
    // clock / 2^33 (or multiples of clock / 2^32): decimals with at most
    // clock.fractionDigits + 33 places in Hz.  Digits below those places
    // cannot move a word across one of them, so they are dropped.
    ExactWord result;
    result.frequency = toExact(frequency, clock.fractionDigits + 33 + unit);
    const ExactNumber& f = result.frequency;

    // word = f.numerator x 10^unit x 2^32 x 10^clock.fractionDigits / (10^f.fractionDigits x clock.numerator)
    const rt::BigUInt n = (f.numerator * rt::BigUInt::powerOfTen(unit + clock.fractionDigits)) << 32;
    const rt::BigUInt d = f.denominator() * clock.numerator;
    const auto [q, r] = divmod(n, d);
    const bool halfOrMore = r + r >= d;

    if (f.negative && !f.isZero()) {
        // Only a word that rounds to zero is usable: |word| below one half
        // (exactly one half rounds up to zero), or below one when rounding
        // toward zero.
        const bool exactlyHalf = r + r == d && !f.truncated;
        const bool roundsToZero =
            q.isZero() && (rounding == Rounding::Down || !halfOrMore || exactlyHalf);
        if (!roundsToZero)
            throw CalcError(Problem::FrequencyNegative);
        return result;
    }
    const rt::BigUInt word = (rounding == Rounding::NearestHalfUp && halfOrMore) ? q + rt::BigUInt(1) : q;
    if (word > rt::BigUInt(maxWord))
        throw CalcError(Problem::FrequencyTooHigh, exactFrequencyLimit(clock, mode1, rounding));
    result.word = std::uint32_t(*word.toUint64());
    return result;
}

} // namespace calc
