// The spectrum plot described without a toolkit: where its stems, markers,
// curves and ticks stand for the worked spectra, and its SVG.

#include "calc/clock.h"
#include "calc/spectrum.h"
#include "form/plot.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <regex>
#include <string>
#include <vector>

namespace {

constexpr double width = form::savedPlotWidth, height = form::savedPlotHeight;

// Words at a 180 MHz clock (a 30 MHz crystal times six).
constexpr std::uint32_t word10MHz = 0x0E38E38E; // 9999999.991 Hz
constexpr std::uint32_t word60MHz = 0x55555555;
constexpr std::uint32_t word70MHz = 0x638E38E4; // 70000000.019 Hz

calc::SystemClock clockOf(std::string_view crystalMHz, calc::Chip chip = calc::Chip::AD9851)
{
    calc::ClockOptions options;
    options.chip = chip;
    options.crystalMHz = crystalMHz;
    options.multiplier = chip == calc::Chip::AD9851;
    return calc::systemClock(options);
}

calc::Spectrum spectrumOf(std::uint32_t word, std::optional<calc::ReconstructionFilter> filter = std::nullopt,
                          const calc::SystemClock& clock = clockOf("30"))
{
    calc::SpectrumSettings settings;
    settings.filter = filter;
    return calc::outputSpectrum(word, clock, settings);
}

const calc::ReconstructionFilter butterworth7At70MHz{calc::FilterKind::Butterworth, 7, 70e6, 0.0};

bool isTick(const form::PlotText& t) { return t.role == form::PlotRole::TickLabel; }

// The plot's scales read back from its tick labels: the frequency ticks'
// labels are centred on their tick, the level ticks' stand beside a tick
// mark that ends at the area's left edge.
struct Scales {
    double hz0, x0, hz1, x1; // two frequency ticks
    double db0, y0, db1, y1; // two level ticks
    double x(double hz) const { return x0 + (hz - hz0) / (hz1 - hz0) * (x1 - x0); }
    double y(double db) const { return y0 + (db - db0) / (db1 - db0) * (y1 - y0); }
    double dbAt(double y) const { return db0 + (y - y0) / (y1 - y0) * (db1 - db0); }
};

std::vector<const form::PlotText*> ticks(const form::PlotDescription& plot, form::TextAnchor anchor)
{
    std::vector<const form::PlotText*> found;
    for (const form::PlotText& t : plot.texts)
        if (isTick(t) && t.anchor == anchor)
            found.push_back(&t);
    return found;
}

double levelTickY(const form::PlotDescription& plot, const form::PlotText& label)
{
    const form::PlotLine* best = nullptr;
    for (const form::PlotLine& l : plot.lines)
        if (l.role == form::PlotRole::Frame && l.from.y == l.to.y && l.to.x == plot.area.left &&
            l.from.x < plot.area.left &&
            (!best || std::abs(l.from.y - label.at.y) < std::abs(best->from.y - label.at.y)))
            best = &l;
    EXPECT_NE(best, nullptr) << "no tick mark beside " << label.text;
    return best ? best->from.y : 0.0;
}

Scales scalesOf(const form::PlotDescription& plot)
{
    const auto xs = ticks(plot, form::TextAnchor::Middle);
    const auto ys = ticks(plot, form::TextAnchor::End);
    EXPECT_GE(xs.size(), 2U);
    EXPECT_GE(ys.size(), 2U);
    if (xs.size() < 2 || ys.size() < 2)
        return {0, 0, 1, 1, 0, 0, 1, 1};
    return {std::stod(xs.front()->text) * 1e6, xs.front()->at.x,
            std::stod(xs.back()->text) * 1e6,  xs.back()->at.x,
            std::stod(ys.front()->text),       levelTickY(plot, *ys.front()),
            std::stod(ys.back()->text),        levelTickY(plot, *ys.back())};
}

const form::PlotStem* stemLabelled(const form::PlotDescription& plot, const std::string& label)
{
    const auto it =
        std::find_if(plot.stems.begin(), plot.stems.end(), [&](const form::PlotStem& s) { return s.label == label; });
    return it == plot.stems.end() ? nullptr : &*it;
}

std::vector<const form::PlotText*> textsReading(const form::PlotDescription& plot, const std::string& text)
{
    std::vector<const form::PlotText*> found;
    for (const form::PlotText& t : plot.texts)
        if (t.text == text)
            found.push_back(&t);
    return found;
}

// The y of the first curve of `role` at `x`, between its two nearest points.
std::optional<double> curveY(const form::PlotDescription& plot, form::PlotRole role, double x)
{
    for (const form::PlotCurve& c : plot.curves) {
        if (c.role != role)
            continue;
        for (std::size_t i = 1; i < c.points.size(); ++i) {
            const form::PlotPoint a = c.points[i - 1], b = c.points[i];
            if (a.x <= x && x <= b.x && b.x > a.x)
                return a.y + (x - a.x) / (b.x - a.x) * (b.y - a.y);
        }
    }
    return std::nullopt;
}

struct StemCase {
    const char* name;
    std::uint32_t word;
    const char* label;
    form::PlotRole role;
    double hz;
    std::optional<double> dbc; // the worked level, when the issue gives one
};

class PlotStems : public ::testing::TestWithParam<StemCase> {};

TEST_P(PlotStems, StandAtTheirFrequencyAndLevelWithTheirLabelAbove)
{
    const StemCase& c = GetParam();
    const form::PlotDescription plot = form::spectrumPlot(spectrumOf(c.word), width, height);
    const Scales scales = scalesOf(plot);
    const form::PlotStem* stem = stemLabelled(plot, c.label);
    ASSERT_NE(stem, nullptr) << c.label;
    EXPECT_EQ(stem->role, c.role);
    EXPECT_NEAR(stem->hz, c.hz, 0.001);
    if (c.dbc) {
        EXPECT_NEAR(stem->dbc, *c.dbc, 0.005);
    }
    EXPECT_NEAR(stem->top.x, scales.x(c.hz), 0.01);
    EXPECT_NEAR(stem->bottom.x, stem->top.x, 1e-9);
    EXPECT_NEAR(stem->top.y, scales.y(stem->dbc), 0.01);
    EXPECT_NEAR(stem->bottom.y, plot.area.top + plot.area.height, 1e-9); // from the floor

    const auto labels = textsReading(plot, c.label);
    const auto label = std::find_if(labels.begin(), labels.end(), [&](const form::PlotText* t) {
        return t->role == c.role && t->anchor == form::TextAnchor::Middle && std::abs(t->at.x - stem->top.x) < 1e-9;
    });
    ASSERT_NE(label, labels.end()) << "no label " << c.label << " over its stem";
    EXPECT_LT((*label)->at.y, stem->top.y);
}

INSTANTIATE_TEST_SUITE_P(
    WorkedSpectra, PlotStems,
    ::testing::Values(StemCase{"Output10", word10MHz, "f", form::PlotRole::Output, 9999999.991, 0.0},
                      StemCase{"LowerImage10", word10MHz, "-1", form::PlotRole::Image, 170000000.009, -24.61},
                      StemCase{"UpperImage10", word10MHz, "+1", form::PlotRole::Image, 189999999.991, -25.58},
                      StemCase{"Output70", word70MHz, "f", form::PlotRole::Output, 70000000.019, 0.0},
                      StemCase{"LowerImage70", word70MHz, "-1", form::PlotRole::Image, 109999999.981, -3.93},
                      StemCase{"Harmonic2At70", word70MHz, "H2", form::PlotRole::Harmonic, 39999999.963, {}},
                      StemCase{"Harmonic3At70", word70MHz, "H3", form::PlotRole::Harmonic, 30000000.056, {}},
                      StemCase{"Harmonic5At70", word70MHz, "H5", form::PlotRole::Harmonic, 9999999.907, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Plot, OneStemPerComponent)
{
    const calc::Spectrum spectrum = spectrumOf(word70MHz);
    const form::PlotDescription plot = form::spectrumPlot(spectrum, width, height);
    ASSERT_EQ(plot.stems.size(), spectrum.components.size());
    for (std::size_t i = 0; i < plot.stems.size(); ++i) {
        EXPECT_EQ(plot.stems[i].label, calc::componentLabel(spectrum.components[i]));
        EXPECT_EQ(plot.stems[i].dbc, spectrum.components[i].levelDbc);
    }
}

struct MarkerCase {
    const char* name;
    calc::SystemClock clock;
    std::uint32_t word;
    double halfClockHz;
    const char* shareLabel;
    double shareHz;
};

class PlotMarkers : public ::testing::TestWithParam<MarkerCase> {};

TEST_P(PlotMarkers, DashedLinesAtHalfTheClockAndTheOutputShare)
{
    const MarkerCase& c = GetParam();
    const form::PlotDescription plot = form::spectrumPlot(spectrumOf(c.word, std::nullopt, c.clock), width, height);
    const Scales scales = scalesOf(plot);
    EXPECT_TRUE(form::plotStyle(form::PlotRole::Marker).dashed);
    std::vector<double> markerXs;
    for (const form::PlotLine& l : plot.lines)
        if (l.role == form::PlotRole::Marker) {
            EXPECT_EQ(l.from.x, l.to.x);
            EXPECT_NEAR(std::min(l.from.y, l.to.y), plot.area.top, 1e-9);
            EXPECT_NEAR(std::max(l.from.y, l.to.y), plot.area.top + plot.area.height, 1e-9);
            markerXs.push_back(l.from.x);
        }
    ASSERT_EQ(markerXs.size(), 2U);
    std::sort(markerXs.begin(), markerXs.end());
    EXPECT_NEAR(markerXs[0], scales.x(c.shareHz), 0.01);
    EXPECT_NEAR(markerXs[1], scales.x(c.halfClockHz), 0.01);

    const auto half = textsReading(plot, "fc/2");
    const auto share = textsReading(plot, c.shareLabel);
    ASSERT_EQ(half.size(), 1U);
    ASSERT_EQ(share.size(), 1U);
    EXPECT_EQ(half[0]->role, form::PlotRole::Marker);
    EXPECT_EQ(share[0]->role, form::PlotRole::Marker);
    EXPECT_NEAR(half[0]->at.x, markerXs[1], 10); // beside their lines
    EXPECT_NEAR(share[0]->at.x, markerXs[0], 10);
}

INSTANTIATE_TEST_SUITE_P(Chips, PlotMarkers,
                         ::testing::Values(MarkerCase{"AD9851", clockOf("30"), word70MHz, 90e6, "40 %", 72e6},
                                           MarkerCase{"AD9850", clockOf("125", calc::Chip::AD9850), 0x10000000, 62.5e6,
                                                      "33 %", 41.25e6}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Plot, TheEnvelopeIsTheHoldRelativeToTheOutputAndPassesThroughTheImages)
{
    const form::PlotDescription plot = form::spectrumPlot(spectrumOf(word10MHz), width, height);
    const Scales scales = scalesOf(plot);
    ASSERT_FALSE(plot.curves.empty());
    for (const double hz : {170000000.009, 189999999.991}) {
        const auto y = curveY(plot, form::PlotRole::Envelope, scales.x(hz));
        ASSERT_TRUE(y) << hz;
        EXPECT_NEAR(scales.dbAt(*y), hz < 180e6 ? -24.61 : -25.58, 0.2) << hz;
    }
    // Near the output it stands at 0 dBc.
    const auto atOutput = curveY(plot, form::PlotRole::Envelope, scales.x(9999999.991));
    ASSERT_TRUE(atOutput);
    EXPECT_NEAR(scales.dbAt(*atOutput), 0.0, 0.05);
    // It falls to nothing at the clock: it reaches the floor on both sides.
    const double floorY = plot.area.top + plot.area.height;
    int onFloor = 0;
    for (const form::PlotCurve& c : plot.curves)
        for (const form::PlotPoint& p : c.points)
            if (c.role == form::PlotRole::Envelope && std::abs(p.x - scales.x(180e6)) < 1 &&
                std::abs(p.y - floorY) < 1e-6)
                ++onFloor;
    EXPECT_EQ(onFloor, 2);
}

TEST(Plot, TheFilterResponseOnlyWithAFilter)
{
    const auto filterCurves = [](const form::PlotDescription& plot) {
        return std::count_if(plot.curves.begin(), plot.curves.end(),
                             [](const form::PlotCurve& c) { return c.role == form::PlotRole::Filter; });
    };
    EXPECT_EQ(filterCurves(form::spectrumPlot(spectrumOf(word70MHz), width, height)), 0);

    const form::PlotDescription plot = form::spectrumPlot(spectrumOf(word70MHz, butterworth7At70MHz), width, height);
    ASSERT_GT(filterCurves(plot), 0);
    const Scales scales = scalesOf(plot);
    // 27.49 dB at 110 MHz, 3.01 dB at the output: -24.48 dBc.
    const auto y = curveY(plot, form::PlotRole::Filter, scales.x(110e6));
    ASSERT_TRUE(y);
    EXPECT_NEAR(scales.dbAt(*y), -24.48, 0.1);
    // The legend names it.
    EXPECT_EQ(textsReading(plot, "滤波器响应").size(), 1U);
    EXPECT_TRUE(textsReading(form::spectrumPlot(spectrumOf(word70MHz), width, height), "滤波器响应").empty());
}

TEST(Plot, TitleAndAxisTitles)
{
    const form::PlotDescription plot = form::spectrumPlot(spectrumOf(word70MHz), width, height);
    EXPECT_EQ(plot.title, "输出 70000000.019 Hz · 时钟 180 MHz · 频率字 0x638E38E4");
    const auto title = textsReading(plot, plot.title);
    ASSERT_EQ(title.size(), 1U);
    EXPECT_EQ(title[0]->role, form::PlotRole::Title);
    EXPECT_LT(title[0]->at.y, plot.area.top);
    EXPECT_EQ(textsReading(plot, "频率 (MHz)").size(), 1U);
    EXPECT_EQ(textsReading(plot, "电平 (dBc)").size(), 1U);

    // A clock that is no whole number of MHz is written in full.
    calc::ClockOptions options;
    options.crystalMHz = "30";
    options.ppm = "-10";
    EXPECT_EQ(form::spectrumPlot(spectrumOf(word10MHz, std::nullopt, calc::systemClock(options)), width, height).title,
              "输出 9999899.991 Hz · 时钟 179.9982 MHz · 频率字 0x0E38E38E");
}

struct FigureCase {
    const char* name;
    std::uint32_t word;
    std::optional<calc::ReconstructionFilter> filter;
    double width, height;
};

class PlotFigures : public ::testing::TestWithParam<FigureCase> {};

TEST_P(PlotFigures, ReadableTicksAndEverythingInsideTheFigure)
{
    const FigureCase& c = GetParam();
    const calc::Spectrum spectrum = spectrumOf(c.word, c.filter);
    const form::PlotDescription plot = form::spectrumPlot(spectrum, c.width, c.height);
    EXPECT_EQ(plot.width, c.width);
    EXPECT_EQ(plot.height, c.height);

    // Ticks: short numbers, evenly spaced by 1, 2 or 5 times a power of
    // ten, five to ten steps of frequency over every component, levels
    // from a floor of at least -120 dBc to +10 dBc.
    const std::regex readable(R"(-?\d{1,4}(\.\d{1,2})?)");
    for (const form::TextAnchor anchor : {form::TextAnchor::Middle, form::TextAnchor::End}) {
        const auto found = ticks(plot, anchor);
        ASSERT_GE(found.size(), 4U);
        std::vector<double> values;
        for (const form::PlotText* t : found) {
            EXPECT_TRUE(std::regex_match(t->text, readable)) << t->text;
            values.push_back(std::stod(t->text));
        }
        std::sort(values.begin(), values.end());
        const double step = values[1] - values[0];
        const double power = std::pow(10.0, std::floor(std::log10(step) + 1e-9));
        const double mantissa = step / power;
        EXPECT_TRUE(std::abs(mantissa - 1) < 1e-6 || std::abs(mantissa - 2) < 1e-6 || std::abs(mantissa - 5) < 1e-6)
            << step;
        for (std::size_t i = 1; i < values.size(); ++i)
            EXPECT_NEAR(values[i] - values[i - 1], step, 1e-6);
        if (anchor == form::TextAnchor::Middle) {
            EXPECT_EQ(values.front(), 0.0);
            EXPECT_GE(values.size(), 6U);
            EXPECT_LE(values.size(), 11U);
            for (const calc::SpectralComponent& comp : spectrum.components)
                EXPECT_LE(comp.hz / 1e6, values.back());
        } else {
            EXPECT_GE(values.front(), -120.0);
            EXPECT_LE(values.back(), 10.0);
            EXPECT_LE(values.size(), 11U);
        }
    }

    const auto inside = [&](form::PlotPoint p, const char* what) {
        EXPECT_TRUE(p.x >= 0 && p.x <= c.width && p.y >= 0 && p.y <= c.height) << what << " at " << p.x << ',' << p.y;
    };
    const form::PlotRect& a = plot.area;
    const auto inArea = [&](form::PlotPoint p, const char* what) {
        EXPECT_TRUE(p.x >= a.left - 1e-9 && p.x <= a.left + a.width + 1e-9 && p.y >= a.top - 1e-9 &&
                    p.y <= a.top + a.height + 1e-9)
            << what << " at " << p.x << ',' << p.y;
    };
    for (const form::PlotLine& l : plot.lines) {
        inside(l.from, "line");
        inside(l.to, "line");
    }
    for (const form::PlotCurve& curve : plot.curves) {
        EXPECT_GE(curve.points.size(), 2U);
        for (const form::PlotPoint& p : curve.points)
            inArea(p, "curve");
    }
    for (const form::PlotStem& s : plot.stems) {
        inArea(s.top, s.label.c_str());
        inArea(s.bottom, s.label.c_str());
        EXPECT_LE(s.top.y, s.bottom.y);
    }
    for (const form::PlotText& t : plot.texts) {
        inside(t.at, t.text.c_str());
        EXPECT_GE(t.at.y, form::plotStyle(t.role).fontPixels) << t.text;
        EXPECT_FALSE(t.text.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(Spectra, PlotFigures,
                         ::testing::Values(FigureCase{"Saved10MHz", word10MHz, std::nullopt, width, height},
                                           FigureCase{"Saved70MHzFiltered", word70MHz, butterworth7At70MHz, width,
                                                      height},
                                           FigureCase{"Saved60MHz", word60MHz, std::nullopt, width, height},
                                           FigureCase{"Small", word70MHz, butterworth7At70MHz, 420, 300},
                                           FigureCase{"Large", word10MHz, std::nullopt, 1400, 900},
                                           FigureCase{"AFewHertz", 100, std::nullopt, width, height},
                                           FigureCase{"SmallestWord", 1, std::nullopt, width, height},
                                           FigureCase{"HighestWord", 0x7FFFFFFF, butterworth7At70MHz, width, height}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Plot, LevelsBelowTheFloorStandOnIt)
{
    // A few hertz: the images sit next to the clock's multiples, far below
    // -120 dBc.
    const form::PlotDescription plot = form::spectrumPlot(spectrumOf(100), width, height);
    const double floorY = plot.area.top + plot.area.height;
    bool sawFloor = false;
    for (const form::PlotStem& s : plot.stems) {
        EXPECT_LE(s.top.y, floorY + 1e-9);
        if (s.dbc < -120) {
            EXPECT_EQ(s.top.y, floorY) << s.label;
            sawFloor = true;
        }
    }
    EXPECT_TRUE(sawFloor);
}

TEST(Plot, LabelsOfComponentsOnTheSameFrequencyDoNotCoverEachOther)
{
    // 60 MHz at 180 MHz: harmonic 2 folds onto the output.
    const form::PlotDescription plot = form::spectrumPlot(spectrumOf(word60MHz), width, height);
    const auto f = textsReading(plot, "f");
    const auto h2 = textsReading(plot, "H2");
    ASSERT_EQ(f.size(), 1U);
    ASSERT_EQ(h2.size(), 1U);
    EXPECT_NEAR(f[0]->at.x, h2[0]->at.x, 0.01);
    const double font = std::max(form::plotStyle(form::PlotRole::Output).fontPixels,
                                 form::plotStyle(form::PlotRole::Harmonic).fontPixels);
    EXPECT_GE(std::abs(f[0]->at.y - h2[0]->at.y), font);
}

TEST(Plot, StylesAreReadableOnWhiteAndTellTheComponentsApart)
{
    const auto luminance = [](std::uint32_t rgb) {
        const auto channel = [](std::uint32_t v) {
            const double c = v / 255.0;
            return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * channel(rgb >> 16 & 0xFF) + 0.7152 * channel(rgb >> 8 & 0xFF) + 0.0722 * channel(rgb & 0xFF);
    };
    const double white = luminance(form::plotStyle(form::PlotRole::Background).rgb);
    EXPECT_EQ(form::plotStyle(form::PlotRole::Background).rgb, 0xFFFFFFU);
    using form::PlotRole;
    // Texts and the data's colours: a contrast of at least 4.5 to 1.
    for (const PlotRole role : {PlotRole::TickLabel, PlotRole::AxisTitle, PlotRole::Title, PlotRole::Output,
                                PlotRole::Image, PlotRole::Harmonic, PlotRole::Marker, PlotRole::Envelope}) {
        const double contrast = (white + 0.05) / (luminance(form::plotStyle(role).rgb) + 0.05);
        EXPECT_GE(contrast, 4.5) << static_cast<int>(role);
    }
    const std::vector<PlotRole> distinct{PlotRole::Output,   PlotRole::Image,  PlotRole::Harmonic,
                                         PlotRole::Envelope, PlotRole::Filter, PlotRole::Marker};
    for (std::size_t i = 0; i < distinct.size(); ++i)
        for (std::size_t j = i + 1; j < distinct.size(); ++j)
            EXPECT_NE(form::plotStyle(distinct[i]).rgb, form::plotStyle(distinct[j]).rgb) << i << ' ' << j;
    for (const PlotRole role : {PlotRole::TickLabel, PlotRole::AxisTitle, PlotRole::Title, PlotRole::Output,
                                PlotRole::Image, PlotRole::Harmonic, PlotRole::Marker})
        EXPECT_GT(form::plotStyle(role).fontPixels, 0.0);
}

std::size_t occurrences(const std::string& text, const std::string& part)
{
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

TEST(Svg, AStandaloneDocumentOfEveryElement)
{
    const form::PlotDescription plot = form::spectrumPlot(spectrumOf(word70MHz, butterworth7At70MHz), width, height);
    const std::string svg = form::svgDocument(plot);
    EXPECT_EQ(svg.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\"", 0),
              0U);
    EXPECT_NE(svg.find("width=\"800.00\" height=\"480.00\" viewBox=\"0 0 800.00 480.00\""), std::string::npos);
    EXPECT_NE(svg.find("Noto Sans CJK SC"), std::string::npos);
    EXPECT_NE(svg.find("WenQuanYi Micro Hei"), std::string::npos);
    EXPECT_EQ(svg.substr(svg.size() - 7), "</svg>\n");
    EXPECT_EQ(occurrences(svg, "<line "), plot.lines.size() + plot.stems.size());
    EXPECT_EQ(occurrences(svg, "<polyline "), plot.curves.size());
    EXPECT_EQ(occurrences(svg, "<text "), plot.texts.size());
    EXPECT_NE(svg.find(">输出 70000000.019 Hz · 时钟 180 MHz · 频率字 0x638E38E4</text>"), std::string::npos);
    EXPECT_NE(svg.find("stroke-dasharray"), std::string::npos); // the markers
    EXPECT_EQ(svg, form::svgDocument(plot));                    // the same bytes every time
}

TEST(Svg, ExtremeSpectraGiveNumbersOnly)
{
    // A clock far below a microhertz, and harmonics at -1e308 dBc: every
    // tick label is a plain number, and no number in the SVG is nan or inf.
    calc::ClockOptions slow;
    slow.referenceHz = "1e-60";
    slow.multiplier = false;
    calc::SpectrumSettings weak;
    weak.harmonicDbc = -1e308;
    const calc::Spectrum spectra[] = {calc::outputSpectrum(word10MHz, calc::systemClock(slow), {}),
                                      calc::outputSpectrum(word70MHz, clockOf("30"), weak)};
    const std::regex plainNumber("-?[0-9]+(\\.[0-9]+)?");
    for (const calc::Spectrum& spectrum : spectra) {
        const form::PlotDescription plot = form::spectrumPlot(spectrum, width, height);
        for (const form::PlotText& text : plot.texts)
            if (text.role == form::PlotRole::TickLabel &&
                std::ranges::all_of(text.text, [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
                EXPECT_TRUE(std::regex_match(text.text, plainNumber)) << text.text;
            }
        const std::string svg = form::svgDocument(plot);
        EXPECT_EQ(svg.find("nan"), std::string::npos);
        EXPECT_EQ(svg.find("inf"), std::string::npos);
    }
}

TEST(Svg, NumbersHaveTwoDecimalsAndTextsAreEscaped)
{
    form::PlotDescription plot;
    plot.width = 100;
    plot.height = 50.5;
    plot.area = {10, 10, 80, 30};
    plot.title = "a<b & \"c\" 'd'>";
    plot.lines.push_back({{1.0 / 3, -0.001}, {99.999, 2}, form::PlotRole::Frame});
    plot.texts.push_back({{5, 20}, plot.title, form::TextAnchor::End, form::PlotRole::Title});
    const std::string svg = form::svgDocument(plot);
    EXPECT_NE(svg.find("<line x1=\"0.33\" y1=\"0.00\" x2=\"100.00\" y2=\"2.00\""), std::string::npos) << svg;
    EXPECT_NE(svg.find("<title>a&lt;b &amp; &quot;c&quot; &apos;d&apos;&gt;</title>"), std::string::npos) << svg;
    EXPECT_NE(svg.find("text-anchor=\"end\" font-weight=\"bold\">a&lt;b &amp;"), std::string::npos) << svg;
    EXPECT_EQ(svg.find("a<b"), std::string::npos);
}

} // namespace
