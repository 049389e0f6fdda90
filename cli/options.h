#pragma once
// The command line of ad9851-word: each option declared once, with its
// help text, its group and the check of its value; the help page and the
// bash completion are made from the same declarations.

#include "calc/clock_plan.h"
#include "calc/driver_code.h"
#include "calc/spectrum.h"
#include "calc/tuner.h"

#include <CLI/CLI.hpp>

#include <optional>
#include <string>
#include <utility>
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
    // --emit: a source file that loads the words into the chip.
    std::optional<calc::DriverTarget> emit;
    // --plan: the candidate clocks for one FREQUENCY, best first; --top
    // keeps the first so many.
    bool plan = false;
    calc::PlanSettings planSettings;
    std::optional<std::size_t> top;
    // --calibrate PROGRAMMED:MEASURED, split at the colon.
    std::optional<std::pair<std::string, std::string>> calibration;
    calc::DriverPins pins;
    std::string driverName{calc::defaultDriverName};
    // --spectrum: what the chip puts out for each frequency.
    bool spectrum = false;
    calc::SpectrumSettings spectrumSettings;
    // --svg: the plot of the one frequency's spectrum instead of its lines.
    bool svg = false;
    bool help = false;
    bool version = false;
    bool bashCompletion = false;
    std::vector<std::string> frequencies;
};

struct UsageError {
    std::string message;
};

class CommandLine {
public:
    // Declares the options, bound to `options`.  The clock options are
    // pointed at the strings in `options`, so it must outlive this object
    // and not be copied.
    explicit CommandLine(Options& options);

    // Reads the arguments into the options; the usage error when they are
    // wrong.
    std::optional<UsageError> parse(int argc, char** argv);

    std::string help() const;
    // A bash completion script for every option in the help.
    std::string bashCompletion() const;

private:
    std::optional<UsageError> parsePass(int argc, char** argv, bool checkValues);
    // The conflicts between options, and the tuner's settings.
    std::optional<UsageError> finish();
    // The plan's settings from the options; UsageError when one is wrong.
    std::optional<UsageError> readPlanSettings();
    // --images, --harmonics, --harmonic-dbc and --filter, read and checked
    // into the options; std::invalid_argument, in the command line's words,
    // when one cannot be used.
    void readSpectrumSettings();

    Options& options_;
    CLI::App app_;
    // The raw settings that become the tuner's.
    std::optional<std::string> phase_;
    bool csv_ = false;
    bool noMultiplier_ = false;
    bool truncate_ = false;
    std::optional<std::string> pins_;
    std::optional<std::string> calibrate_;
    // The plan's settings as given.
    std::optional<std::string> refs_, band_, top_;
    // The spectrum's settings as given.
    std::optional<std::string> images_, harmonics_, harmonicDbc_, filter_;
    // The options whose value is checked, and the names that those with a
    // choice of names may take.
    std::vector<CLI::Option*> checked_;
    std::vector<std::pair<const CLI::Option*, std::vector<std::string>>> choices_;
    CLI::Option* unit_ = nullptr;
    CLI::Option* mode_ = nullptr;
    CLI::Option* chip_ = nullptr;
    CLI::Option* emit_ = nullptr;
    CLI::Option* name_ = nullptr;
};

} // namespace cli
