#include "win32/plot_painter.h"

#include "win32/system.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <vector>

namespace win32 {

namespace {

COLORREF colour(std::uint32_t rgb) { return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

int pixel(double v) { return int(std::lround(v)); }

POINT point(const form::PlotPoint& p) { return {pixel(p.x), pixel(p.y)}; }

// A role's pen: flat ends, dashed as the SVG's dashes (4 on, 3 off, in
// line widths).
HPEN createPen(form::PlotRole role)
{
    const form::PlotStyle style = form::plotStyle(role);
    const int width = std::max(1, pixel(style.lineWidth));
    const LOGBRUSH brush{BS_SOLID, colour(style.rgb), 0};
    const std::array<DWORD, 2> dashes{DWORD(4 * width), DWORD(3 * width)};
    if (style.dashed)
        return ExtCreatePen(PS_GEOMETRIC | PS_USERSTYLE | PS_ENDCAP_FLAT, DWORD(width), &brush, DWORD(dashes.size()),
                            dashes.data());
    return ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_FLAT, DWORD(width), &brush, 0, nullptr);
}

// The pens and fonts of one painting, made once per role.
class Tools {
public:
    explicit Tools(HDC dc) : dc_(dc), oldPen_(SelectObject(dc, GetStockObject(NULL_PEN))), oldFont_(nullptr) {}
    Tools(const Tools&) = delete;
    Tools& operator=(const Tools&) = delete;
    ~Tools()
    {
        SelectObject(dc_, oldPen_);
        if (oldFont_)
            SelectObject(dc_, oldFont_);
        for (auto& [role, pen] : pens_)
            DeleteObject(pen);
        for (auto& [role, font] : fonts_)
            DeleteObject(font);
    }
    void usePen(form::PlotRole role)
    {
        HPEN& pen = pens_[role];
        if (!pen)
            pen = createPen(role);
        SelectObject(dc_, pen);
    }
    void useFont(form::PlotRole role)
    {
        HFONT& font = fonts_[role];
        if (!font) {
            const form::PlotStyle style = form::plotStyle(role);
            font = chineseFont(std::max(1, pixel(style.fontPixels)), style.bold);
        }
        HGDIOBJ old = SelectObject(dc_, font);
        if (!oldFont_)
            oldFont_ = old;
    }

private:
    HDC dc_;
    HGDIOBJ oldPen_, oldFont_;
    std::map<form::PlotRole, HPEN> pens_;
    std::map<form::PlotRole, HFONT> fonts_;
};

void drawLine(HDC dc, const form::PlotPoint& from, const form::PlotPoint& to)
{
    const POINT a = point(from), b = point(to);
    MoveToEx(dc, a.x, a.y, nullptr);
    LineTo(dc, b.x, b.y);
}

UINT alignment(form::TextAnchor anchor)
{
    switch (anchor) {
    case form::TextAnchor::Start:
        return TA_LEFT;
    case form::TextAnchor::Middle:
        return TA_CENTER;
    case form::TextAnchor::End:
        return TA_RIGHT;
    }
    return TA_LEFT;
}

} // namespace

void paintPlot(HDC dc, const form::PlotDescription& plot)
{
    const RECT figure{0, 0, pixel(plot.width), pixel(plot.height)};
    HBRUSH background = CreateSolidBrush(colour(form::plotStyle(form::PlotRole::Background).rgb));
    FillRect(dc, &figure, background);
    DeleteObject(background);

    Tools tools(dc);
    for (const form::PlotLine& line : plot.lines) {
        tools.usePen(line.role);
        drawLine(dc, line.from, line.to);
    }
    const int saved = SaveDC(dc);
    const form::PlotRect& a = plot.area;
    IntersectClipRect(dc, pixel(a.left), pixel(a.top), pixel(a.left + a.width), pixel(a.top + a.height));
    for (const form::PlotCurve& curve : plot.curves) {
        std::vector<POINT> points;
        points.reserve(curve.points.size());
        for (const form::PlotPoint& p : curve.points)
            points.push_back(point(p));
        tools.usePen(curve.role);
        Polyline(dc, points.data(), int(points.size()));
    }
    RestoreDC(dc, saved);
    for (const form::PlotStem& stem : plot.stems) {
        tools.usePen(stem.role);
        drawLine(dc, stem.bottom, stem.top);
    }
    SetBkMode(dc, TRANSPARENT);
    for (const form::PlotText& text : plot.texts) {
        tools.useFont(text.role);
        SetTextColor(dc, colour(form::plotStyle(text.role).rgb));
        SetTextAlign(dc, TA_BASELINE | TA_NOUPDATECP | alignment(text.anchor));
        const std::wstring wide = widen(text.text);
        const POINT at = point(text.at);
        TextOutW(dc, at.x, at.y, wide.data(), int(wide.size()));
    }
}

} // namespace win32
