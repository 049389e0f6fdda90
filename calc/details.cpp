#include "calc/details.h"

#include "runtime/rounding.h"

#include <cmath>
#include <cstdlib>

namespace calc {

WordDetails wordDetails(const CalcState& state)
{
    WordDetails d;
    d.word = static_cast<std::int64_t>(rt::roundHalfAwayFromZero(state.temp));
    // word x (6 x Fc1 MHz) / 2^32 Hz.  word < 2^31 and |6 x Fc1| < 2^15, so
    // the product of word and clock in MHz fits in 46 bits; split it at
    // 2^32 so that the scaling by 10^9 (MHz to mHz) stays within 64 bits.
    const std::int64_t clockMHz = std::int64_t(state.Fc1) * 6;
    const std::int64_t product = d.word * clockMHz;
    const std::uint64_t magnitude = static_cast<std::uint64_t>(std::llabs(product));
    const std::uint64_t high = magnitude >> 32;
    const std::uint64_t low = magnitude & 0xFFFFFFFFu;
    const std::uint64_t milli =
        high * 1'000'000'000u + ((low * 1'000'000'000u + (1u << 31)) >> 32); // rounded half up
    d.actualMilliHz = product < 0 ? -std::int64_t(milli) : std::int64_t(milli);

    const double actualHz = double(high) * 1e6 + double(low) * 1e6 / 4294967296.0;
    d.deviationHz = (product < 0 ? -actualHz : actualHz) - state.F1;
    return d;
}

} // namespace calc
