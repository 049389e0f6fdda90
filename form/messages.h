#pragma once
// What the window says to the user, in Chinese (UTF-8).

#include "calc/details.h"
#include "calc/errors.h"
#include "form/layout.h"

#include <exception>
#include <optional>
#include <string>
#include <string_view>

namespace form {

// The title of the message box that reports a failed calculation.
inline constexpr std::string_view errorTitle = "输入有误";

// What is wrong and which box to fix.
std::string errorMessage(const calc::CalcError& error);

// The box whose text the error asks to fix; nullopt when it names none.
std::optional<Box> boxToFix(const calc::CalcError& error);

// For a failure that is not one of the calculation's own errors.
std::string unexpectedErrorMessage(const std::exception& error);

// The result box's tooltip after a calculation: the actual output
// frequency, its deviation, the step of the clock and the 40-bit load,
// and how to open the spectrum window (F2 or the context menu).
std::string resultTooltip(const calc::WordDetails& details, std::string_view load, bool serial);

// The accessible descriptions of the boxes: unit and valid range.  `limit`
// is the highest accepted frequency with its unit, empty when unknown.
std::string frequencyDescription(std::string_view unit, std::string_view limit);
std::string crystalDescription();
std::string resultDescription();

} // namespace form
