#include "calc/clock.h"

#include "calc/crystal.h"
#include "calc/errors.h"
#include "calc/exact_number.h"
#include "runtime/number.h"

namespace calc {

namespace {

// A reference or ppm given to more places than this is refused: the exact
// word would cost more than it is worth, and no oscillator is known so well.
constexpr std::uint64_t maxSettingFractionDigits = 60;

// `range` says what the setting may be: "more than A and less than B".
ExactNumber readSetting(std::string_view text, std::string_view name, std::int64_t maxMagnitude, std::string_view range)
{
    const rt::WrittenNumber written = rt::readWrittenNumber(text);
    const std::string quoted = std::string(name) + " \"" + std::string(text) + "\"";
    if (!written.isWholeText(text))
        throw CalcError(Problem::InvalidSetting, quoted + " is not a number");
    if (decimalMagnitude(written) > maxMagnitude)
        throw CalcError(Problem::InvalidSetting, quoted + (written.negative ? " is too small" : " is too large") +
                                                     ": it must be " + std::string(range));
    if (written.radix == 10 && written.exponent < -std::int64_t(maxSettingFractionDigits))
        throw CalcError(Problem::InvalidSetting, quoted + " has more than 60 decimal places");
    return toExact(written, maxSettingFractionDigits);
}

} // namespace

SystemClock systemClock(const ClockOptions& options)
{
    SystemClock clock;
    clock.chip = options.chip;
    clock.multiplier = options.multiplier && options.chip == Chip::AD9851;
    const std::uint64_t times = clock.multiplier ? 6 : 1;

    if (options.referenceHz) {
        // Below 1 THz: far above any reference the chips take.
        const ExactNumber ref =
            readSetting(*options.referenceHz, "reference", 12, "more than 0 and less than 1000000000000 Hz");
        if (ref.negative || ref.numerator.is_zero())
            throw CalcError(Problem::InvalidSetting,
                            "reference \"" + std::string(*options.referenceHz) + "\" must be above 0 Hz");
        clock.referenceNumerator = ref.numerator;
        clock.referenceFractionDigits = ref.fractionDigits;
    } else {
        const std::int16_t crystal = readCrystalMHz(options.crystalMHz);
        clock.referenceNumerator = rt::BigInt(std::uint64_t(crystal) * 1'000'000);
        if (!options.ppm && clock.multiplier) {
            clock.kind = ClockKind::WindowCrystal;
            clock.crystalMHz = crystal;
        }
    }

    clock.numerator = clock.referenceNumerator * rt::BigInt(times);
    clock.fractionDigits = clock.referenceFractionDigits;
    if (options.ppm) {
        // nominal x (10^6 + ppm) / 10^6, with ppm = ±p / 10^d
        const ExactNumber ppm = readSetting(*options.ppm, "ppm", 6, "more than -1000000 and less than 1000000");
        const rt::BigInt million = rt::powerOfTen(6 + ppm.fractionDigits);
        if (ppm.negative && ppm.numerator >= million)
            throw CalcError(Problem::InvalidSetting, "ppm \"" + std::string(*options.ppm) +
                                                         "\" would stop the clock (it must be above -1000000)");
        clock.numerator *= ppm.negative ? million - ppm.numerator : million + ppm.numerator;
        clock.fractionDigits += 6 + ppm.fractionDigits;
    }
    return clock;
}

std::uint64_t maxSystemClockHz(Chip chip) noexcept { return chip == Chip::AD9850 ? 125'000'000 : 180'000'000; }

unsigned outputSharePercent(Chip chip) noexcept { return chip == Chip::AD9850 ? 33 : 40; }

std::vector<std::string> clockWarnings(const SystemClock& clock)
{
    std::vector<std::string> warnings;
    const rt::BigInt den = clock.denominator();
    const std::uint64_t max = maxSystemClockHz(clock.chip);
    if (clock.numerator > rt::BigInt(max) * den)
        warnings.push_back("the system clock is above the " +
                           std::string(clock.chip == Chip::AD9850 ? "AD9850" : "AD9851") + "'s maximum of " +
                           std::to_string(max / 1'000'000) + " MHz");
    // The reference as it runs, its ppm error included: the system clock
    // over six.
    if (clock.multiplier &&
        (clock.numerator < rt::BigInt(6 * 5'000'000) * den || clock.numerator > rt::BigInt(6 * 30'000'000) * den))
        warnings.push_back("with the 6x multiplier the reference should be from 5 to 30 MHz");
    return warnings;
}

} // namespace calc
