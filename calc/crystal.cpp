#include "calc/crystal.h"

#include "calc/errors.h"
#include "calc/limits.h"
#include "runtime/number.h"
#include "runtime/rounding.h"

namespace calc {

double crystalWholeMHz(std::string_view crystal) { return rt::roundHalfToEven(rt::textToDouble(crystal)); }

bool isUsableCrystal(double wholeMHz) noexcept { return wholeMHz >= minCrystalMHz && wholeMHz <= maxCrystalMHz; }

std::int16_t readCrystalMHz(std::string_view crystal)
{
    const double wholeMHz = crystalWholeMHz(crystal);
    if (!isUsableCrystal(wholeMHz))
        throw CalcError(Problem::CrystalOutOfRange);
    return static_cast<std::int16_t>(wholeMHz);
}

} // namespace calc
