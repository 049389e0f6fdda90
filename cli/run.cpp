#include "cli/run.h"

#include "calc/calibration.h"
#include "calc/clock_plan.h"
#include "calc/decode.h"
#include "calc/driver_code.h"
#include "calc/errors.h"
#include "calc/spectrum.h"
#include "calc/text_format.h"
#include "calc/tuner.h"
#include "calc/units.h"
#include "cli/printer.h"
#include "runtime/number.h"
#include "runtime/text_normal.h"

#include <algorithm>
#include <new>

namespace cli {

namespace {

// A UTF-8 byte-order mark, as Notepad and PowerShell 5.1 write it, is no
// part of the text.
std::string_view withoutByteOrderMark(std::string_view text)
{
    constexpr std::string_view mark = "\xEF\xBB\xBF";
    return text.starts_with(mark) ? text.substr(mark.size()) : text;
}

// The byte order that a UTF-16 byte-order mark at the start of `text`
// names; null when there is none.
const char* utf16ByteOrder(std::string_view text)
{
    if (text.starts_with("\xFF\xFE"))
        return "little-endian";
    if (text.starts_with("\xFE\xFF"))
        return "big-endian";
    return nullptr;
}

} // namespace

Inputs::Inputs(const Options& options) : arguments_(options.frequencies)
{
    if (options.sweep)
        sweep_.emplace(*options.sweep);
}

template <class Each>
bool Inputs::forEach(Output& output, Messages& messages, Each&& each) const
{
    if (sweep_) {
        Sweep::Buffer text;
        for (std::uint64_t i = 0; i < sweep_->size() && !output.failed(); ++i)
            each(Source{sweep_->writeText(i, text)});
        return true;
    }
    if (!arguments_.empty()) {
        for (std::size_t i = 0; i < arguments_.size() && !output.failed(); ++i)
            each(Source{withoutByteOrderMark(arguments_[i])});
        return true;
    }
    // At the first failed write nothing more is read, nor after UTF-16.
    LineReader reader;
    bool stop = false;
    return reader.run(
        [&](std::uint64_t number, std::string_view text) {
            if (number == 1) {
                if (const char* encoding = utf16ByteOrder(text)) {
                    messages.fatal(std::string("standard input is UTF-16 (") + encoding +
                                   ") text: give UTF-8 or ASCII");
                    stop = true;
                }
                text = withoutByteOrderMark(text);
            }
            if (!stop && !output.failed())
                each(Source{text, number});
        },
        [&](std::uint64_t number) { messages.lineTooLong(number); }, [&] { return !stop && output.flush(); });
}

namespace {

// A number and nothing else, blanks around it allowed but none inside:
// "10 5" is no number here, although the window reads it as 105.
bool isStrictNumber(std::string_view text)
{
    if (!rt::readWrittenNumber(text).isWholeText(text))
        return false;
    constexpr std::string_view blanks = " \t\n";
    const std::size_t first = text.find_first_not_of(blanks);
    const std::size_t last = text.find_last_not_of(blanks);
    return text.substr(first, last + 1 - first).find_first_of(blanks) == std::string_view::npos;
}

// Does `work` for one input; its failure is that input's error.  An input
// holding a line break is refused: an output line never breaks.
template <class Work>
void handle(const Source& source, Output& output, Messages& messages, Work&& work)
{
    try {
        if (lineEnd(source.text) != source.text.size())
            messages.error(source, "holds a line break");
        else if (source.text.find('\0') != std::string_view::npos)
            messages.error(source, "holds NUL bytes, as UTF-16 text does: give UTF-8 or ASCII");
        else
            work();
    } catch (const calc::CalcError& e) {
        messages.error(source, e.what());
    } catch (const std::bad_alloc&) {
        messages.error(source, "out of memory");
    }
    output.maybeFlush();
}

// The clock is read once: when it is wrong, it is wrong for every input.
void clockFailed(const Options& options, const calc::CalcError& e, Messages& messages)
{
    messages.fatal(e.problem() == calc::Problem::CrystalOutOfRange
                       ? "crystal " + quotedText(options.crystal) + ": " + e.what()
                       : std::string(e.what()));
}

std::string aboveShareWarning(std::uint64_t count, const calc::Tuner& tuner)
{
    return std::to_string(count) + (count == 1 ? " frequency is" : " frequencies are") + " above " +
           std::to_string(calc::outputSharePercent(tuner.clock().chip)) +
           " % of the system clock, where the output gets poor";
}

// With --emit: the source file holding every load, written only when every
// frequency gave one, for a file that leaves one out would load the wrong
// table into the chip.
void writeDriverCode(const Options& options, const std::vector<calc::DriverRow>& rows, Output& output,
                     Messages& messages)
{
    if (messages.failed())
        return messages.fatal("no code written: every FREQUENCY must give a load");
    try {
        output.buffer() += calc::emitDriverCode(*options.emit, options.pins, options.driverName, rows);
    } catch (const calc::CalcError& e) {
        messages.fatal(e.what());
    }
}

// `text` as the number reader should see it: itself when it is ASCII,
// otherwise its plain form, kept in `plain`.
std::string_view plainNumber(std::string_view text, std::string& plain)
{
    if (std::ranges::all_of(text, [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        return text;
    plain = rt::plainNumberText(text);
    return plain;
}

// The tuner of the options, its clock's warnings said; nothing when the
// clock is unusable, which is reported.
std::optional<calc::Tuner> tunerOf(const Options& options, Messages& messages)
{
    std::optional<calc::Tuner> tuner;
    try {
        tuner.emplace(options.tuner);
    } catch (const calc::CalcError& e) {
        clockFailed(options, e, messages);
        return std::nullopt;
    }
    for (const std::string& warning : calc::clockWarnings(tuner->clock()))
        messages.warning(warning);
    return tuner;
}

// The word for an input.  Pasted Unicode spaces and full-width digits read
// as the plain characters they show (kept in `plain`).  Nothing when
// --strict refuses the text, which is reported.
std::optional<calc::Tuned> tuneInput(const Options& options, const calc::Tuner& tuner, const Source& source,
                                     Messages& messages, std::string& plain)
{
    const std::string_view number = plainNumber(source.text, plain);
    if (options.strict && !isStrictNumber(number)) {
        messages.error(source, "not a number (--strict)");
        return std::nullopt;
    }
    return tuner.tune(number);
}

} // namespace

int tuneAll(const Options& options, const Inputs& inputs, Output& output, Messages& messages)
{
    std::optional<calc::Tuner> tuner = tunerOf(options, messages);
    if (!tuner)
        return 1;

    Printer printer(options, *tuner, output);
    std::vector<calc::DriverRow> rows;
    std::uint64_t aboveShare = 0;
    std::string plain;
    const bool inputRead = inputs.forEach(output, messages, [&](const Source& source) {
        handle(source, output, messages, [&] {
            // The line keeps the text as given.
            const std::optional<calc::Tuned> tuned = tuneInput(options, *tuner, source, messages, plain);
            if (!tuned)
                return;
            if (tuner->aboveOutputShare(*tuned))
                ++aboveShare;
            if (options.emit)
                rows.push_back(calc::driverRow(*tuner, *tuned, source.text));
            else
                printer.print(*tuned, source.text);
        });
    });
    if (options.emit)
        writeDriverCode(options, rows, output, messages);
    printer.finish();
    if (aboveShare != 0)
        messages.warning(aboveShareWarning(aboveShare, *tuner));
    return finishRun(output, messages, inputRead);
}

int spectrumAll(const Options& options, const Inputs& inputs, Output& output, Messages& messages)
{
    std::optional<calc::Tuner> tuner = tunerOf(options, messages);
    if (!tuner)
        return 1;
    SpectrumPrinter printer(options, *tuner, output);
    std::uint64_t aboveShare = 0;
    std::string plain;
    const bool inputRead = inputs.forEach(output, messages, [&](const Source& source) {
        handle(source, output, messages, [&] {
            const std::optional<calc::Tuned> tuned = tuneInput(options, *tuner, source, messages, plain);
            if (!tuned)
                return;
            const calc::Spectrum spectrum = calc::outputSpectrum(tuned->word, tuner->clock(), options.spectrumSettings);
            if (tuner->aboveOutputShare(*tuned))
                ++aboveShare;
            printer.print(spectrum, source.text);
            for (const calc::SpectrumConcern& concern : calc::spectrumConcerns(spectrum))
                messages.warning(source, concernText(spectrum, concern));
        });
    });
    if (aboveShare != 0)
        messages.warning(aboveShareWarning(aboveShare, *tuner));
    return finishRun(output, messages, inputRead);
}

int decodeAll(const Options& options, const Inputs& inputs, Output& output, Messages& messages)
{
    try {
        calc::systemClock(options.tuner.clock);
    } catch (const calc::CalcError& e) {
        clockFailed(options, e, messages);
        return 1;
    }
    const bool inputRead = inputs.forEach(output, messages, [&](const Source& source) {
        handle(source, output, messages, [&] {
            const calc::DecodedWord decoded = calc::decodeWord(source.text, options.tuner.mode);
            output.buffer() += calc::describeWord(decoded, options.tuner.clock);
            output.buffer() += '\n';
        });
    });
    return finishRun(output, messages, inputRead);
}

int planClocks(const Options& options, Output& output, Messages& messages)
{
    const std::string& frequency = options.frequencies.front();
    std::string plain;
    const std::string_view number = plainNumber(frequency, plain);
    if (options.strict && !isStrictNumber(number)) {
        messages.error(Source{frequency}, "not a number (--strict)");
        return finishRun(output, messages, true);
    }
    try {
        const calc::ClockPlan plan = calc::planClock(options.planSettings, number);
        const std::string_view unit = calc::unitCaption(options.tuner.unit).value_or("");
        if (plan.tooSlow != 0)
            messages.warning("left out " + std::to_string(plan.tooSlow) + " candidate" +
                             (plan.tooSlow == 1 ? "" : "s") + " whose clock is too slow for " + quotedText(frequency) +
                             " " + std::string(unit) + " (it must stay below half the clock)");
        if (plan.tooFast != 0)
            messages.warning("left out " + std::to_string(plan.tooFast) + " candidate" +
                             (plan.tooFast == 1 ? "" : "s") + " whose clock is too fast for " + quotedText(frequency) +
                             " " + std::string(unit) + " (its word would be 0)");
        if (plan.aboveMaxClock != 0)
            messages.warning("left out " + std::to_string(plan.aboveMaxClock) + " candidate" +
                             (plan.aboveMaxClock == 1 ? "" : "s") + " whose clock is above the " +
                             (options.planSettings.chip == calc::Chip::AD9850 ? "AD9850" : "AD9851") +
                             "'s maximum of " +
                             std::to_string(calc::maxSystemClockHz(options.planSettings.chip) / 1'000'000) + " MHz");
        if (plan.candidates.empty()) {
            messages.fatal("no candidate clock can make " + quotedText(frequency));
            return finishRun(output, messages, true);
        }
        const bool csv = options.format == Format::Csv;
        const char separator = csv ? ',' : '\t';
        const std::string_view end = csv ? "\r\n" : "\n";
        std::string& out = output.buffer();
        const auto appendRow = [&](const auto& texts) {
            for (std::size_t i = 0; i < texts.size(); ++i) {
                if (i != 0)
                    out += separator;
                out += texts[i];
            }
            out += end;
        };
        if (csv)
            appendRow(calc::planColumns(options.planSettings.band.has_value()));
        const std::size_t count = std::min(plan.candidates.size(), options.top.value_or(plan.candidates.size()));
        for (std::size_t i = 0; i < count; ++i)
            appendRow(calc::candidateTexts(plan.candidates[i]));
    } catch (const calc::CalcError& e) {
        messages.error(Source{frequency}, e.what());
    }
    return finishRun(output, messages, true);
}

int calibrateClock(const Options& options, Output& output, Messages& messages)
{
    // The warnings of the clock as given: the calibration moves it by at
    // most 1000 ppm, which makes no usable set-up unusable.
    try {
        for (const std::string& warning : calc::clockWarnings(calc::systemClock(options.tuner.clock)))
            messages.warning(warning);
    } catch (const calc::CalcError& e) {
        clockFailed(options, e, messages);
        return 1;
    }
    const auto& [programmed, measured] = *options.calibration;
    std::string plainProgrammed, plainMeasured;
    const std::string_view programmedNumber = plainNumber(programmed, plainProgrammed);
    const std::string_view measuredNumber = plainNumber(measured, plainMeasured);
    for (const auto& [text, number] : {std::pair{programmed, programmedNumber}, std::pair{measured, measuredNumber}})
        if (options.strict && !isStrictNumber(number)) {
            messages.fatal("--calibrate: " + quotedText(text) + ": not a number (--strict)");
            return finishRun(output, messages, true);
        }
    try {
        const calc::Calibration calibration = calc::calibrate(options.tuner, programmedNumber, measuredNumber);
        const calc::Tuner corrected(calc::correctedSettings(options.tuner, calibration));
        // The corrected clock may not reach a programmed frequency near its
        // top that the nominal one did: nothing is printed then.
        const calc::Tuned tuned = corrected.tune(programmedNumber);
        std::string& out = output.buffer();
        out += "ppm=" + calibration.ppm + "\n";
        out += "clock_hz=" + calc::formatHz(calibration.clockMilliHz) + "\n";
        out += "ref_hz=" + calc::formatHz(calibration.referenceMilliHz) + "\n";
        Printer printer(options, corrected, output);
        printer.print(tuned, programmed);
        printer.finish();
    } catch (const calc::CalcError& e) {
        messages.fatal(std::string("--calibrate: ") + e.what());
    }
    return finishRun(output, messages, true);
}

} // namespace cli
