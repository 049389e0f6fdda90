#include "calc/calibration.h"

#include "calc/errors.h"
#include "calc/exact_number.h"
#include "calc/text_format.h"
#include "calc/units.h"
#include "runtime/number.h"

namespace calc {

namespace {

// The fewest decimals of the ppm: a millionth of a ppm, 10^-12 of the
// clock, is far finer than any counter reads.
constexpr std::uint64_t minPpmDecimals = 6;

// A frequency in the unit, exactly, in Hz: numerator / denominator.
struct Fraction {
    rt::BigInt numerator;
    rt::BigInt denominator;
};

// The text as a frequency in Hz; `what` names it in messages.
Fraction readFrequency(std::string_view text, std::int16_t unit, std::string_view what)
{
    const rt::WrittenNumber written = rt::readWrittenNumber(text);
    const std::string quoted = std::string(what) + " \"" + std::string(text) + "\"";
    if (!written.isWholeText(text))
        throw CalcError(Problem::InvalidSetting, quoted + " is not a number");
    if (written.negative || written.isZero())
        throw CalcError(Problem::InvalidSetting, quoted + " must be above 0");
    const auto power = std::uint64_t(unitPowerOfTen(unit));
    // 10^16 Hz is beyond every clock; digits below 10^-60 Hz say nothing.
    if (decimalMagnitude(written) + std::int64_t(power) > 16)
        throw CalcError(Problem::InvalidSetting, quoted + " is too large");
    const ExactNumber exact = toExact(written, 60 + power);
    return {exact.numerator * rt::powerOfTen(power), exact.denominator()};
}

} // namespace

Calibration calibrate(const TunerSettings& settings, std::string_view programmed, std::string_view measured)
{
    if (!rt::readWrittenNumber(programmed).isWholeText(programmed))
        throw CalcError(Problem::InvalidSetting, "programmed \"" + std::string(programmed) + "\" is not a number");
    const Tuner tuner(settings);
    Calibration c;
    c.word = tuner.tune(programmed).word;
    if (c.word == 0)
        throw CalcError(Problem::InvalidSetting,
                        "programmed \"" + std::string(programmed) + "\" gives the word 0: the chip puts out nothing");
    const Fraction m = readFrequency(measured, settings.unit, "measured");

    // The clock the chip was programmed for, U = un / ud, and its output
    // A = word x U / 2^32.
    const SystemClock& used = tuner.clock();
    const rt::BigInt word(c.word);
    c.actualMilliHz = actualMilliHz(c.word, used);
    const rt::BigInt actual = word * used.numerator * m.denominator;     // A x ud x 2^32 x md
    const rt::BigInt reading = (m.numerator * used.denominator()) << 32; // M x ud x 2^32 x md
    const rt::BigInt off = reading > actual ? reading - actual : actual - reading;
    if (off * 1'000'000 > actual * maxCalibrationPpm)
        throw CalcError(Problem::InvalidSetting,
                        "measured \"" + std::string(measured) + "\" is more than " + std::to_string(maxCalibrationPpm) +
                            " ppm from the word's output of " + formatMilliHz(c.actualMilliHz, settings.unit) + " " +
                            std::string(unitCaption(settings.unit).value_or("Hz")) +
                            ": a wrong unit is likelier than a clock that far off");

    // The true clock T = M x 2^32 / word, whatever clock was assumed.
    const unsigned times = used.multiplier ? 6 : 1;
    const rt::BigInt clockNumerator = m.numerator << 32, clockDenominator = m.denominator * word;
    c.clockMilliHz = static_cast<std::uint64_t>(rt::roundedQuotient(clockNumerator * 1000, clockDenominator));
    c.referenceMilliHz =
        static_cast<std::uint64_t>(rt::roundedQuotient(clockNumerator * 1000, clockDenominator * times));

    // The nominal clock N = nn / nd, without any ppm, and
    // ppm = (T / N - 1) x 10^6 = (M x 2^32 x nd - md x word x nn) x 10^6 / (md x word x nn).
    const rt::BigInt nn = used.referenceNumerator * times;
    const rt::BigInt nd = rt::powerOfTen(used.referenceFractionDigits);
    // Decimals enough that half the last one, times the output at the
    // nominal clock, word x N / 2^32, is at most 10^-5 Hz:
    // 20 x 10^d x nd x 2^32 >= word x nn.
    std::uint64_t decimals = minPpmDecimals;
    while ((rt::BigInt(20) * rt::powerOfTen(decimals) * nd << 32) < word * nn)
        ++decimals;
    const rt::BigInt trueSide = (m.numerator * nd) << 32, nominalSide = m.denominator * word * nn;
    const bool slow = trueSide < nominalSide;
    const rt::BigInt units = rt::roundedQuotient(
        (slow ? nominalSide - trueSide : trueSide - nominalSide) * rt::powerOfTen(6 + decimals), nominalSide);
    // A ppm option takes less than 10^6.  The output is below 10^13 Hz, so
    // that there are at most 12 decimals and the count fits 64 bits.
    if (units >= rt::powerOfTen(6 + decimals))
        throw CalcError(Problem::InvalidSetting, "the measured clock is more than twice the nominal one");
    const std::uint64_t count = *rt::toUint64(units);
    c.ppm = fixedPoint(count, decimals);
    if (slow && count != 0)
        c.ppm.insert(c.ppm.begin(), '-');
    return c;
}

TunerSettings correctedSettings(const TunerSettings& settings, const Calibration& calibration)
{
    TunerSettings corrected = settings;
    corrected.clock.ppm = calibration.ppm;
    return corrected;
}

} // namespace calc
