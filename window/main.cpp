// ad9851-calc: the AD9851 tuning-word calculator window.

#include "ad9851/version.h"
#include "window/startup.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

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

#ifdef Q_OS_LINUX
// The value of an environment variable, empty when it is not set.
std::string_view environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

// Whether the platform Qt is about to use has a display to show the window
// on.  Qt itself would abort without one; only the X11 and Wayland
// platforms need a display server, the others (offscreen, vnc...) do not.
bool haveDisplay(int argc, char** argv)
{
    std::string_view platform = environment("QT_QPA_PLATFORM");
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0)
            platform = argv[i + 1];
    const bool x11 = !environment("DISPLAY").empty();
    const bool wayland = !environment("WAYLAND_DISPLAY").empty();
    if (platform.empty())
        return x11 || wayland;
    if (platform.starts_with("xcb"))
        return x11;
    if (platform.starts_with("wayland"))
        return wayland;
    return true;
}
#endif

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
#ifdef Q_OS_LINUX
    if (!haveDisplay(argc, argv)) {
        std::fputs("ad9851-calc: no display to open the window on (DISPLAY or WAYLAND_DISPLAY);\n"
                   "run it in a graphical session, or use ad9851-word on the command line\n",
                   stderr);
        return 1;
    }
#endif
    QApplication app(argc, argv);
    prepareApplication(app);
    return runCalculator(app);
}
