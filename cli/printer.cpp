#include "cli/printer.h"

#include "calc/result_line.h"
#include "calc/spectrum_table.h"
#include "calc/text_format.h"
#include "form/plot.h"

#include <charconv>

namespace cli {

namespace {

void appendNumber(std::string& out, std::uint64_t value)
{
    char buf[24];
    out.append(buf, std::to_chars(buf, buf + sizeof buf, value).ptr);
}

} // namespace

Printer::Printer(const Options& options, const calc::Tuner& tuner, Output& output)
    : options_(options), tuner_(tuner), out_(output.buffer())
{
    if (options_.format == Format::Csv)
        out_ += "frequency,unit,word,bytes,actual_hz,deviation_hz,step_hz\r\n";
}

void Printer::print(const calc::Tuned& tuned, std::string_view frequency)
{
    if (options_.format == Format::Csv)
        printCsvRow(tuned, frequency);
    else
        printLine(tuned, frequency);
}

void Printer::finish()
{
    if (arrayOpen_)
        out_ += "};\n";
}

std::span<const std::uint8_t> Printer::bytesOf(std::uint32_t word)
{
    if (options_.load) {
        load_ = tuner_.loadBytes(word);
        return load_;
    }
    word_ = tuner_.wordBytes(word);
    return word_;
}

void Printer::printLine(const calc::Tuned& tuned, std::string_view frequency)
{
    if (options_.cArrayName) {
        if (!arrayOpen_) {
            out_ += "const unsigned char " + *options_.cArrayName + (options_.load ? "[][5] = {\n" : "[][4] = {\n");
            arrayOpen_ = true;
        }
        out_ += "    ";
    }
    calc::appendResultLine(out_, bytesOf(tuned.word), frequency, tuner_.unitCaption());
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

void Printer::printCsvRow(const calc::Tuned& tuned, std::string_view frequency)
{
    const calc::WordDetails d = tuner_.details(tuned);
    calc::appendCsvField(out_, frequency);
    out_ += ',';
    out_ += tuner_.unitCaption();
    out_ += ',';
    appendNumber(out_, d.word);
    out_ += ',';
    calc::appendByteLiterals(out_, bytesOf(tuned.word), ' ');
    out_ += ',' + calc::formatHz(d.actualMilliHz) + ',' + calc::formatDeviationHz(d.deviationHz) + ',' +
            calc::formatStepHz(d.stepMicroHz) + "\r\n";
}

SpectrumPrinter::SpectrumPrinter(const Options& options, const calc::Tuner& tuner, Output& output)
    : options_(options), tuner_(tuner), out_(output.buffer())
{
    if (options_.format == Format::Csv)
        out_ += calc::spectrumCsvHeader(options_.spectrumSettings.filter.has_value());
}

void SpectrumPrinter::print(const calc::Spectrum& spectrum, std::string_view frequency)
{
    if (options_.svg) {
        out_ += form::svgDocument(form::spectrumPlot(spectrum, form::savedPlotWidth, form::savedPlotHeight));
        return;
    }
    if (options_.format == Format::Csv) {
        calc::appendSpectrumCsvRows(out_, frequency, tuner_.unitCaption(), spectrum);
        return;
    }
    if (!first_)
        out_ += '\n';
    first_ = false;
    out_ += calc::spectrumTableLines(spectrum);
}

} // namespace cli
