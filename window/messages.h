#pragma once
// What the window tells the user when a calculation fails, in Chinese.

#include "calc/state.h"
#include "runtime/errors.h"

#include <QString>

#include <exception>

// Says what is wrong and which input to fix.  `state` is the calculation
// state as the error left it.
QString errorMessage(const rt::Error& error, const calc::CalcState& state);

// For a failure that is not one of the calculation's own errors.
QString unexpectedErrorMessage(const std::exception& error);
