#include "cli/options.h"

#include "calc/control_byte.h"
#include "calc/errors.h"
#include "calc/units.h"
#include "cli/help.h"
#include "cli/messages.h"
#include "runtime/number.h"

#include <climits>
#include <cmath>
#include <memory>
#include <stdexcept>

namespace cli {

namespace {

template <class E>
using Names = std::vector<std::pair<std::string, E>>;

const Names<calc::UnitIndex> unitNames{{"Hz", calc::Hz}, {"KHz", calc::KHz}, {"MHz", calc::MHz}};
const Names<calc::DataMode> modeNames{{"serial", calc::Serial}, {"parallel", calc::Parallel}};
const Names<calc::Chip> chipNames{{"ad9851", calc::Chip::AD9851}, {"ad9850", calc::Chip::AD9850}};
const Names<calc::FilterKind> filterNames{{"butterworth", calc::FilterKind::Butterworth},
                                          {"chebyshev", calc::FilterKind::Chebyshev},
                                          {"elliptic", calc::FilterKind::Elliptic}};
const Names<calc::DriverTarget> targetNames{{"c", calc::DriverTarget::C},
                                            {"arduino", calc::DriverTarget::Arduino},
                                            {"micropython", calc::DriverTarget::MicroPython}};

// "Hz, KHz or MHz"
template <class E>
std::string nameList(const Names<E>& names)
{
    std::string list;
    for (std::size_t i = 0; i < names.size(); ++i)
        list += (i == 0 ? "" : i + 1 == names.size() ? " or " : ", ") + names[i].first;
    return list;
}

template <class E>
std::vector<std::string> namesOf(const Names<E>& names)
{
    std::vector<std::string> list;
    for (const auto& [name, value] : names)
        list.push_back(name);
    return list;
}

// A value that must be one of `names`, in any case; it becomes the enum's
// value.  Any other text is "unknown WHAT 'TEXT' (use A, B or C)".
template <class E>
CLI::Validator oneOf(const Names<E>& names, const std::string& what)
{
    const CLI::Validator known = CLI::IsMember(names, CLI::ignore_case) & CLI::Transformer(names, CLI::ignore_case);
    const std::string use = " (use " + nameList(names) + ")";
    return CLI::Validator(
        [known, what, use](std::string& text) {
            const std::string given = text;
            return known(text).empty() ? std::string() : "unknown " + what + " '" + given + "'" + use;
        },
        "");
}

bool isCIdentifier(const std::string& name)
{
    auto letter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; };
    auto digit = [](char c) { return c >= '0' && c <= '9'; };
    if (name.empty() || !letter(name.front()))
        return false;
    for (const char c : name)
        if (!letter(c) && !digit(c))
            return false;
    return true;
}

const CLI::Validator cIdentifier(
    [](std::string& name) {
        if (!isCIdentifier(name))
            return "--c-array: '" + name + "' is not a C identifier";
        if (calc::isCKeyword(name))
            return "--c-array: '" + name + "' is a keyword of C or C++";
        return std::string();
    },
    "");

// A number, read as every other option's value is: blanks around it, an
// exponent ("70e6") allowed.  `what` names it in messages: "--images",
// "--filter: order".
double readNumber(std::string_view text, const std::string& what)
{
    const rt::WrittenNumber n = rt::readWrittenNumber(text);
    if (!n.isWholeText(text))
        throw std::invalid_argument(what + " " + quotedText(text) + " is not a number");
    return rt::toDouble(n);
}

// A whole number; one beyond the range of int reads as the nearest end of
// it, which every check refuses.
int readWholeNumber(std::string_view text, const std::string& what)
{
    const double value = readNumber(text, what);
    if (std::trunc(value) != value)
        throw std::invalid_argument(what + " " + quotedText(text) + " is not a whole number");
    return value >= INT_MAX ? INT_MAX : value <= INT_MIN ? INT_MIN : static_cast<int>(value);
}

// Checks one of the spectrum's settings, `settings` being the defaults
// with that one changed: "--images "0": the number of images must be ...".
void checkSpectrumSetting(const calc::SpectrumSettings& settings, const std::string& what, std::string_view text)
{
    try {
        calc::checkSpectrumSettings(settings);
    } catch (const calc::CalcError& e) {
        throw std::invalid_argument(what + " " + quotedText(text) + ": " + e.what());
    }
}

const char* const filterForms =
    "--filter takes butterworth:ORDER:CUTOFF_HZ, chebyshev:ORDER:CUTOFF_HZ:RIPPLE_DB "
    "or elliptic:ORDER:CUTOFF_HZ:RIPPLE_DB:STOPBAND_DB";

// How many values, the name among them, each kind of filter takes.
std::size_t filterParts(calc::FilterKind kind)
{
    switch (kind) {
    case calc::FilterKind::Butterworth:
        return 3;
    case calc::FilterKind::Chebyshev:
        return 4;
    case calc::FilterKind::Elliptic:
        return 5;
    }
    return 0;
}

// "butterworth:ORDER:CUTOFF_HZ", "chebyshev:ORDER:CUTOFF_HZ:RIPPLE_DB" or
// "elliptic:ORDER:CUTOFF_HZ:RIPPLE_DB:STOPBAND_DB", the kind in any case.
calc::ReconstructionFilter readFilter(std::string_view text)
{
    std::vector<std::string_view> parts;
    for (std::size_t start = 0;;) {
        const std::size_t colon = text.find(':', start);
        parts.push_back(text.substr(start, colon == std::string_view::npos ? std::string_view::npos : colon - start));
        if (colon == std::string_view::npos)
            break;
        start = colon + 1;
    }
    // Blanks around the name too, as around the numbers.
    const std::string kind = CLI::detail::to_lower(CLI::detail::trim_copy(std::string(parts.front())));
    const auto named =
        std::ranges::find_if(filterNames, [&](const auto& name) { return CLI::detail::to_lower(name.first) == kind; });
    if (named == filterNames.end())
        throw std::invalid_argument("--filter: unknown filter '" + std::string(parts.front()) + "' (use " +
                                    nameList(filterNames) + ")");
    // Each value is checked in turn, those after it at values that pass.
    calc::ReconstructionFilter filter{named->second, 1, 1.0, 1.0, calc::maxStopBandDb};
    if (parts.size() != filterParts(filter.kind))
        throw std::invalid_argument(filterForms);
    const auto check = [&](std::string_view part, const char* name, auto set) {
        set(filter);
        calc::SpectrumSettings settings;
        settings.filter = filter;
        checkSpectrumSetting(settings, std::string("--filter: ") + name, part);
    };
    const int order = readWholeNumber(parts[1], "--filter: order");
    check(parts[1], "order", [&](calc::ReconstructionFilter& f) { f.order = order; });
    const double cutoff = readNumber(parts[2], "--filter: cutoff");
    check(parts[2], "cutoff", [&](calc::ReconstructionFilter& f) { f.cutoffHz = cutoff; });
    if (parts.size() > 3) {
        const double ripple = readNumber(parts[3], "--filter: ripple");
        check(parts[3], "ripple", [&](calc::ReconstructionFilter& f) { f.rippleDb = ripple; });
    }
    if (parts.size() > 4) {
        const double stopBand = readNumber(parts[4], "--filter: stop band");
        check(parts[4], "stop band", [&](calc::ReconstructionFilter& f) { f.stopBandDb = stopBand; });
    }
    return filter;
}

// CLI11's messages name the option first: "--unit: ...".
std::string_view nameBefore(std::string_view message) { return message.substr(0, message.find(": ")); }
std::string_view afterName(std::string_view message)
{
    const std::size_t colon = message.find(": ");
    return colon == std::string_view::npos ? message : message.substr(colon + 2);
}

const char* const wordGroup = "Word and output";
const char* const clockGroup = "Clock";
const char* const spectrumGroup = "Spectrum";
const char* const driverGroup = "Driver code";
const char* const clockChoiceGroup = "Choosing and trimming the clock";
const char* const helpGroup = "Help";

const HelpPage helpPage{
    "Usage: ad9851-word [OPTION]... [--] [FREQUENCY]...\n",
    "Prints the AD9851 (or AD9850) frequency tuning word for each FREQUENCY as a\n"
    "line of C, for example {0x1A,0x76,0x05,0x00},//10KHz.  Without FREQUENCY\n"
    "arguments (and without --sweep), reads one frequency per line from standard\n"
    "input.\n",
    {
        {wordGroup, true, ""},
        {clockGroup, true,
         "With the crystal and the multiplier alone, words are computed exactly as the\n"
         "calculator window computes them.  With --ref-hz, --ppm, --no-multiplier,\n"
         "--chip ad9850 or --truncate they are computed in exact arithmetic, an exact\n"
         "half rounding up.\n"},
        {spectrumGroup, true,
         "Each line: the component, its order, its frequency in Hz and its level in\n"
         "dBc after the DAC's zero-order hold, tab-separated and sorted by frequency;\n"
         "with --filter a fifth column, the level after the filter too.  Images follow\n"
         "from the sampling itself and are not estimates.  Harmonic levels are an\n"
         "assumption (-50 dBc before the hold unless --harmonic-dbc says otherwise):\n"
         "the AD9851 promises an SFDR better than 43 dB at 70 MHz, no more.\n"},
        {driverGroup, true,
         "The code loads the chip serially through D7, as the common modules are\n"
         "wired (D2..D0 strapped to 0 1 1); the word and clock options apply.\n"},
        {clockChoiceGroup, true,
         "--plan prints a tab-separated line per candidate, best first: ref_hz,\n"
         "clock_hz, word, actual_hz, deviation_hz, nearest_hz, nearest (the nearest\n"
         "component's label: H4, -1, +1), distance_hz and, with --band,\n"
         "worst_in_band_dbc (-inf when none lies in the band).  Candidates too slow for\n"
         "FREQUENCY, so fast that its word would be 0, or above the chip's maximum\n"
         "clock are left out, with a note.\n"
         "\n"
         "--calibrate prints ppm=, clock_hz= and ref_hz= lines, then the line of the\n"
         "word that gives PROGRAMMED at the corrected clock; the ppm, given to --ppm,\n"
         "makes the programmed word put out MEASURED.  A measurement more than 1000 ppm\n"
         "from the word's output is refused: a wrong unit is likelier.\n"},
        {helpGroup, false, ""},
    },
    "Exit status: 0 when every frequency gave a line, 1 when any failed or the\n"
    "clock is unusable, 2 on a usage error.\n",
};

} // namespace

