#include "calc/control_byte.h"

#include "calc/errors.h"
#include "calc/exact_number.h"
#include "calc/result_line.h"
#include "calc/units.h"
#include "runtime/number.h"

#include <string>

namespace calc {

ControlByte controlByteFrom(std::uint8_t value)
{
    if (value & 0x02)
        throw CalcError(Problem::InvalidWord, "W0 has D1 set, which enters the factory test mode");
    return {std::uint8_t(value >> 3), (value & 0x04) != 0, (value & 0x01) != 0};
}

std::uint8_t phaseStepsFromDegrees(std::string_view degrees)
{
    const rt::WrittenNumber written = rt::readWrittenNumber(degrees);
    const std::string quoted = "phase \"" + std::string(degrees) + "\"";
    if (!written.isWholeText(degrees))
        throw CalcError(Problem::InvalidSetting, quoted + " is not a number");
    if (decimalMagnitude(written) > 30)
        throw CalcError(Problem::InvalidSetting, quoted + " is too large");
    // Half steps fall on multiples of 5.625 degrees, three decimal places:
    // whatever lies below 10^-6 cannot move an angle across one.
    const ExactNumber angle = toExact(written, 6);

    // steps = degrees x 4 / 45; rounded half up: floor((8 x degrees + 45) / 90).
    const rt::BigUInt scale = angle.denominator();
    const rt::BigUInt eightTimes = angle.numerator * rt::BigUInt(8);
    const rt::BigUInt half = rt::BigUInt(45) * scale;
    const rt::BigUInt whole = rt::BigUInt(90) * scale;
    std::uint64_t stepsMod32;
    if (!angle.negative || eightTimes <= half) {
        // A non-negative numerator: floor of the quotient.
        const rt::BigUInt numerator = angle.negative ? half - eightTimes : eightTimes + half;
        const bool exactlyHalfBelowZero = angle.negative && angle.truncated && numerator.isZero();
        const rt::BigUInt steps = divmod(numerator, whole).first;
        stepsMod32 = exactlyHalfBelowZero ? 31 : *divmod(steps, rt::BigUInt(32)).second.toUint64();
    } else {
        // floor(-x) = -ceil(x) for x = (8 x |degrees| - 45) / 90 > 0.
        const auto [q, r] = divmod(eightTimes - half, whole);
        const bool above = !r.isZero() || angle.truncated;
        const rt::BigUInt ceiling = above ? q + rt::BigUInt(1) : q;
        const std::uint64_t m = *divmod(ceiling, rt::BigUInt(32)).second.toUint64();
        stepsMod32 = (32 - m) % 32;
    }
    return std::uint8_t(stepsMod32);
}

std::array<std::uint8_t, 5> loadBytes(ControlByte control, std::uint32_t word, std::int16_t mode2) noexcept
{
    const std::array<std::uint8_t, 4> w = wordBytes(word, mode2);
    if (isSerial(mode2))
        return {w[0], w[1], w[2], w[3], control.value()};
    return {control.value(), w[0], w[1], w[2], w[3]};
}

} // namespace calc
