// ad9851-word: AD9851 and AD9850 tuning words for scripts and tables, one
// line of C per frequency, and the way back from a word to its frequency.

#include "ad9851/version.h"
#include "calc/decode.h"
#include "calc/errors.h"
#include "calc/result_line.h"
#include "calc/sweep.h"
#include "calc/text_format.h"
#include "calc/tuner.h"
#include "cli/io.h"
#include "cli/options.h"

#include <charconv>
#include <new>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

namespace {

constexpr std::string_view program = "ad9851-word: ";

// An input as it is named in messages: its text, and its line number when
// it came from standard input.
struct Source {
    std::string_view text;
    std::uint64_t line = 0;
};

// The text for a message: line breaks shown as \r and \n, long texts cut.
std::string quoted(std::string_view text)
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

bool hasLineBreak(std::string_view text) { return cli::lineEnd(text) != text.size(); }

void appendNumber(std::string& out, std::uint64_t value)
{
    char buf[24];
    out.append(buf, std::to_chars(buf, buf + sizeof buf, value).ptr);
}

// Where messages go: standard output is flushed first, and each message
// is one write.
class Messages {
public:
    explicit Messages(cli::Output& output) : output_(output) {}

    void error(const Source& source, std::string_view what)
    {
        std::string line(program);
        if (source.line != 0)
            line += "line " + std::to_string(source.line) + ": ";
        line += quoted(source.text) + ": " + std::string(what) + "\n";
        say(line);
        failed_ = true;
    }
    void lineTooLong(std::uint64_t number)
    {
        say(std::string(program) + "line " + std::to_string(number) + ": longer than 1 MiB\n");
        failed_ = true;
    }
    void warning(std::string_view what) { say(std::string(program) + "warning: " + std::string(what) + "\n"); }
    void fatal(std::string_view what) { say(std::string(program) + std::string(what) + "\n"); }
    bool failed() const { return failed_; }

private:
    void say(const std::string& line)
    {
        output_.flush();
        cli::writeAll(2, line);
    }
    cli::Output& output_;
    bool failed_ = false;
};

int usageError(std::string_view message)
{
    cli::writeAll(2, std::string(program) + std::string(message) +
                         "\nTry 'ad9851-word --help' for more information.\n");
    return 2;
}

// Writes the words in the chosen form: C lines, optionally inside an
// array, or CSV rows.
class Printer {
public:
    Printer(const cli::Options& options, const calc::Tuner& tuner, cli::Output& output)
        : options_(options), tuner_(tuner), out_(output.buffer())
    {
        if (options_.format == cli::Format::Csv)
            out_ += "frequency,unit,word,bytes,actual_hz,deviation_hz,step_hz\r\n";
    }

    void print(const calc::Tuned& tuned, std::string_view comment)
    {
        if (options_.format == cli::Format::Csv)
            printCsvRow(tuned, comment);
        else
            printLine(tuned, comment);
    }

    // Closes the array.  An array with no line is not written at all: C
    // has no empty array.
    void finish()
    {
        if (arrayOpen_)
            out_ += "};\n";
    }

private:
    std::span<const std::uint8_t> bytesOf(std::uint32_t word)
    {
        if (options_.load) {
            load_ = tuner_.loadBytes(word);
            return load_;
        }
        word_ = tuner_.wordBytes(word);
        return word_;
    }

    void printLine(const calc::Tuned& tuned, std::string_view comment)
    {
        if (options_.cArrayName) {
            if (!arrayOpen_) {
                out_ += "const unsigned char " + *options_.cArrayName + (options_.load ? "[][5] = {\n" : "[][4] = {\n");
                arrayOpen_ = true;
            }
            out_ += "    ";
        }
        calc::appendResultLine(out_, bytesOf(tuned.word), comment, tuner_.unitCaption());
        if (options_.details) {
            const calc::WordDetails d = tuner_.details(tuned);
            out_ += '\t';
            appendNumber(out_, d.word);
            out_ += '\t';
            out_ += calc::formatHz(d.actualMilliHz);
            out_ += '\t';
            out_ += calc::formatDeviationHz(d.deviationHz);
            out_ += '\t';
            out_ += calc::formatStepHz(d.stepMicroHz);
        }
        out_ += '\n';
    }

    void printCsvRow(const calc::Tuned& tuned, std::string_view frequency)
    {
        const calc::WordDetails d = tuner_.details(tuned);
        if (frequency.find_first_of(",\"\r\n") != std::string_view::npos) {
            out_ += '"';
            for (const char c : frequency)
                out_ += c == '"' ? std::string_view("\"\"") : std::string_view(&c, 1);
            out_ += '"';
        } else {
            out_ += frequency;
        }
        out_ += ',';
        out_ += tuner_.unitCaption();
        out_ += ',';
        appendNumber(out_, d.word);
        out_ += ',';
        calc::appendByteLiterals(out_, bytesOf(tuned.word), ' ');
        out_ += ',' + calc::formatHz(d.actualMilliHz) + ',' + calc::formatDeviationHz(d.deviationHz) + ',' +
                calc::formatStepHz(d.stepMicroHz) + "\r\n";
    }