CommandLine::CommandLine(Options& o) : options_(o), app_("", "ad9851-word")
{
    CLI::App& app = app_;
    // As in GNU tools, the last of a repeated option wins; every value is
    // still checked.  Unknown options are reported in our own words.
    app.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    app.allow_extras();
    // CLI11 takes "/csv" and "/u:MHz" as options on Windows; the arguments
    // mean the same on every system.
    app.allow_windows_style_options(false);
    app.set_help_flag();
    app.formatter(std::make_shared<HelpFormatter>(helpPage));

    // A value whose text is checked.  Its type is called "TEXT" in
    // messages, as every other value's.
    auto checkedValue = [&](CLI::Option* option, const CLI::Validator& check) {
        checked_.push_back(option->type_name("TEXT")->transform(check));
        return option;
    };
    // The options are declared in the order in which faults in their values
    // are reported: --unit, --mode, --chip, then --c-array.  The help lists
    // them by group, in this order within each group.
    unit_ = checkedValue(app.add_option("-u,--unit", "unit of the frequencies: Hz, KHz or MHz (default KHz)"),
                         oneOf(unitNames, "unit"));
    unit_->option_text("UNIT")->group(wordGroup);
    mode_ = checkedValue(app.add_option("-m,--mode",
                                        "serial: least significant byte first (default);\n"
                                        "parallel: most significant byte first"),
                         oneOf(modeNames, "mode"));
    mode_->option_text("MODE")->group(wordGroup);
    app.add_flag("--load", o.load,
                 "the whole 40-bit load, control byte W0 included:\n"
                 "parallel {W0,W1,W2,W3,W4}, serial {W4,W3,W2,W1,W0}")
        ->group(wordGroup);
    app.add_option("--phase", phase_,
                   "phase in W0: the nearest 11.25-degree step, modulo\n"
                   "360 (implies --load)")
        ->option_text("DEG")
        ->group(wordGroup);
    app.add_flag("--power-down", o.tuner.powerDown, "set W0's power-down bit (implies --load)")->group(wordGroup);
    app.add_flag("--details", o.details,
                 "append, tab-separated: the word in decimal, the\n"
                 "frequency the chip produces in Hz (to the mHz), its\n"
                 "deviation from the requested one and the step size")
        ->group(wordGroup);
    app.add_flag("--csv", csv_, "CSV (RFC 4180) with a header line instead of C lines")->group(wordGroup);

    app.add_option("-c,--crystal", o.crystal,
                   "crystal frequency in MHz, rounded to a whole MHz as\n"
                   "the calculator window does, 1 to 5461 (default 20)")
        ->option_text("MHZ")
        ->group(clockGroup);
    app.add_option("--ref-hz", o.referenceHz, "the exact reference frequency in Hz, instead of -c")
        ->option_text("HZ")
        ->group(clockGroup);
    app.add_option("--ppm", o.ppm,
                   "the reference runs PPM parts per million fast\n"
                   "(positive) or slow (negative): the clock used is\n"
                   "nominal x (1 + PPM/1000000)")
        ->option_text("PPM")
        ->group(clockGroup);
    app.add_flag("--no-multiplier", noMultiplier_,
                 "the system clock is the reference itself (W0 D0 = 0);\n"
                 "otherwise it is six times the reference")
        ->group(clockGroup);
    chip_ =
        checkedValue(app.add_option("--chip", "ad9851 (default) or ad9850 (no multiplier)"), oneOf(chipNames, "chip"));
    chip_->option_text("CHIP")->group(clockGroup);
    app.add_flag("--truncate", truncate_, "round the word down instead of to nearest")->group(clockGroup);

    checkedValue(app.add_option("--c-array", o.cArrayName, "wrap the lines in const unsigned char NAME[][4] = {...};"),
                 cIdentifier)
        ->option_text("NAME")
        ->group(wordGroup);
    app.add_option("--sweep", o.sweep, "the frequencies START, START+STEP, ... up to STOP")
        ->option_text("START:STOP:STEP")
        ->group(wordGroup);
    app.add_flag("--strict", o.strict, "a FREQUENCY must be a number and nothing else")->group(wordGroup);
    app.add_flag("--decode", o.decode,
                 "the arguments or lines are words to explain: a\n"
                 "result line, a byte list, 357914 or 0x5761A")
        ->group(wordGroup);

    app.add_flag("--spectrum", o.spectrum,
                 "for each FREQUENCY, what the chip puts out: the output,\n"
                 "its images and the DAC's harmonics, with their levels")
        ->group(spectrumGroup);
    app.add_option("--images", images_, "images up to order K around each clock multiple,\n1 to 100 (default 2)")
        ->option_text("K")
        ->group(spectrumGroup);
    app.add_option("--harmonics", harmonics_, "harmonics 2 to N, N from 1 (none) to 100 (default 5)")
        ->option_text("N")
        ->group(spectrumGroup);
    app.add_option("--harmonic-dbc", harmonicDbc_,
                   "the harmonics' assumed level before the hold,\n0 or below (default -50)")
        ->option_text("DB")
        ->group(spectrumGroup);
    app.add_option("--filter", filter_,
                   "a reconstruction filter of ORDER 1 to 20: KIND\n"
                   "butterworth:ORDER:CUTOFF_HZ (-3 dB there), chebyshev:\n"
                   "ORDER:CUTOFF_HZ:RIPPLE_DB (type I, the pass band up to\n"
                   "CUTOFF_HZ, RIPPLE_DB above 0 and at most 10) or elliptic:\n"
                   "ORDER:CUTOFF_HZ:RIPPLE_DB:STOPBAND_DB (at least\n"
                   "STOPBAND_DB, above RIPPLE_DB and at most 200, in the stop\n"
                   "band, which must begin 0.1 % or more above CUTOFF_HZ)")
        ->option_text("KIND:ORDER:CUTOFF_HZ[:RIPPLE_DB[:STOPBAND_DB]]")
        ->group(spectrumGroup);
    app.add_flag("--svg", o.svg, "the plot of one FREQUENCY's spectrum as an SVG document")->group(spectrumGroup);

    emit_ = checkedValue(app.add_option("--emit",
                                        "write one source file that resets the chip, enters\n"
                                        "serial mode and loads the words: c (portable C99),\n"
                                        "arduino (a sketch) or micropython (machine.Pin)"),
                         oneOf(targetNames, "target"));
    emit_->option_text("TARGET")->group(driverGroup);
    app.add_option("--pins", pins_,
                   "the pin numbers of the four wired signals (arduino\n"
                   "8,9,10,11; micropython 18,19,21,22 by default)")
        ->option_text("W_CLK=N,FQ_UD=N,DATA=N,RESET=N")
        ->group(driverGroup);
    name_ = app.add_option("--name", o.driverName, "the prefix of every name the code defines (ad9851)");
    name_->option_text("NAME")->group(driverGroup);

    app.add_flag("--plan", o.plan,
                 "rank candidate clocks for one FREQUENCY by how far the\n"
                 "nearest image or harmonic lies from the output: the\n"
                 "crystals 5 to 30 MHz, or --refs; --images, --harmonics,\n"
                 "--harmonic-dbc and --filter apply")
        ->group(clockChoiceGroup);
    app.add_option("--refs", refs_, "the candidate references in Hz, instead of the crystals")
        ->option_text("HZ,HZ,...")
        ->group(clockChoiceGroup);
    app.add_option("--band", band_,
                   "rank by the strongest component from LO to HI (in the\n"
                   "unit of -u) other than the output, then by distance")
        ->option_text("LO:HI")
        ->group(clockChoiceGroup);
    app.add_option("--top", top_, "print only the best N candidates")->option_text("N")->group(clockChoiceGroup);
    app.add_option("--calibrate", calibrate_,
                   "the chip, loaded for PROGRAMMED at the clock given,\n"
                   "put out MEASURED (both in the unit of -u): print the\n"
                   "clock's error and the corrected word")
        ->option_text("PROGRAMMED:MEASURED")
        ->group(clockChoiceGroup);

    app.add_flag("-h,--help", o.help, "show this help")->group(helpGroup);
    app.add_flag("--version", o.version, "show the version")->group(helpGroup);
    // Not in the help: the build installs its output as the bash completion.
    app.add_flag("--bash-completion", o.bashCompletion)->group("");
    app.add_option("FREQUENCY", o.frequencies)->multi_option_policy(CLI::MultiOptionPolicy::TakeAll)->group("");

    choices_ = {{unit_, namesOf(unitNames)},
                {mode_, namesOf(modeNames)},
                {chip_, namesOf(chipNames)},
                {emit_, namesOf(targetNames)}};
}

