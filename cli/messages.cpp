#include "cli/messages.h"

#include <cerrno>
#include <cstring>

namespace cli {

namespace {

constexpr std::string_view program = "ad9851-word: ";

void writeMessage(std::string_view what) { writeAll(2, std::string(program).append(what).append("\n")); }

// A failed write of standard output, as coreutils words it; nothing for a
// reader that went away, which knows it.
void writeError(int error)
{
    if (error != EPIPE)
        writeMessage(std::string("write error: ") + std::strerror(error));
}

} // namespace

std::string quotedText(std::string_view text)
{
    constexpr std::size_t shown = 200;
    std::string q = "\"";
    for (const char c : text.substr(0, shown)) {
        if (c == '\n')
            q += "\\n";
        else if (c == '\r')
            q += "\\r";
        else
            q += c;
    }
    return q + (text.size() > shown ? "...\"" : "\"");
}

void Messages::error(const Source& source, std::string_view what)
{
    std::string line;
    if (source.line != 0)
        line += "line " + std::to_string(source.line) + ": ";
    line += quotedText(source.text) + ": " + std::string(what);
    say(line);
    failed_ = true;
}

void Messages::lineTooLong(std::uint64_t number)
{
    say("line " + std::to_string(number) + ": longer than 1 MiB");
    failed_ = true;
}

void Messages::warning(std::string_view what) { say("warning: " + std::string(what)); }

void Messages::fatal(std::string_view what)
{
    say(what);
    failed_ = true;
}

void Messages::say(std::string_view what)
{
    output_.flush();
    writeMessage(what);
}

int usageError(std::string_view message)
{
    writeMessage(std::string(message) + "\nTry 'ad9851-word --help' for more information.");
    return 2;
}

int writeOut(std::string_view text)
{
    if (writeAll(1, text))
        return 0;
    writeError(errno);
    return 1;
}

int finishRun(Output& output, const Messages& messages, bool inputRead)
{
    output.flush();
    if (!inputRead)
        writeMessage("cannot read standard input");
    if (output.failed())
        writeError(output.error());
    return (messages.failed() || !inputRead || output.failed()) ? 1 : 0;
}

} // namespace cli
