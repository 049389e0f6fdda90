#include "runtime/rounding.h"

#include <cmath>

namespace rt {

// value - floor(value) is exact for every finite double: below 2^52 both
// share the exponent range, above it the value is already whole.
double roundHalfToEven(double value) noexcept
{
    const double whole = std::floor(value);
    const double rest = value - whole;
    const double halfOfWhole = whole * 0.5; // exact
    const bool odd = halfOfWhole != std::floor(halfOfWhole);
    return (rest > 0.5 || (rest == 0.5 && odd)) ? whole + 1.0 : whole;
}

double roundHalfAwayFromZero(double value) noexcept
{
    const double whole = std::floor(value);
    const double rest = value - whole;
    return (rest > 0.5 || (rest == 0.5 && whole >= 0.0)) ? whole + 1.0 : whole;
}

} // namespace rt