std::optional<UsageError> CommandLine::parse(int argc, char** argv)
{
    // First the shape of the command line, as CLI11 reads it: unknown
    // options, missing or repeated values, flags given a value that is not
    // a truth value.  --help and --version then need nothing more.
    if (auto error = parsePass(argc, argv, false))
        return error;
    if (options_.help || options_.version)
        return std::nullopt;
    // Then the values, each fault in the words of its own check.
    if (auto error = parsePass(argc, argv, true))
        return error;
    return finish();
}

std::optional<UsageError> CommandLine::parsePass(int argc, char** argv, bool checkValues)
{
    for (CLI::Option* option : checked_)
        option->get_validator()->active(checkValues);
    try {
        app_.parse(argc, argv);
    } catch (const CLI::ValidationError& e) {
        // CLI11 puts the option's name before the check's message, which
        // says all there is to say.
        return UsageError{std::string(afterName(e.what()))};
    } catch (const CLI::ArgumentMismatch& e) {
        // "--unit: 1 required TEXT missing"
        return UsageError{std::string(nameBefore(e.what())) + " needs a value"};
    } catch (const CLI::ConversionError& e) {
        // "Could not convert: --csv = x": a flag given a value that is
        // neither true nor false.
        const std::string_view given = afterName(e.what());
        const std::size_t equals = given.find(" = ");
        if (equals != std::string_view::npos)
            return UsageError{std::string(given.substr(0, equals)) + " takes no value ('" +
                              std::string(given.substr(equals + 3)) + "')"};
        return UsageError{e.what()};
    } catch (const CLI::ParseError& e) {
        return UsageError{e.what()};
    }
    // The first unknown option as it was written, without its value; CLI11
    // counts the "--" that ends the options among them.
    for (const std::string& unknown : app_.remaining())
        if (unknown != "--")
            return UsageError{"unknown option '" + unknown.substr(0, unknown.find('=')) + "'"};
    return std::nullopt;
}

