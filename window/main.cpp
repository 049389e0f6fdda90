// ad9851-calc: the AD9851 tuning-word calculator window.

#include "ad9851/version.h"
#include "window/startup.h"

#include <QApplication>

#include <cstdio>
#include <cstring>

namespace {

constexpr const char* usage =
    "Usage: ad9851-calc [--help] [--version] [Qt options]\n"
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
    "\n"
    "Qt's own options, such as -platform, are passed on.  For scripts and\n"
    "tables, see ad9851-word(1).\n";

// Writes `text` to standard output; the exit status says whether it worked.
int print(const char* text)
{
    const bool ok = std::fputs(text, stdout) >= 0 && std::fflush(stdout) == 0;
    if (!ok)
        std::fputs("ad9851-calc: cannot write standard output\n", stderr);
    return ok ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    // Answered before Qt starts, so that they need no display.
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0)
            return print(usage);
        if (std::strcmp(argv[i], "--version") == 0)
            return print("ad9851-calc " AD9851_VERSION "\n");
    }
    QApplication app(argc, argv);
    prepareApplication(app);
    return runCalculator(app);
}
