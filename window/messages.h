#pragma once
// What the window tells the user when a calculation fails, in Chinese.

#include "calc/errors.h"

#include <QString>

#include <exception>

// Says what is wrong and which box to fix.
QString errorMessage(const calc::CalcError& error);

// For a failure that is not one of the calculation's own errors.
QString unexpectedErrorMessage(const std::exception& error);
