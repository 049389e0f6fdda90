#include "cli/messages.h"

#include "calc/spectrum_table.h"
#include "calc/text_format.h"

#include <cerrno>
#include <cstring>

namespace cli {

namespace {

constexpr std::string_view program = "ad9851-word: ";

// The length of the UTF-8 sequence at the start of `text` when it is a
// valid one and no control character; 0 otherwise.
std::size_t printableSequence(std::string_view text)
{
    const auto byte = [&](std::size_t i) { return i < text.size() ? static_cast<unsigned char>(text[i]) : 0u; };
    const unsigned lead = byte(0);
    if (lead >= 0x20 && lead < 0x7F)
        return 1;
    // The bounds of the second byte, and the length, by the lead byte.
    unsigned low = 0x80, high = 0xBF;
    std::size_t length = 0;
    if (lead == 0xC2)
        low = 0xA0, length = 2; // U+0080..U+009F are the C1 controls
    else if (lead >= 0xC3 && lead <= 0xDF)
        length = 2;
    else if (lead == 0xE0)
        low = 0xA0, length = 3;
    else if (lead == 0xED)
        high = 0x9F, length = 3; // no surrogates
    else if (lead >= 0xE1 && lead <= 0xEF)
        length = 3;
    else if (lead == 0xF0)
        low = 0x90, length = 4;
    else if (lead >= 0xF1 && lead <= 0xF3)
        length = 4;
    else if (lead == 0xF4)
        high = 0x8F, length = 4;
    else
        return 0;
    if (byte(1) < low || byte(1) > high)
        return 0;
    for (std::size_t i = 2; i < length; ++i)
        if (byte(i) < 0x80 || byte(i) > 0xBF)
            return 0;
    return length;
}

// The text with every control character and every byte that is not part
// of valid UTF-8 written as an escape (\n, \r, \t, \e, \xHH), so that a
// message can neither break its line nor drive the terminal.
std::string visibleText(std::string_view text)
{
    std::string shown;
    while (!text.empty()) {
        if (const std::size_t n = printableSequence(text)) {
            shown.append(text.substr(0, n));
            text.remove_prefix(n);
            continue;
        }
        const auto c = static_cast<unsigned char>(text.front());
        text.remove_prefix(1);
        switch (c) {
        case '\n':
            shown += "\\n";
            break;
        case '\r':
            shown += "\\r";
            break;
        case '\t':
            shown += "\\t";
            break;
        case 0x1B:
            shown += "\\e";
            break;
        default: {
            static constexpr char hex[] = "0123456789abcdef";
            shown += "\\x";
            shown += hex[c >> 4];
            shown += hex[c & 0xF];
        }
        }
    }
    return shown;
}

void writeMessage(std::string_view what) { writeAll(2, std::string(program) + visibleText(what) + "\n"); }

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
    // Appended piece by piece (GCC 12 warns wrongly about chains of +).
    std::string quoted = "\"";
    quoted += text.substr(0, shown);
    quoted += text.size() > shown ? "...\"" : "\"";
    return quoted;
}

namespace {
// "line 3: "70": what", the line number when the input came from standard
// input.
std::string aboutSource(const Source& source, std::string_view what)
{
    std::string line;
    if (source.line != 0)
        line += "line " + std::to_string(source.line) + ": ";
    line += quotedText(source.text) + ": " + std::string(what);
    return line;
}
} // namespace

void Messages::error(const Source& source, std::string_view what)
{
    say(aboutSource(source, what));
    failed_ = true;
}

void Messages::warning(const Source& source, std::string_view what) { warning(aboutSource(source, what)); }

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

std::string concernText(const calc::Spectrum& spectrum, const calc::SpectrumConcern& concern)
{
    const calc::SpectralComponent& c = spectrum.components.at(concern.component);
    const calc::SpectralComponent& output = spectrum.output();
    const std::string component = std::string(calc::componentName(c.kind)) + " " + calc::componentOrderText(c) +
                                  " at " + calc::formatHz(c.milliHz) + " Hz";
    switch (concern.kind) {
    case calc::SpectrumConcern::Kind::OnOutput:
        return component + " lands on the output at " + calc::formatHz(output.milliHz) + " Hz";
    case calc::SpectrumConcern::Kind::NearOutput: {
        const std::uint64_t apart =
            c.milliHz > output.milliHz ? c.milliHz - output.milliHz : output.milliHz - c.milliHz;
        return component + " lies " + calc::formatHz(apart) +
               " Hz from the output, within 1 % of the clock, where no filter can take it away";
    }
    case calc::SpectrumConcern::Kind::StrongImage: {
        const double dbc = c.filteredDbc.value_or(c.levelDbc);
        const std::string where = c.filteredDbc ? " the output after the filter" : " the output";
        // A filter's ripple can lift an image near fc/2 above the output.
        return dbc > 0 ? component + " is " + calc::formatDb(dbc) + " dB above" + where
                       : component + " is only " + calc::formatDb(-dbc) + " dB below" + where;
    }
    }
    return component;
}

int usageError(std::string_view message)
{
    writeAll(2, std::string(program) + visibleText(message) + "\nTry 'ad9851-word --help' for more information.\n");
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