    const cli::Options& options_;
    const calc::Tuner& tuner_;
    std::string& out_;
    std::array<std::uint8_t, 4> word_{};
    std::array<std::uint8_t, 5> load_{};
    bool arrayOpen_ = false;
};

// Turns each input into its output line, or its error message.
class Run {
public:
    Run(const cli::Options& options, calc::Tuner* tuner, cli::Output& output, Messages& messages)
        : options_(options), tuner_(tuner), output_(output), messages_(messages)
    {
        if (tuner_)
            printer_.emplace(options, *tuner_, output);
    }

    void input(const Source& source)
    {
        try {
            if (hasLineBreak(source.text))
                messages_.error(source, "holds a line break");
            else if (options_.decode)
                decode(source);
            else
                tune(source);
        } catch (const calc::CalcError& e) {
            messages_.error(source, e.what());
        } catch (const std::bad_alloc&) {
            messages_.error(source, "out of memory");
        }
        output_.maybeFlush();
    }

    void finish()
    {
        if (printer_)
            printer_->finish();
        if (aboveShare_ != 0 && tuner_)
            messages_.warning(std::to_string(aboveShare_) + (aboveShare_ == 1 ? " frequency is" : " frequencies are") +
                              " above " + std::to_string(calc::outputSharePercent(tuner_->clock().chip)) +
                              " % of the system clock, where the output gets poor");
    }

private:
    void tune(const Source& source)
    {
        if (options_.strict && !rt::readWrittenNumber(source.text).isWholeText(source.text))
            return messages_.error(source, "not a number (--strict)");
        const calc::Tuned tuned = tuner_->tune(source.text);
        if (tuner_->aboveOutputShare(tuned))
            ++aboveShare_;
        printer_->print(tuned, source.text);
    }

    void decode(const Source& source)
    {
        const calc::DecodedWord decoded = calc::decodeWord(source.text, options_.tuner.mode);
        std::string& out = output_.buffer();
        out += calc::describeWord(decoded, options_.tuner.clock);
        out += '\n';
    }

    const cli::Options& options_;
    calc::Tuner* tuner_;
    cli::Output& output_;
    Messages& messages_;
    std::optional<Printer> printer_;
    std::uint64_t aboveShare_ = 0;
};

int writeOut(std::string_view text)
{
    if (cli::writeAll(1, text))
        return 0;
    cli::writeAll(2, std::string(program) + "cannot write standard output\n");
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    cli::Options options;
    if (const auto error = cli::parseArguments(argc, argv, options))
        return usageError(error->message);
    if (options.help)
        return writeOut(cli::usageText);
    if (options.version)
        return writeOut("ad9851-word " AD9851_VERSION "\n");

    std::optional<calc::Sweep> sweep;
    try {
        if (options.sweep)
            sweep.emplace(*options.sweep);
    } catch (const std::invalid_argument& e) {
        return usageError(e.what());
    }
    const bool fromStdin = options.frequencies.empty() && !sweep;
    if (fromStdin && cli::stdinIsTerminal())
        return usageError("no FREQUENCY given and standard input is a terminal");

    cli::Output output;
    Messages messages(output);
    // The clock is read once: when it is wrong, it is wrong for every input.
    std::optional<calc::Tuner> tuner;
    try {
        if (options.decode)
            calc::systemClock(options.tuner.clock);
        else
            tuner.emplace(options.tuner);
    } catch (const calc::CalcError& e) {
        messages.fatal(e.problem() == calc::Problem::CrystalOutOfRange
                           ? "crystal " + quoted(std::string_view(options.crystal)) + ": " + e.what()
                           : std::string(e.what()));
        return 1;
    }
    if (tuner)
        for (const std::string& w : calc::clockWarnings(tuner->clock()))
            messages.warning(w);

    Run run(options, tuner ? &*tuner : nullptr, output, messages);
    bool readOk = true;
    if (sweep) {
        calc::Sweep::Buffer text;
        for (std::uint64_t i = 0; i < sweep->size() && !output.failed(); ++i)
            run.input({sweep->writeText(i, text)});
    } else if (!fromStdin) {
        for (const std::string& text : options.frequencies)
            run.input({text});
    } else {
        cli::LineReader reader;
        readOk = reader.run([&](std::uint64_t number, std::string_view text) { run.input({text, number}); },
                            [&](std::uint64_t number) { messages.lineTooLong(number); },
                            [&] { output.flush(); });
    }
    run.finish();
    output.flush();
    if (!readOk)
        messages.fatal("cannot read standard input");
    if (output.failed())
        cli::writeAll(2, std::string(program) + "cannot write standard output\n");
    return (messages.failed() || !readOk || output.failed()) ? 1 : 0;
}
