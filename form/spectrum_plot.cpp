#include "calc/spectrum.h"
#include "calc/text_format.h"
#include "form/plot.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <string_view>

namespace form {

namespace {

// The margins around the plot area, pixels: room for the title and the
// level axis's title above, the level ticks on the left, the frequency
// ticks and the axis title below.
constexpr double marginLeft = 52;
constexpr double marginRight = 24;
constexpr double marginTop = 50;
constexpr double marginBottom = 46;
constexpr double tickLength = 5;
constexpr double labelGap = 4; // between a stem's top and its label, a marker and its label

// The level axis: up to this above the output, down to no lower than
// floorLimitDbc, and always down to at least floorHighestDbc.
constexpr double topDbc = 10;
constexpr double floorLimitDbc = -120;
constexpr double floorHighestDbc = -40;
// The weakest component stands at least this far above the floor.
constexpr double floorRoomDb = 5;

// Ticks step 1, 2 or 5 times a power of ten.
struct TickStep {
    double value;
    int exponent; // value = mantissa x 10^exponent
};

// The smallest 1-2-5 step that divides `range` into at most ten parts
// (and so into at least five).
TickStep tickStep(double range)
{
    const double raw = range / 10;
    int exponent = static_cast<int>(std::floor(std::log10(raw)));
    for (;;) {
        const double power = std::pow(10.0, exponent);
        for (const double mantissa : {1.0, 2.0, 5.0})
            if (mantissa * power >= raw * (1 - 1e-12))
                return {mantissa * power, exponent};
        ++exponent;
    }
}

// The width a text takes, estimated from its font size: wide for CJK and
// other characters outside ASCII, narrower for ASCII.
double textWidth(std::string_view utf8, double fontPixels)
{
    double width = 0;
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80)
            width += 0.6 * fontPixels;
        else if (byte >= 0xC0) // the first byte of a character beyond ASCII
            width += fontPixels;
    }
    return width;
}

struct Box {
    double left, top, right, bottom;
    bool overlaps(const Box& other) const
    {
        return left < other.right && other.left < right && top < other.bottom && other.top < bottom;
    }
};

Box textBox(const PlotText& text)
{
    const double font = plotStyle(text.role).fontPixels;
    const double width = textWidth(text.text, font);
    const double left = text.anchor == TextAnchor::Start    ? text.at.x
                        : text.anchor == TextAnchor::Middle ? text.at.x - width / 2
                                                            : text.at.x - width;
    return {left, text.at.y - font, left + width, text.at.y + 0.25 * font};
}

PlotRole roleOf(calc::ComponentKind kind)
{
    switch (kind) {
    case calc::ComponentKind::Fundamental:
        return PlotRole::Output;
    case calc::ComponentKind::Image:
        return PlotRole::Image;
    case calc::ComponentKind::Harmonic:
        return PlotRole::Harmonic;
    }
    return PlotRole::Output;
}

std::string plotTitle(const calc::Spectrum& spectrum)
{
    char word[16];
    std::snprintf(word, sizeof word, "0x%08X", static_cast<unsigned>(spectrum.word));
    return "输出 " + calc::formatHz(spectrum.output().milliHz) + " Hz · 时钟 " +
           calc::trimmedFixedPoint(spectrum.clockMilliHz, 9) + " MHz · 频率字 " + word;
}

// Builds the description: the scales first, then each part in the order
// it is painted.
class PlotBuilder {
public:
    PlotBuilder(const calc::Spectrum& spectrum, double width, double height) : spectrum_(spectrum)
    {
        plot_.width = width;
        plot_.height = height;
        plot_.area = {marginLeft, marginTop, std::max(1.0, width - marginLeft - marginRight),
                      std::max(1.0, height - marginTop - marginBottom)};
        chooseScales();
    }

