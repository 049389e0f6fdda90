// ad9851-calc: the AD9851 tuning-word calculator window.

#include "form/command_line.h"
#include "window/startup.h"

#include <QApplication>

#include <cstdio>
#include <string>
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

} // namespace

int main(int argc, char** argv)
{
    // Answered before Qt starts, so that they need no display.
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (const auto reply = form::helpOrVersion(args, true))
        return answer(*reply);
    QApplication app(argc, argv);
    // Qt has taken its own options out; anything left is a mistake.
    if (const auto reply = form::refuseArguments({argv + 1, argv + argc}))
        return answer(*reply);
    prepareApplication(app);
    return runCalculator(app);
}
