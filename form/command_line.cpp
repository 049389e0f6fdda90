#include "form/command_line.h"

#include "ad9851/version.h"

#include <cstdio>

namespace form {

namespace {

constexpr std::string_view program = "ad9851-calc";

constexpr std::string_view about =
    "\n"
    "Opens the AD9851 tuning-word calculator (AD9851 计算软件): type the output\n"
    "frequency and its unit, the crystal frequency in MHz, pick serial or\n"
    "parallel loading and press 计算 (or Enter).  The result box shows the\n"
    "32-bit tuning word as a line of C, for example\n"
    "{0x1A,0x76,0x05,0x00},//10KHz; its tooltip shows the actual output\n"
    "frequency, the step size and the 40-bit load.\n"
    "\n"
    "  -h, --help     show this help and exit\n"
    "      --version  show the version and exit\n"
    "\n";

std::string usage(bool qtOptions)
{
    if (qtOptions)
        return "Usage: ad9851-calc [--help] [--version] [Qt options]\n" + std::string(about) +
               "Qt's own options, such as -platform, are passed on.  For scripts and\n"
               "tables, see ad9851-word(1).\n";
    return "Usage: ad9851-calc [--help] [--version]\n" + std::string(about) +
           "For scripts and tables, see ad9851-word.\n";
}

// The argument as it can be shown on a terminal: control characters and
// bytes that are not printable ASCII or UTF-8 written as \xNN.
std::string shown(std::string_view arg)
{
    std::string out;
    for (const char c : arg) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
            out += escaped;
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace

std::optional<Reply> helpOrVersion(const std::vector<std::string>& args, bool qtOptions)
{
    for (const std::string& arg : args) {
        if (arg == "--")
            break;
        if (arg == "-h" || arg == "--help")
            return Reply{0, usage(qtOptions), {}};
        if (arg == "--version")
            return Reply{0, std::string(program) + " " AD9851_VERSION "\n", {}};
    }
    return std::nullopt;
}

std::optional<Reply> refuseArguments(const std::vector<std::string>& args)
{
    if (args.empty())
        return std::nullopt;
    const std::string& arg = args.front();
    const bool option = arg.size() > 1 && arg.front() == '-';
    return Reply{2,
                 {},
                 std::string(program) + ": " + (option ? "unknown option '" : "unexpected argument '") + shown(arg) +
                     "' (see " + std::string(program) + " --help)\n"};
}

} // namespace form
