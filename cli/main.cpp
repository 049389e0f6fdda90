// ad9851-word: AD9851 and AD9850 tuning words for scripts and tables, one
// line of C per frequency, and the way back from a word to its frequency.

#include "ad9851/version.h"
#include "cli/io.h"
#include "cli/messages.h"
#include "cli/options.h"
#include "cli/run.h"

#include <csignal>
#include <optional>
#include <stdexcept>

int main(int argc, char** argv)
{
#ifdef SIGPIPE
    // A reader that goes away ends the run with status 1, as on Windows,
    // rather than with the signal.
    std::signal(SIGPIPE, SIG_IGN);
#endif
    cli::Options options;
    cli::CommandLine commandLine(options);
    if (const auto error = commandLine.parse(argc, argv))
        return cli::usageError(error->message);
    if (options.help)
        return cli::writeOut(commandLine.help());
    if (options.version)
        return cli::writeOut("ad9851-word " AD9851_VERSION "\n");
    if (options.bashCompletion)
        return cli::writeOut(commandLine.bashCompletion());

    if (options.calibration || options.plan) {
        cli::Output output;
        cli::Messages messages(output);
        return options.plan ? cli::planClocks(options, output, messages)
                            : cli::calibrateClock(options, output, messages);
    }

    std::optional<cli::Inputs> inputs;
    try {
        inputs.emplace(options);
    } catch (const std::invalid_argument& e) {
        return cli::usageError(e.what());
    }
    if (inputs->fromStdin() && cli::stdinIsTerminal())
        return cli::usageError("no FREQUENCY given and standard input is a terminal");

    cli::Output output;
    cli::Messages messages(output);
    if (options.decode)
        return cli::decodeAll(options, *inputs, output, messages);
    if (options.spectrum)
        return cli::spectrumAll(options, *inputs, output, messages);
    return cli::tuneAll(options, *inputs, output, messages);
}
