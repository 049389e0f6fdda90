#include "form/plot.h"

#include "calc/text_format.h"

#include <cstdio>

namespace form {

namespace {

// Fonts that have the Chinese texts, then whatever sans-serif font there is.
constexpr const char* fontFamily = "'Noto Sans CJK SC', 'WenQuanYi Micro Hei', 'AR PL UMing CN', sans-serif";

// Pixels with two decimals, whatever the locale: the same plot gives the
// same bytes on every system.
std::string number(double value) { return calc::fixedDecimals(value, 2); }

std::string colour(std::uint32_t rgb)
{
    char text[8];
    std::snprintf(text, sizeof text, "#%06X", static_cast<unsigned>(rgb & 0xFFFFFF));
    return text;
}

std::string escaped(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&apos;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

// The stroke attributes of a role's lines and curves.
std::string stroke(PlotRole role)
{
    const PlotStyle style = plotStyle(role);
    std::string out = " stroke=\"" + colour(style.rgb) + "\" stroke-width=\"" + number(style.lineWidth) + '"';
    if (style.dashed)
        out += " stroke-dasharray=\"" + number(4 * style.lineWidth) + ' ' + number(3 * style.lineWidth) + '"';
    return out;
}

void appendLine(std::string& out, PlotPoint from, PlotPoint to, PlotRole role)
{
    out += "<line x1=\"" + number(from.x) + "\" y1=\"" + number(from.y) + "\" x2=\"" + number(to.x) + "\" y2=\"" +
           number(to.y) + '"' + stroke(role) + "/>\n";
}

const char* anchorName(TextAnchor anchor)
{
    switch (anchor) {
    case TextAnchor::Start:
        return "start";
    case TextAnchor::Middle:
        return "middle";
    case TextAnchor::End:
        return "end";
    }
    return "start";
}

} // namespace

std::string svgDocument(const PlotDescription& plot)
{
    const std::string width = number(plot.width), height = number(plot.height);
    std::string out =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" +
        width + "\" height=\"" + height + "\" viewBox=\"0 0 " + width + ' ' + height + "\" font-family=\"" +
        fontFamily + "\">\n";
    out += "<title>" + escaped(plot.title) + "</title>\n";
    const PlotRect& a = plot.area;
    out += "<defs><clipPath id=\"area\"><rect x=\"" + number(a.left) + "\" y=\"" + number(a.top) + "\" width=\"" +
           number(a.width) + "\" height=\"" + number(a.height) + "\"/></clipPath></defs>\n";
    out += "<rect x=\"0\" y=\"0\" width=\"" + width + "\" height=\"" + height + "\" fill=\"" +
           colour(plotStyle(PlotRole::Background).rgb) + "\"/>\n";

    for (const PlotLine& line : plot.lines)
        appendLine(out, line.from, line.to, line.role);
    for (const PlotCurve& curve : plot.curves) {
        out += "<polyline fill=\"none\" clip-path=\"url(#area)\"" + stroke(curve.role) + " points=\"";
        for (std::size_t i = 0; i < curve.points.size(); ++i) {
            if (i != 0)
                out += ' ';
            out += number(curve.points[i].x) + ',' + number(curve.points[i].y);
        }
        out += "\"/>\n";
    }
    for (const PlotStem& stem : plot.stems)
        appendLine(out, stem.bottom, stem.top, stem.role);
    for (const PlotText& text : plot.texts) {
        const PlotStyle style = plotStyle(text.role);
        out += "<text x=\"" + number(text.at.x) + "\" y=\"" + number(text.at.y) + "\" font-size=\"" +
               number(style.fontPixels) + "\" fill=\"" + colour(style.rgb) + "\" text-anchor=\"" +
               anchorName(text.anchor) + '"' + (style.bold ? " font-weight=\"bold\"" : "") + '>' + escaped(text.text) +
               "</text>\n";
    }
    out += "</svg>\n";
    return out;
}

} // namespace form