    PlotDescription build()
    {
        addFrequencyAxis();
        addLevelAxis();
        addMarkers();
        addFrame();
        addEnvelope();
        addFilterResponse();
        addTitles();
        addStems();
        return std::move(plot_);
    }

private:
    const calc::Spectrum& spectrum_;
    PlotDescription plot_;
    double maxHz_ = 1;
    TickStep hzStep_{1, 0};
    double floorDbc_ = floorHighestDbc;
    TickStep dbStep_{10, 1};
    std::vector<Box> taken_; // texts placed so far that labels must not cover

    double right() const { return plot_.area.left + plot_.area.width; }
    double bottom() const { return plot_.area.top + plot_.area.height; }
    double xOf(double hz) const { return plot_.area.left + hz / maxHz_ * plot_.area.width; }
    double yOf(double dbc) const
    {
        const double level = std::clamp(dbc, floorDbc_, topDbc);
        return plot_.area.top + (topDbc - level) / (topDbc - floorDbc_) * plot_.area.height;
    }

    void chooseScales()
    {
        // Every component, and the images' neighbourhood up to half a clock
        // beyond the last order.
        double highest = (spectrum_.settings.images + 0.5) * spectrum_.clockHz;
        double weakest = 0;
        for (const calc::SpectralComponent& c : spectrum_.components) {
            highest = std::max(highest, c.hz);
            if (std::isfinite(c.levelDbc))
                weakest = std::min(weakest, c.levelDbc);
        }
        if (!(highest > 0))
            highest = 1;
        hzStep_ = tickStep(highest);
        maxHz_ = std::ceil(highest / hzStep_.value * (1 - 1e-12)) * hzStep_.value;

        floorDbc_ = std::clamp(10 * std::floor((weakest - floorRoomDb) / 10), floorLimitDbc, floorHighestDbc);
        dbStep_ = tickStep(topDbc - floorDbc_);
    }

    void addText(PlotPoint at, std::string text, TextAnchor anchor, PlotRole role)
    {
        plot_.texts.push_back({at, std::move(text), anchor, role});
        taken_.push_back(textBox(plot_.texts.back()));
    }

    void addFrequencyAxis()
    {
        const int decimals = std::max(0, 6 - hzStep_.exponent); // labels in MHz
        const auto count = static_cast<int>(std::lround(maxHz_ / hzStep_.value));
        for (int i = 0; i <= count; ++i) {
            const double hz = i * hzStep_.value;
            const double x = xOf(hz);
            if (i != 0 && i != count)
                plot_.lines.push_back({{x, plot_.area.top}, {x, bottom()}, PlotRole::Grid});
            plot_.lines.push_back({{x, bottom()}, {x, bottom() + tickLength}, PlotRole::Frame});
            addText({x, bottom() + tickLength + plotStyle(PlotRole::TickLabel).fontPixels},
                    calc::fixedDecimals(hz / 1e6, decimals), TextAnchor::Middle, PlotRole::TickLabel);
        }
    }

    void addLevelAxis()
    {
        const double font = plotStyle(PlotRole::TickLabel).fontPixels;
        const double first = std::ceil(floorDbc_ / dbStep_.value - 1e-9) * dbStep_.value;
        for (double dbc = first; dbc <= topDbc + 1e-9; dbc += dbStep_.value) {
            const double y = yOf(dbc);
            if (dbc > floorDbc_ + 1e-9 && dbc < topDbc - 1e-9)
                plot_.lines.push_back({{plot_.area.left, y}, {right(), y}, PlotRole::Grid});
            plot_.lines.push_back({{plot_.area.left - tickLength, y}, {plot_.area.left, y}, PlotRole::Frame});
            addText({plot_.area.left - tickLength - 2, y + font / 3}, calc::fixedDecimals(dbc, 0), TextAnchor::End,
                    PlotRole::TickLabel);
        }
    }

