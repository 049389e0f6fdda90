// ad9851-word: AD9851 tuning words for scripts and word tables, one result
// line per frequency, computed exactly as the calculator window does.

#include "ad9851/version.h"
#include "calc/calculation.h"
#include "calc/details.h"
#include "calc/errors.h"
#include "calc/units.h"
#include "cli/input.h"

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr std::string_view program = "ad9851-word";

constexpr std::string_view usage =
    "Usage: ad9851-word [--crystal MHZ] [--unit Hz|KHz|MHz] [--mode serial|parallel]\n"
    "                   [--details] [--] [FREQUENCY...]\n"
    "\n"
    "Prints the AD9851 frequency tuning word for each FREQUENCY as a C array\n"
    "initializer, for example {0x1A,0x76,0x05,0x00},//10KHz.  The system clock\n"
    "is six times the crystal frequency.  Without FREQUENCY arguments, reads one\n"
    "frequency per line from standard input.\n"
    "\n"
    "  -c, --crystal MHZ   crystal frequency in MHz, rounded to a whole MHz,\n"
    "                      1 to 5461 (default 20)\n"
    "  -u, --unit UNIT     unit of the frequencies: Hz, KHz or MHz (default KHz)\n"
    "  -m, --mode MODE     serial: least significant byte first (default);\n"
    "                      parallel: most significant byte first\n"
    "      --details       append, tab-separated: the word in decimal, the\n"
    "                      frequency the chip produces in Hz (to the mHz) and\n"
    "                      its deviation from the requested one in Hz\n"
    "      --              end of options (for frequencies such as -10)\n"
    "  -h, --help          show this help\n"
    "      --version       show the version\n"
    "\n"
    "Exit status: 0 when every frequency gave a line, 1 when any failed,\n"
    "2 on a usage error.\n";

struct Options {
    std::string_view crystal = "20";
    std::int16_t unit = calc::KHz;
    std::int16_t mode = calc::Serial;
    bool details = false;
    bool help = false;
    bool version = false;
    std::vector<std::string_view> frequencies;
};

void printLine(std::FILE* stream, std::string_view text)
{
    std::fwrite(text.data(), 1, text.size(), stream);
    std::fputc('\n', stream);
}

int usageError(std::string_view message)
{
    printLine(stderr, std::string(program) + ": " + std::string(message));
    std::fwrite(usage.data(), 1, usage.size(), stderr);
    return 2;
}

// Parses the arguments; returns an error message, or nothing on success.
std::optional<std::string> parse(int argc, char** argv, Options& o)
{
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            o.frequencies.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (arg == "-h" || arg == "--help") {
            o.help = true;
            continue;
        }
        if (arg == "--version") {
            o.version = true;
            continue;
        }
        if (arg == "--details") {
            o.details = true;
            continue;
        }
        // Options with a value: "-c 20", "-c20", "--crystal 20", "--crystal=20".
        std::string_view name = arg;
        std::optional<std::string_view> value;
        if (arg.starts_with("--")) {
            if (const auto eq = arg.find('='); eq != std::string_view::npos) {
                name = arg.substr(0, eq);
                value = arg.substr(eq + 1);
            }
        } else if (arg.size() > 2) {
            name = arg.substr(0, 2);
            value = arg.substr(2);
        }
        const bool crystal = name == "-c" || name == "--crystal";
        const bool unit = name == "-u" || name == "--unit";
        const bool mode = name == "-m" || name == "--mode";
        if (!crystal && !unit && !mode)
            return "unknown option '" + std::string(arg) + "'";
        if (!value) {
            if (i + 1 >= argc)
                return "option '" + std::string(name) + "' needs a value";
            value = argv[++i];
        }
        if (crystal) {
            o.crystal = *value;
        } else if (unit) {
            const auto u = calc::unitFromName(*value);
            if (!u)
                return "unknown unit '" + std::string(*value) + "' (use Hz, KHz or MHz)";
            o.unit = *u;
        } else {
            const auto m = calc::dataModeFromName(*value);
            if (!m)
                return "unknown mode '" + std::string(*value) + "' (use serial or parallel)";
            o.mode = *m;
        }
    }
    return std::nullopt;
}

