#pragma once
// Number texts as people paste and type them: web pages copy zero-width and
// no-break spaces, Chinese input methods type the ideographic space and
// full-width digits.  Before a number is read, these become the plain
// characters the number reader knows.

#include <string>
#include <string_view>

namespace rt {

// The UTF-8 `text` with every Unicode space, zero-width space and
// byte-order mark written as a blank, and every full-width ASCII form
// (U+FF01..U+FF5E: digits, signs, points, letters) as its ASCII character.
// Everything else, invalid UTF-8 included, is kept byte for byte.
std::string plainNumberText(std::string_view text);

// `text` without the blanks (spaces and tabs) around it.
std::string_view trimmedBlanks(std::string_view text);

} // namespace rt