std::optional<UsageError> CommandLine::finish()
{
    Options& o = options_;
    // Options that make no sense together, in the order they are reported.
    const std::pair<bool, const char*> conflicts[] = {
        {csv_ && o.cArrayName, "--csv and --c-array cannot be used together"},
        {o.sweep && !o.frequencies.empty(), "--sweep and FREQUENCY arguments cannot be used together"},
        {app_.count("--crystal") != 0 && o.referenceHz, "-c and --ref-hz cannot be used together"},
        {(images_ || harmonics_ || harmonicDbc_ || filter_) && !o.spectrum && !o.plan,
         "--images, --harmonics, --harmonic-dbc and --filter belong to --spectrum and --plan"},
        {(refs_ || band_ || top_) && !o.plan, "--refs, --band and --top belong to --plan"},
        {o.plan && (o.spectrum || o.decode || calibrate_ || o.sweep || *emit_ || pins_ || *name_ ||
                    app_.count("--crystal") != 0 || o.referenceHz || o.ppm || o.cArrayName || o.details || o.load ||
                    phase_ || o.tuner.powerDown || *mode_),
         "--plan chooses the clock; it takes no -c, --ref-hz, --ppm, --spectrum, --decode, --calibrate, --sweep, "
         "--emit, --c-array, --details, --load, --phase, --power-down or --mode"},
        {o.plan && o.frequencies.size() != 1, "--plan takes one FREQUENCY"},
        {o.svg && !o.spectrum, "--svg belongs to --spectrum"},
        {o.svg && (o.frequencies.size() != 1 || csv_),
         "--svg plots one FREQUENCY given on the command line, without --csv"},
        {o.spectrum && (o.decode || o.sweep || o.cArrayName || o.details || o.load || phase_ || o.tuner.powerDown ||
                        *mode_ || *emit_ || pins_ || *name_),
         "--spectrum shows what the chip puts out; it takes no --decode, --sweep, --c-array, --details, --load, "
         "--phase, --power-down, --mode or --emit"},
        {o.decode && (o.sweep || csv_ || o.cArrayName || o.details || o.load || phase_ || o.tuner.powerDown || *emit_ ||
                      pins_ || *name_ || o.strict || truncate_ || *unit_),
         "--decode reads words; it takes only --mode, -c, --ref-hz, --ppm, --no-multiplier and --chip"},
        {(pins_ || *name_) && !*emit_, "--pins and --name belong to --emit"},
        {*emit_ && (csv_ || o.cArrayName || o.details),
         "--emit writes source code; it takes no --csv, --c-array or --details"},
        {calibrate_ && (!o.frequencies.empty() || o.sweep || o.decode || o.spectrum || *emit_ || csv_ || o.cArrayName),
         "--calibrate takes no FREQUENCY, --sweep, --decode, --spectrum, --emit, --csv or --c-array"},
    };
    for (const auto& [conflict, message] : conflicts)
        if (conflict)
            return UsageError{message};

    o.format = csv_ ? Format::Csv : Format::Lines;
    if (*unit_)
        o.tuner.unit = unit_->as<calc::UnitIndex>();
    if (*mode_)
        o.tuner.mode = mode_->as<calc::DataMode>();
    if (*chip_)
        o.tuner.clock.chip = chip_->as<calc::Chip>();
    o.tuner.clock.multiplier = !noMultiplier_;
    o.tuner.clock.crystalMHz = o.crystal;
    if (o.referenceHz)
        o.tuner.clock.referenceHz = *o.referenceHz;
    if (o.ppm)
        o.tuner.clock.ppm = *o.ppm;
    o.tuner.rounding = truncate_ ? calc::Rounding::Down : calc::Rounding::NearestHalfUp;
    if (phase_) {
        try {
            o.tuner.phaseSteps = calc::phaseStepsFromDegrees(*phase_);
        } catch (const calc::CalcError& e) {
            return UsageError{std::string("--phase: ") + e.what()};
        }
    }
    if (*emit_) {
        o.emit = emit_->as<calc::DriverTarget>();
        try {
            const calc::DriverPins defaults = calc::defaultDriverPins(*o.emit);
            o.pins = pins_ ? calc::parseDriverPins(*pins_, defaults) : defaults;
        } catch (const calc::CalcError& e) {
            return UsageError{std::string("--pins: ") + e.what()};
        }
        try {
            calc::checkDriverName(o.driverName);
        } catch (const calc::CalcError& e) {
            return UsageError{std::string("--name: ") + e.what()};
        }
    }
    if (calibrate_) {
        const std::size_t colon = calibrate_->find(':');
        if (colon == std::string::npos)
            return UsageError{"--calibrate needs PROGRAMMED:MEASURED, two frequencies and a colon"};
        o.calibration.emplace(calibrate_->substr(0, colon), calibrate_->substr(colon + 1));
    }
    o.load = o.load || phase_ || o.tuner.powerDown || o.emit;
    try {
        readSpectrumSettings();
    } catch (const std::invalid_argument& e) {
        return UsageError{e.what()};
    }
    return o.plan ? readPlanSettings() : std::nullopt;
}

