// ad9851-calc: the AD9851 tuning-word calculator window.

#include "form/command_line.h"
#include "window/startup.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace {

// Writes a reply to the command line; its status, or 1 when it cannot be
// written.
int answer(const form::Reply& reply)
{
    const bool ok = std::fputs(reply.out.c_str(), stdout) >= 0 && std::fflush(stdout) == 0;
    std::fputs(reply.err.c_str(), stderr);
    if (!ok)
        std::fputs("ad9851-calc: cannot write standard output\n", stderr);
    return ok ? reply.status : 1;
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
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (const auto reply = form::helpOrVersion(args, true))
        return answer(*reply);
#ifdef Q_OS_LINUX
    if (!haveDisplay(argc, argv)) {
        std::fputs(
            "ad9851-calc: no display to open the window on (DISPLAY or WAYLAND_DISPLAY);\n"
            "run it in a graphical session, or use ad9851-word on the command line\n",
            stderr);
        return 1;
    }
#endif
    QApplication app(argc, argv);
    // Qt has taken its own options out; anything left is a mistake.
    if (const auto reply = form::refuseArguments({argv + 1, argv + argc}))
        return answer(*reply);
    prepareApplication(app);
    return runCalculator(app);
}
