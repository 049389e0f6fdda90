#pragma once
// A plot described without a toolkit: lines, curves and texts at pixel
// positions in a figure of a given size, each with a role that decides its
// colour, width, dash and font.  The Qt window, the Win32 window and the
// SVG writer paint the same description.
#include <cstdint>
#include <string>
#include <vector>

namespace calc {
struct Spectrum;
}

namespace form {

enum class PlotRole : std::uint8_t {
    Background, // the figure's background (a rectangle over the whole figure)
    Frame,      // the plot area's border and tick marks
    Grid,       // grid lines at the ticks
    TickLabel,  // numbers at the ticks
    AxisTitle,  // "频率 (MHz)", "电平 (dBc)"
    Title,      // the title line
    Output,     // the output's stem and label
    Image,      // image stems and labels
    Harmonic,   // harmonic stems and labels
    Envelope,   // the hold's sinc envelope
    Filter,     // the filter's response
    Marker,     // the fc/2 and output-share markers and their labels
};

struct PlotStyle {
    std::uint32_t rgb; // 0xRRGGBB
    double lineWidth;  // pixels
    bool dashed;       // lines and curves only
    double fontPixels; // texts only
    bool bold;         // texts only
};

// The style of each role, declared once for every painter.
PlotStyle plotStyle(PlotRole role);

struct PlotPoint {
    double x = 0.0; // pixels from the figure's left edge
    double y = 0.0; // pixels from the figure's top edge, downwards
};

struct PlotLine {
    PlotPoint from, to;
    PlotRole role;
};

// A polyline, drawn clipped to the plot area.
struct PlotCurve {
    std::vector<PlotPoint> points;
    PlotRole role;
};

enum class TextAnchor : std::uint8_t { Start, Middle, End };

struct PlotText {
    PlotPoint at;     // the baseline point the anchor refers to
    std::string text; // UTF-8
    TextAnchor anchor;
    PlotRole role;
};

// One component's stem: a line from the plot's floor up to its level.  Its
// label, above the top, is also among the texts.
struct PlotStem {
    double hz = 0.0;
    double dbc = 0.0;
    PlotPoint top, bottom;
    std::string label; // "f", "-1", "+1", "H2"...
    PlotRole role;
};

struct PlotRect {
    double left = 0.0, top = 0.0, width = 0.0, height = 0.0;
};

// Painted in this order: the background, the lines, the curves (clipped to
// the area), the stems, the texts.
struct PlotDescription {
    double width = 0.0, height = 0.0; // the figure, pixels
    PlotRect area;                    // the plot area inside the axes
    std::string title;                // also drawn as a PlotRole::Title text
    std::vector<PlotLine> lines;      // frame, grid, ticks, markers
    std::vector<PlotCurve> curves;    // envelope, filter
    std::vector<PlotStem> stems;      // one per component
    std::vector<PlotText> texts;      // tick labels, axis titles, title, stem and marker labels
};

// The size of a saved or printed plot, in pixels: the command line's SVG
// and the windows' saved SVG are the same for the same inputs.
inline constexpr double savedPlotWidth = 800;
inline constexpr double savedPlotHeight = 480;

// The plot of a spectrum in a figure of the given size: axes with ticks in
// MHz and dBc, a stem per component, the hold's envelope, markers at fc/2
// and at the chip's output share, the filter's response when one is set,
// and a title with the output, the clock and the word.
PlotDescription spectrumPlot(const calc::Spectrum& spectrum, double width, double height);

// A standalone SVG document of the plot.
std::string svgDocument(const PlotDescription& plot);

} // namespace form