// `what` names the input when it is not a frequency ("crystal ").
std::string inputMessage(std::string_view input, const calc::CalcError& e, std::string_view what = {})
{
    return std::string(program) + ": " + std::string(what) + "\"" + std::string(input) + "\": " + e.what();
}

void appendFixed3(std::string& out, double value, bool withSign)
{
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, 3);
    if (withSign && value >= 0)
        out += '+';
    out.append(buf, r.ptr);
}

void appendDetails(std::string& out, const calc::CalcState& state)
{
    const calc::WordDetails d = calc::wordDetails(state);
    char buf[32];
    out += '\t';
    out.append(buf, std::to_chars(buf, buf + sizeof buf, d.word).ptr);
    out += '\t';
    const std::int64_t mhz = d.actualMilliHz;
    const std::uint64_t abs = std::uint64_t(mhz < 0 ? -mhz : mhz);
    if (mhz < 0)
        out += '-';
    out.append(buf, std::to_chars(buf, buf + sizeof buf, abs / 1000).ptr);
    out += '.';
    const auto frac = std::to_string(1000 + abs % 1000); // "1ddd"
    out.append(frac, 1, 3);
    out += '\t';
    appendFixed3(out, d.deviationHz, true);
}

class Calculator {
public:
    explicit Calculator(const Options& o) : options_(o), caption_(*calc::unitCaption(o.unit))
    {
        state_.mode1 = o.unit;
        state_.mode2 = o.mode;
    }

    void run(std::string_view F)
    {
        std::string& out = output_.buffer();
        try {
            calc::calculate(state_, {F, options_.crystal, F, caption_}, out);
        } catch (const calc::CalcError& e) {
            failed_ = true;
            printLine(stderr, inputMessage(F, e));
            return;
        }
        if (options_.details)
            appendDetails(out, state_);
        out += '\n';
        if (!output_.maybeFlush())
            writeFailed_ = true;
    }

    bool flush()
    {
        if (!output_.flush())
            writeFailed_ = true;
        return !writeFailed_;
    }
    bool failed() const { return failed_; }

private:
    const Options& options_;
    std::string_view caption_;
    calc::CalcState state_;
    cli::Output output_;
    bool failed_ = false;
    bool writeFailed_ = false;
};

} // namespace

int main(int argc, char** argv)
{
    Options options;
    if (const auto error = parse(argc, argv, options))
        return usageError(*error);
    if (options.help) {
        std::fwrite(usage.data(), 1, usage.size(), stdout);
        return 0;
    }
    if (options.version) {
        printLine(stdout, AD9851_VERSION);
        return 0;
    }
    const bool fromStdin = options.frequencies.empty();
    if (fromStdin && cli::stdinIsTerminal())
        return usageError("no FREQUENCY given and standard input is a terminal");
    // A crystal that fails for one frequency fails for all of them: say so once.
    try {
        calc::readCrystalMHz(options.crystal);
    } catch (const calc::CalcError& e) {
        printLine(stderr, inputMessage(options.crystal, e, "crystal "));
        return 1;
    }

    Calculator calculator(options);
    bool readOk = true;
    if (fromStdin) {
        readOk = cli::forEachInputLine([&](std::string_view F) { calculator.run(F); },
                                       [&] { calculator.flush(); });
    } else {
        for (const std::string_view F : options.frequencies)
            calculator.run(F);
    }
    const bool writeOk = calculator.flush();
    if (!readOk)
        printLine(stderr, std::string(program) + ": cannot read standard input");
    if (!writeOk)
        printLine(stderr, std::string(program) + ": cannot write standard output");
    return (calculator.failed() || !readOk || !writeOk) ? 1 : 0;
}
