#include "calc/exact_word.h"

#include "calc/errors.h"
#include "calc/limits.h"
#include "calc/units.h"

namespace calc {

namespace {

// frequency x 2^32 / clock as quotient and remainder of n / divisor.
template <class Int>
struct Division {
    Int quotient;
    Int remainder;
    Int divisor;
};

// n = f.numerator x 10^scale x 2^32 and d = 10^f.fractionDigits x
// clock.numerator in 128 bits, where both fit: the usual case, computed
// without a big number.
std::optional<Division<rt::UInt128>> divideIn128Bits(const ExactNumber& f, std::uint64_t scale,
                                                     const SystemClock& clock)
{
    const auto numerator = rt::toUint128(f.numerator);
    const auto power = rt::powerOfTen128(scale);
    const auto frequencyDenominator = rt::powerOfTen128(f.fractionDigits);
    const auto clockNumerator = rt::toUint128(clock.numerator);
    if (!numerator || !power || !frequencyDenominator || !clockNumerator)
        return std::nullopt;
    const auto scaled = rt::product128(*numerator, *power);
    const auto d = rt::product128(*frequencyDenominator, *clockNumerator);
    if (!scaled || *scaled >> 96 != 0 || !d)
        return std::nullopt;
    const rt::UInt128 n = *scaled << 32;
    return Division<rt::UInt128>{n / *d, n % *d, *d};
}

// The same with numbers of any size.
Division<rt::BigInt> divideInBigNumbers(const ExactNumber& f, std::uint64_t scale, const SystemClock& clock)
{
    const rt::BigInt n = (f.numerator * rt::powerOfTen(scale)) << 32;
    Division<rt::BigInt> division;
    division.divisor = f.denominator() * clock.numerator;
    boost::multiprecision::divide_qr(n, division.divisor, division.quotient, division.remainder);
    return division;
}

enum class Verdict : std::uint8_t { Word, Negative, TooHigh };

struct Outcome {
    Verdict verdict = Verdict::Word;
    std::uint32_t word = 0;
};

// The word the division gives, rounded, or why there is none.
template <class Int>
Outcome wordOf(const Division<Int>& division, const ExactNumber& f, Rounding rounding)
{
    const Int& q = division.quotient;
    const Int& r = division.remainder;
    const Int& d = division.divisor;
    const bool halfOrMore = r >= d - r;
    if (f.negative && !f.isZero()) {
        // Only a word that rounds to zero is usable: |word| below one half
        // (exactly one half rounds up to zero), or below one when rounding
        // toward zero.
        const bool exactlyHalf = r == d - r && !f.truncated;
        const bool roundsToZero = q == 0 && (rounding == Rounding::Down || !halfOrMore || exactlyHalf);
        return {roundsToZero ? Verdict::Word : Verdict::Negative, 0};
    }
    const bool up = rounding == Rounding::NearestHalfUp && halfOrMore;
    if (q > maxWord || (up && q == maxWord))
        return {Verdict::TooHigh, 0};
    return {Verdict::Word, static_cast<std::uint32_t>(q) + (up ? 1u : 0u)};
}

} // namespace

std::string exactFrequencyLimit(const SystemClock& clock, std::int16_t mode1, Rounding rounding)
{
    // Frequencies below the bound are accepted: (2^31 - 1/2) x clock / 2^32
    // when rounding to nearest, 2^31 x clock / 2^32 when rounding down.
    // The highest accepted mHz is the bound in mHz, rounded up, less one.
    const bool nearest = rounding == Rounding::NearestHalfUp;
    const rt::BigInt numerator = clock.numerator * 1000 * (nearest ? (std::uint64_t(1) << 32) - 1 : 1);
    const rt::BigInt denominator = clock.denominator() * (nearest ? std::uint64_t(1) << 33 : 2);
    rt::BigInt q, r;
    boost::multiprecision::divide_qr(numerator, denominator, q, r);
    const std::uint64_t milliHz = static_cast<std::uint64_t>(q) - (r.is_zero() ? 1 : 0);
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
    const std::uint64_t scale = unit + clock.fractionDigits;
    const auto quick = divideIn128Bits(f, scale, clock);
    const Outcome outcome =
        quick ? wordOf(*quick, f, rounding) : wordOf(divideInBigNumbers(f, scale, clock), f, rounding);
    switch (outcome.verdict) {
    case Verdict::Negative:
        throw CalcError(Problem::FrequencyNegative);
    case Verdict::TooHigh:
        throw CalcError(Problem::FrequencyTooHigh, exactFrequencyLimit(clock, mode1, rounding));
    case Verdict::Word:
        break;
    }
    result.word = outcome.word;
    return result;
}

} // namespace calc
