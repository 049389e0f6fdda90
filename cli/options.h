#pragma once
// The command line of ad9851-word.

#include "calc/tuner.h"

#include <optional>
#include <string>
#include <vector>

namespace cli {

enum class Format { Lines, Csv };

struct Options {
    calc::TunerSettings tuner;
    std::string crystal = "20";
    std::optional<std::string> referenceHz;
    std::optional<std::string> ppm;
    bool load = false;
    bool details = false;
    bool strict = false;
    bool decode = false;
    Format format = Format::Lines;
    std::optional<std::string> cArrayName;
    std::optional<std::string> sweep;
    bool help = false;
    bool version = false;
    std::vector<std::string> frequencies;
};

struct UsageError {
    std::string message;
};

// Reads the arguments; returns the usage error when they are wrong.
// The clock options are pointed at the strings in `options`, so it must
// not be copied afterwards.
std::optional<UsageError> parseArguments(int argc, char** argv, Options& options);

extern const char* const usageText;

} // namespace cli
