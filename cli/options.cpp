#include "cli/options.h"

#include "calc/control_byte.h"
#include "calc/errors.h"
#include "calc/units.h"

#include <CLI/CLI.hpp>

namespace cli {

const char* const usageText =
    "Usage: ad9851-word [OPTION]... [--] [FREQUENCY]...\n"
    "\n"
    "Prints the AD9851 (or AD9850) frequency tuning word for each FREQUENCY as a\n"
    "line of C, for example {0x1A,0x76,0x05,0x00},//10KHz.  Without FREQUENCY\n"
    "arguments (and without --sweep), reads one frequency per line from standard\n"
    "input.\n"
    "\n"
    "Word and output:\n"
    "  -u, --unit UNIT       unit of the frequencies: Hz, KHz or MHz (default KHz)\n"
    "  -m, --mode MODE       serial: least significant byte first (default);\n"
    "                        parallel: most significant byte first\n"
    "      --load            the whole 40-bit load, control byte W0 included:\n"
    "                        parallel {W0,W1,W2,W3,W4}, serial {W4,W3,W2,W1,W0}\n"
    "      --phase DEG       phase in W0: the nearest 11.25-degree step, modulo\n"
    "                        360 (implies --load)\n"
    "      --power-down      set W0's power-down bit (implies --load)\n"
    "      --details         append, tab-separated: the word in decimal, the\n"
    "                        frequency the chip produces in Hz (to the mHz), its\n"
    "                        deviation from the requested one and the step size\n"
    "      --csv             CSV (RFC 4180) with a header line instead of C lines\n"
    "      --c-array NAME    wrap the lines in const unsigned char NAME[][4] = {...};\n"
    "      --sweep START:STOP:STEP\n"
    "                        the frequencies START, START+STEP, ... up to STOP\n"
    "      --strict          a FREQUENCY must be a number and nothing else\n"
    "      --decode          the arguments or lines are words to explain: a\n"
    "                        result line, a byte list, 357914 or 0x5761A\n"
    "\n"
    "Clock:\n"
    "  -c, --crystal MHZ     crystal frequency in MHz, rounded to a whole MHz as\n"
    "                        the calculator window does, 1 to 5461 (default 20)\n"
    "      --ref-hz HZ       the exact reference frequency in Hz, instead of -c\n"
    "      --ppm PPM         the reference runs PPM parts per million fast\n"
    "                        (positive) or slow (negative): the clock used is\n"
    "                        nominal x (1 + PPM/1000000)\n"
    "      --no-multiplier   the system clock is the reference itself (W0 D0 = 0);\n"
    "                        otherwise it is six times the reference\n"
    "      --chip CHIP       ad9851 (default) or ad9850 (no multiplier)\n"
    "      --truncate        round the word down instead of to nearest\n"
    "\n"
    "With the crystal and the multiplier alone, words are computed exactly as the\n"
    "calculator window computes them.  With --ref-hz, --ppm, --no-multiplier,\n"
    "--chip ad9850 or --truncate they are computed in exact arithmetic, an exact\n"
    "half rounding up.\n"
    "\n"
    "  -h, --help            show this help\n"
    "      --version         show the version\n"
    "\n"
    "Exit status: 0 when every frequency gave a line, 1 when any failed or the\n"
    "clock is unusable, 2 on a usage error.\n";

namespace {

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

} // namespace

std::optional<UsageError> parseArguments(int argc, char** argv, Options& o)
{
    CLI::App app;
    app.set_help_flag();
    std::string unit = "KHz", mode = "serial", chip = "ad9851";
    std::optional<std::string> phase;
    bool noMultiplier = false, truncate = false, csv = false;
    app.add_flag("-h,--help", o.help);
    app.add_flag("--version", o.version);
    app.add_option("-c,--crystal", o.crystal);
    app.add_option("-u,--unit", unit);
    app.add_option("-m,--mode", mode);
    app.add_flag("--details", o.details);
    app.add_flag("--load", o.load);
    app.add_option("--phase", phase);
    app.add_flag("--power-down", o.tuner.powerDown);
    app.add_option("--ref-hz", o.referenceHz);
    app.add_option("--ppm", o.ppm);
    app.add_flag("--no-multiplier", noMultiplier);
    app.add_option("--chip", chip);
    app.add_flag("--truncate", truncate);
    app.add_option("--sweep", o.sweep);
    app.add_option("--c-array", o.cArrayName);
    app.add_flag("--csv", csv);
    app.add_flag("--decode", o.decode);
    app.add_flag("--strict", o.strict);
    app.add_option("FREQUENCY", o.frequencies);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        return UsageError{e.what()};
    }
    if (o.help || o.version)
        return std::nullopt;

    const auto u = calc::unitFromName(unit);
    if (!u)
        return UsageError{"unknown unit '" + unit + "' (use Hz, KHz or MHz)"};
    const auto m = calc::dataModeFromName(mode);
    if (!m)
        return UsageError{"unknown mode '" + mode + "' (use serial or parallel)"};
    const auto c = calc::chipFromName(chip);
    if (!c)
        return UsageError{"unknown chip '" + chip + "' (use ad9851 or ad9850)"};
    if (o.cArrayName && !isCIdentifier(*o.cArrayName))
        return UsageError{"--c-array: '" + *o.cArrayName + "' is not a C identifier"};
    if (csv && o.cArrayName)
        return UsageError{"--csv and --c-array cannot be used together"};
    if (o.sweep && !o.frequencies.empty())
        return UsageError{"--sweep and FREQUENCY arguments cannot be used together"};
    if (o.decode && (o.sweep || csv || o.cArrayName || o.details || o.load || phase || o.tuner.powerDown))
        return UsageError{"--decode reads words; it takes only the clock options, --mode and --unit"};

    o.format = csv ? Format::Csv : Format::Lines;
    o.tuner.unit = *u;
    o.tuner.mode = *m;
    o.tuner.clock.chip = *c == 1 ? calc::Chip::AD9850 : calc::Chip::AD9851;
    o.tuner.clock.multiplier = !noMultiplier;
    o.tuner.clock.crystalMHz = o.crystal;
    if (o.referenceHz)
        o.tuner.clock.referenceHz = *o.referenceHz;
    if (o.ppm)
        o.tuner.clock.ppm = *o.ppm;
    o.tuner.rounding = truncate ? calc::Rounding::Down : calc::Rounding::NearestHalfUp;
    if (phase) {
        try {
            o.tuner.phaseSteps = calc::phaseStepsFromDegrees(*phase);
        } catch (const calc::CalcError& e) {
            return UsageError{std::string("--phase: ") + e.what()};
        }
    }
    o.load = o.load || phase || o.tuner.powerDown;
    return std::nullopt;
}

} // namespace cli
