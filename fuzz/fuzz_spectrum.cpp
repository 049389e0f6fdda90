// The spectrum of any word at any clock, with any settings, its table, its
// plot and the plot's SVG: either the settings or the clock are refused
// with a CalcError, or every level is a number, the table and the SVG hold
// no "nan" or "inf", and every pixel of the plot is finite.  Nothing else
// (no other exception, no crash, no undefined behaviour under the
// sanitizers).
//
// Input layout: the word (4 bytes), a flags byte (its lowest bit chooses
// Chebyshev, the next a filter at all, the next no multiplier, the next the
// AD9850), the images byte, the harmonics byte, the filter order byte, then three doubles (8
// bytes each: the harmonic level, the cutoff, the ripple), then the
// reference text in Hz.

#include "calc/errors.h"
#include "calc/spectrum.h"
#include "calc/spectrum_table.h"
#include "form/plot.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

namespace {

constexpr std::size_t headerSize = 4 + 4 + 3 * 8;

double doubleAt(const std::uint8_t* data)
{
    double value;
    std::memcpy(&value, data, sizeof value);
    return value;
}

bool holdsNonNumber(std::string_view text)
{
    return text.find("nan") != std::string_view::npos || text.find("inf") != std::string_view::npos;
}

bool finite(form::PlotPoint p) { return std::isfinite(p.x) && std::isfinite(p.y); }

bool plotIsFinite(const form::PlotDescription& plot)
{
    for (const form::PlotLine& line : plot.lines)
        if (!finite(line.from) || !finite(line.to))
            return false;
    for (const form::PlotCurve& curve : plot.curves)
        for (const form::PlotPoint& p : curve.points)
            if (!finite(p))
                return false;
    for (const form::PlotStem& stem : plot.stems)
        if (!finite(stem.top) || !finite(stem.bottom))
            return false;
    for (const form::PlotText& text : plot.texts)
        if (!finite(text.at))
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < headerSize)
        return 0;
    std::uint32_t word;
    std::memcpy(&word, data, sizeof word);
    const std::uint8_t flags = data[4];
    calc::SpectrumSettings settings;
    settings.images = data[5] % (calc::maxImages + 2); // 0 and 101 too: refused
    settings.harmonics = data[6] % (calc::maxHarmonics + 2);
    settings.harmonicDbc = doubleAt(data + 8);
    if (flags & 2)
        settings.filter =
            calc::ReconstructionFilter{flags & 1 ? calc::FilterKind::Chebyshev : calc::FilterKind::Butterworth,
                                       data[7] % (calc::maxFilterOrder + 2), doubleAt(data + 16), doubleAt(data + 24)};
    const std::string reference(reinterpret_cast<const char*>(data + headerSize), size - headerSize);

    calc::ClockOptions options;
    options.referenceHz = reference;
    options.multiplier = (flags & 4) == 0;
    options.chip = flags & 8 ? calc::Chip::AD9850 : calc::Chip::AD9851;
    try {
        const calc::SystemClock clock = calc::systemClock(options);
        const calc::Spectrum spectrum = calc::outputSpectrum(word, clock, settings);
        for (const calc::SpectralComponent& c : spectrum.components)
            if (!std::isfinite(c.levelDbc) || (c.filteredDbc && !std::isfinite(*c.filteredDbc)))
                std::abort();
        if (holdsNonNumber(calc::spectrumTableLines(spectrum)))
            std::abort();
        const form::PlotDescription plot = form::spectrumPlot(spectrum, form::savedPlotWidth, form::savedPlotHeight);
        if (!plotIsFinite(plot) || holdsNonNumber(form::svgDocument(plot)))
            std::abort();
    } catch (const calc::CalcError&) {
        // A clock or settings refused with a reason.
    }
    return 0;
}
