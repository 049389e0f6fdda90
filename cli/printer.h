#pragma once
// Writes the words in the chosen form: C lines, optionally inside an
// array, or CSV rows.

#include "calc/spectrum.h"
#include "calc/tuner.h"
#include "cli/io.h"
#include "cli/options.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace cli {

class Printer {
public:
    // Starts the output: the CSV header.
    Printer(const Options& options, const calc::Tuner& tuner, Output& output);

    // The word for a frequency, written as `frequency` was given.
    void print(const calc::Tuned& tuned, std::string_view frequency);

    // Closes the array.  An array with no line is not written at all: C
    // has no empty array.
    void finish();

private:
    std::span<const std::uint8_t> bytesOf(std::uint32_t word);
    void printLine(const calc::Tuned& tuned, std::string_view frequency);
    void printCsvRow(const calc::Tuned& tuned, std::string_view frequency);

    const Options& options_;
    const calc::Tuner& tuner_;
    std::string& out_;
    std::array<std::uint8_t, 4> word_{};
    std::array<std::uint8_t, 5> load_{};
    bool arrayOpen_ = false;
};

// Writes spectra: a block of tab-separated lines per frequency with a blank
// line between blocks, with --csv one table, or with --svg the plot.
class SpectrumPrinter {
public:
    // Starts the output: the CSV header.
    SpectrumPrinter(const Options& options, const calc::Tuner& tuner, Output& output);

    // The spectrum of the word for `frequency`, written as it was given.
    void print(const calc::Spectrum& spectrum, std::string_view frequency);

private:
    const Options& options_;
    const calc::Tuner& tuner_;
    std::string& out_;
    bool first_ = true;
};

} // namespace cli
