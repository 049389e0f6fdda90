#pragma once
// What the window tells the user when a calculation fails, in Chinese.

#include "calc/details.h"
#include "calc/errors.h"

#include <QString>

#include <exception>

// Says what is wrong and which box to fix.
QString errorMessage(const calc::CalcError& error);

// The result box's tooltip after a calculation: the actual output
// frequency, its deviation, the step of the clock and the 40-bit load.
QString resultTooltip(const calc::WordDetails& details, const QString& load, bool serial);

// The accessible descriptions of the boxes: unit and valid range.  `limit`
// is the highest accepted frequency with its unit, empty when unknown.
QString frequencyDescription(const QString& unit, const QString& limit);
QString crystalDescription();
QString resultDescription();

// For a failure that is not one of the calculation's own errors.
QString unexpectedErrorMessage(const std::exception& error);