std::optional<UsageError> CommandLine::readPlanSettings()
{
    Options& o = options_;
    calc::PlanSettings& plan = o.planSettings;
    plan.unit = o.tuner.unit;
    plan.chip = o.tuner.clock.chip;
    plan.multiplier = o.tuner.clock.multiplier;
    plan.rounding = o.tuner.rounding;
    plan.spectrum = o.spectrumSettings;
    try {
        if (refs_)
            plan.referencesHz = calc::splitReferenceList(*refs_);
    } catch (const calc::CalcError& e) {
        return UsageError{std::string("--refs: ") + e.what()};
    }
    try {
        if (band_)
            plan.band = calc::readFrequencyBand(*band_, plan.unit);
    } catch (const calc::CalcError& e) {
        return UsageError{std::string("--band: ") + e.what()};
    }
    if (top_) {
        try {
            const int top = readWholeNumber(*top_, "--top");
            if (top < 1)
                return UsageError{"--top " + quotedText(*top_) + " must be 1 or more"};
            o.top = static_cast<std::size_t>(top);
        } catch (const std::invalid_argument& e) {
            return UsageError{e.what()};
        }
    }
    return std::nullopt;
}

void CommandLine::readSpectrumSettings()
{
    calc::SpectrumSettings& settings = options_.spectrumSettings;
    // Each value is checked alone, so that its message names it.
    const auto read = [&settings](const std::optional<std::string>& text, const char* name, auto set) {
        if (!text)
            return;
        calc::SpectrumSettings alone;
        set(alone, *text);
        checkSpectrumSetting(alone, name, *text);
        set(settings, *text);
    };
    read(images_, "--images", [](auto& s, const std::string& t) { s.images = readWholeNumber(t, "--images"); });
    read(harmonics_, "--harmonics",
         [](auto& s, const std::string& t) { s.harmonics = readWholeNumber(t, "--harmonics"); });
    read(harmonicDbc_, "--harmonic-dbc",
         [](auto& s, const std::string& t) { s.harmonicDbc = readNumber(t, "--harmonic-dbc"); });
    if (filter_)
        settings.filter = readFilter(*filter_);
}

std::string CommandLine::help() const { return app_.help(); }

std::string CommandLine::bashCompletion() const { return cli::bashCompletion(app_, helpPage, choices_); }

} // namespace cli
