#pragma once
// The crystal box's text in whole MHz, as every calculation reads it.

#include <cstdint>
#include <string_view>

namespace calc {

// The crystal text rounded to whole MHz, an exact half going to the even
// neighbour; not checked.
double crystalWholeMHz(std::string_view crystal);

// True for 1..5461 whole MHz.
bool isUsableCrystal(double wholeMHz) noexcept;

// The crystal in whole MHz; CalcError (CrystalOutOfRange) unless it is
// 1..5461.
std::int16_t readCrystalMHz(std::string_view crystal);

} // namespace calc
