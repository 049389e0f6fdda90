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
        throw CalcError(Problem::InvalidSetting, quoted + (written.negative ? " is too small" : " is too large") +
                                                     ": it must be more than -1e30 and less than 1e30 degrees");
    // Half steps fall on multiples of 5.625 degrees, three decimal places:
    // whatever lies below 10^-6 cannot move an angle across one.
    const ExactNumber angle = toExact(written, 6);

    // steps = degrees x 4 / 45; rounded half up: floor((8 x degrees + 45) / 90).
    const rt::BigInt scale = angle.denominator();
    const rt::BigInt eightTimes = angle.numerator * 8;
    const rt::BigInt half = scale * 45;
    const rt::BigInt whole = scale * 90;
    std::uint64_t stepsMod32;
    if (!angle.negative || eightTimes <= half) {
        // A non-negative numerator: floor of the quotient.
        const rt::BigInt numerator = angle.negative ? rt::BigInt(half - eightTimes) : rt::BigInt(eightTimes + half);
        const bool exactlyHalfBelowZero = angle.negative && angle.truncated && numerator.is_zero();
        const rt::BigInt steps = numerator / whole;
        stepsMod32 = exactlyHalfBelowZero ? 31 : static_cast<std::uint64_t>(steps % 32);
    } else {
        // floor(-x) = -ceil(x) for x = (8 x |degrees| - 45) / 90 > 0.
        rt::BigInt q, r;
        boost::multiprecision::divide_qr(rt::BigInt(eightTimes - half), whole, q, r);
        const bool above = !r.is_zero() || angle.truncated;
        const rt::BigInt ceiling = above ? rt::BigInt(q + 1) : q;
        const auto m = static_cast<std::uint64_t>(ceiling % 32);
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