    // Dashed lines at half the clock and at the chip's output share, the
    // share's label left of its line and half the clock's right of it.
    void addMarkers()
    {
        const unsigned share = calc::outputSharePercent(spectrum_.chip);
        const double labelY = plot_.area.top + plotStyle(PlotRole::Marker).fontPixels + labelGap;
        const auto marker = [&](double hz, std::string label, TextAnchor anchor, double dx) {
            const double x = xOf(hz);
            plot_.lines.push_back({{x, bottom()}, {x, plot_.area.top}, PlotRole::Marker});
            addText({x + dx, labelY}, std::move(label), anchor, PlotRole::Marker);
        };
        marker(spectrum_.clockHz / 2, "fc/2", TextAnchor::Start, labelGap);
        marker(spectrum_.clockHz * share / 100, std::to_string(share) + " %", TextAnchor::End, -labelGap);
    }

    void addFrame()
    {
        const PlotRect& a = plot_.area;
        const PlotPoint corners[] = {{a.left, a.top}, {right(), a.top}, {right(), bottom()}, {a.left, bottom()}};
        for (int i = 0; i < 4; ++i)
            plot_.lines.push_back({corners[i], corners[(i + 1) % 4], PlotRole::Frame});
    }

    // The curve of `level` (dBc) over the whole frequency axis, sampled at
    // every pixel and on both sides of each of `nulls` (where the level
    // falls to nothing), cut where it leaves the plot area or has no value.
    void addCurve(const std::function<double(double)>& level, PlotRole role, double nullSpacing = 0)
    {
        const int pixels = std::max(2, static_cast<int>(std::ceil(plot_.area.width)));
        std::vector<double> frequencies;
        for (int i = 0; i <= pixels; ++i)
            frequencies.push_back(maxHz_ * i / pixels);
        if (nullSpacing > 0) {
            const double near = maxHz_ / pixels * 1e-3;
            for (int k = 1; k * nullSpacing < maxHz_; ++k)
                frequencies.insert(frequencies.end(),
                                   {k * nullSpacing - near, k * nullSpacing, k * nullSpacing + near});
            std::sort(frequencies.begin(), frequencies.end());
        }
        std::vector<PlotPoint> piece;
        const auto endPiece = [&] {
            if (piece.size() >= 2)
                plot_.curves.push_back({std::move(piece), role});
            piece.clear();
        };
        double lastHz = 0, lastDbc = 0;
        bool haveLast = false;
        for (const double hz : frequencies) {
            const double dbc = level(hz);
            if (!std::isfinite(dbc)) {
                endPiece();
                haveLast = false;
                continue;
            }
            if (haveLast) {
                // The part of the segment between the floor and the top.
                double from = 0, to = 1;
                const double rise = dbc - lastDbc;
                const auto cut = [&](double bound, bool upper) {
                    const double entering = upper ? lastDbc - bound : bound - lastDbc; // <= 0 when inside
                    const double direction = upper ? rise : -rise;
                    if (direction == 0)
                        return entering <= 0;
                    const double t = -entering / direction;
                    if (direction > 0)
                        to = std::min(to, t);
                    else
                        from = std::max(from, t);
                    return from <= to;
                };
                if (cut(topDbc, true) && cut(floorDbc_, false)) {
                    const auto at = [&](double t) {
                        return PlotPoint{xOf(lastHz + t * (hz - lastHz)), yOf(lastDbc + t * rise)};
                    };
                    if (from > 0)
                        endPiece();
                    if (piece.empty())
                        piece.push_back(at(from));
                    piece.push_back(at(to));
                    if (to < 1)
                        endPiece();
                } else {
                    endPiece();
                }
            }
            lastHz = hz;
            lastDbc = dbc;
            haveLast = true;
        }
        endPiece();
    }

    // The hold's gain relative to the output's.
    void addEnvelope()
    {
        const double clockHz = spectrum_.clockHz;
        const double outputGain = calc::holdGainDb(spectrum_.output().hz, clockHz);
        addCurve([&](double hz) { return calc::holdGainDb(hz, clockHz) - outputGain; }, PlotRole::Envelope, clockHz);
    }

