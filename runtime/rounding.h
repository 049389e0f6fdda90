#pragma once
// The two rounding rules that decide words.  Both are written out with
// floor and a comparison rather than left to the C library, whose round()
// is not correct everywhere (one C library rounds 0.49999999999999994 up).

namespace rt {

// Nearest whole number, an exact half to the even neighbour:
// 20.5 -> 20, 21.5 -> 22.  This is how the crystal becomes whole MHz.
double roundHalfToEven(double value) noexcept;

// Nearest whole number, an exact half away from zero:
// 357914.5 -> 357915, -0.5 -> -1.  This is how the window rounds the word.
double roundHalfAwayFromZero(double value) noexcept;

} // namespace rt
