#include "calc/errors.h"

#include "calc/limits.h"

namespace calc {

namespace {
std::string describe(Problem problem, const std::string& limit)
{
    switch (problem) {
    case Problem::CrystalOutOfRange:
        return "the crystal frequency must be from " + std::to_string(minCrystalMHz) + " to " +
               std::to_string(maxCrystalMHz) + " MHz";
    case Problem::FrequencyUnreadable:
        return "the frequency is too large a number to read";
    case Problem::FrequencyTooHigh:
        return limit.empty() ? "the output frequency is too high"
                             : "the output frequency is too high: at most " + limit;
    case Problem::FrequencyNegative:
        return "the output frequency must not be negative";
    case Problem::InvalidSetting:
    case Problem::InvalidWord:
        return limit;
    }
    return "invalid input";
}
} // namespace

CalcError::CalcError(Problem problem, std::string detail)
    : std::runtime_error(describe(problem, detail)), problem_(problem), detail_(std::move(detail))
{
}

} // namespace calc