    // The filter's gain relative to the output's.
    void addFilterResponse()
    {
        if (!spectrum_.settings.filter)
            return;
        const calc::ReconstructionFilter& filter = *spectrum_.settings.filter;
        const double outputLoss = calc::filterAttenuationDb(filter, spectrum_.output().hz);
        addCurve([&](double hz) { return -(calc::filterAttenuationDb(filter, hz) - outputLoss); }, PlotRole::Filter);
    }

    // The title, the axes' titles and a legend of the curves left of the
    // frequency axis's title.
    void addTitles()
    {
        plot_.title = plotTitle(spectrum_);
        const double titleFont = plotStyle(PlotRole::Title).fontPixels;
        addText({plot_.width / 2, titleFont + 6}, plot_.title, TextAnchor::Middle, PlotRole::Title);
        const double axisFont = plotStyle(PlotRole::AxisTitle).fontPixels;
        addText({8, plot_.area.top - 8}, "电平 (dBc)", TextAnchor::Start, PlotRole::AxisTitle);
        const std::string frequencyTitle = "频率 (MHz)";
        const double baseline = plot_.height - 8;
        const double center = plot_.area.left + plot_.area.width / 2;
        addText({center, baseline}, frequencyTitle, TextAnchor::Middle, PlotRole::AxisTitle);

        struct Entry {
            PlotRole role;
            std::string_view text;
        };
        std::vector<Entry> entries{{PlotRole::Envelope, "保持包络"}};
        if (spectrum_.settings.filter)
            entries.push_back({PlotRole::Filter, "滤波器响应"});
        constexpr double sample = 20, gap = 4, spacing = 14;
        const double font = plotStyle(PlotRole::TickLabel).fontPixels;
        double legendWidth = 0;
        for (const Entry& e : entries)
            legendWidth += sample + gap + textWidth(e.text, font) + spacing;
        if (plot_.area.left + legendWidth > center - textWidth(frequencyTitle, axisFont) / 2)
            return; // no room in a narrow figure
        double x = plot_.area.left;
        for (const Entry& e : entries) {
            const double y = baseline - font / 3;
            plot_.lines.push_back({{x, y}, {x + sample, y}, e.role});
            addText({x + sample + gap, baseline}, std::string(e.text), TextAnchor::Start, PlotRole::TickLabel);
            x += sample + gap + textWidth(e.text, font) + spacing;
        }
    }

    // A stem per component from the floor up to its level, and its label
    // above it, moved up past labels already placed.
    void addStems()
    {
        const std::vector<calc::SpectralComponent>& components = spectrum_.components;
        std::vector<std::size_t> order(components.size());
        for (std::size_t i = 0; i < order.size(); ++i)
            order[i] = i;
        // The output's label first, then the images', then the harmonics'.
        std::stable_sort(order.begin(), order.end(),
                         [&](std::size_t a, std::size_t b) { return components[a].kind < components[b].kind; });
        plot_.stems.resize(components.size());
        for (const std::size_t i : order) {
            const calc::SpectralComponent& c = components[i];
            const PlotRole role = roleOf(c.kind);
            const double x = xOf(c.hz);
            PlotStem& stem = plot_.stems[i];
            stem = {c.hz, c.levelDbc, {x, yOf(c.levelDbc)}, {x, bottom()}, calc::componentLabel(c), role};

            const double font = plotStyle(role).fontPixels;
            const double highest = font + 2; // the label's baseline stays inside the figure
            PlotText label{{x, stem.top.y - labelGap}, stem.label, TextAnchor::Middle, role};
            for (;;) {
                const Box box = textBox(label);
                const auto hit =
                    std::find_if(taken_.begin(), taken_.end(), [&](const Box& b) { return b.overlaps(box); });
                if (hit == taken_.end())
                    break;
                const double above = hit->top - 1 - 0.25 * font;
                if (above < highest)
                    break; // no free place above: let it overlap
                label.at.y = above;
            }
            plot_.texts.push_back(label);
            taken_.push_back(textBox(label));
        }
    }
};

} // namespace

PlotDescription spectrumPlot(const calc::Spectrum& spectrum, double width, double height)
{
    return PlotBuilder(spectrum, width, height).build();
}

} // namespace form
