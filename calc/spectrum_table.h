#pragma once
// The spectrum as a table of texts: the command line prints it, the windows
// show it and save it as CSV, all with the same texts.

#include "calc/spectrum.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace calc {

// The columns' names: "component", "order", "component_hz", "level_dbc"
// and, when `filtered`, "filtered_dbc".
std::vector<std::string_view> spectrumColumns(bool filtered);

// "fundamental", "image", "harmonic".
std::string_view componentName(ComponentKind kind);

// The order as printed: "1" for the output, "-1", "1"... for the images,
// "2", "3"... for the harmonics.
std::string componentOrderText(const SpectralComponent& component);

// A level in dB with two decimals: "-24.61"; "0.00" for whatever rounds
// to zero.
std::string formatDb(double db);

// One component's texts, one per column of spectrumColumns: "image", "-1",
// "170000000.009", "-24.61" and the filtered level when there is one.
std::vector<std::string> componentTexts(const SpectralComponent& component);

// The tab-separated lines of one spectrum, a line per component in the
// spectrum's order, each ending in "\n".
std::string spectrumTableLines(const Spectrum& spectrum);

// The CSV table: its header line ("frequency,unit,component,order,
// component_hz,level_dbc" and ",filtered_dbc" when `filtered`), and the
// rows of one spectrum, `frequency` written as given and `unit` its
// caption.  Lines end in "\r\n".
std::string spectrumCsvHeader(bool filtered);
void appendSpectrumCsvRows(std::string& out, std::string_view frequency, std::string_view unit,
                           const Spectrum& spectrum);

// One spectrum of a CSV table and the frequency it was asked for.
struct SpectrumCsvBlock {
    std::string_view frequency; // as the user wrote it
    std::string_view unit;      // "Hz", "KHz", "MHz"
    const Spectrum* spectrum = nullptr;
};

// The whole CSV table of several spectra: the header, then the rows of
// each in turn.  The filtered column is written when the first spectrum
// has a filter.
std::string spectrumCsv(std::span<const SpectrumCsvBlock> blocks);

} // namespace calc
