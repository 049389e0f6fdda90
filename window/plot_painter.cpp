#include "window/plot_painter.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPen>

#include <cmath>

namespace window {

namespace {

QColor colour(std::uint32_t rgb) { return QColor::fromRgb(QRgb(0xFF000000u | rgb)); }

QPen pen(form::PlotRole role)
{
    const form::PlotStyle style = form::plotStyle(role);
    QPen p(colour(style.rgb), style.lineWidth);
    p.setCapStyle(Qt::FlatCap);
    if (style.dashed)
        p.setDashPattern({4, 3}); // in line widths, as the SVG's dashes

    return p;
}

QFont font(form::PlotRole role)
{
    const form::PlotStyle style = form::plotStyle(role);
    QFont f;
    f.setStyleHint(QFont::SansSerif);
    f.setFamilies({QStringLiteral("sans-serif")});
    f.setPixelSize(std::max(1, int(std::lround(style.fontPixels))));
    f.setBold(style.bold);
    return f;
}

QPointF point(const form::PlotPoint& p) { return {p.x, p.y}; }

void paintText(QPainter& painter, const form::PlotText& text)
{
    painter.setFont(font(text.role));
    painter.setPen(colour(form::plotStyle(text.role).rgb));
    const QString s = QString::fromUtf8(text.text.data(), qsizetype(text.text.size()));
    const double advance = QFontMetricsF(painter.font()).horizontalAdvance(s);
    double x = text.at.x;
    if (text.anchor == form::TextAnchor::Middle)
        x -= advance / 2;
    else if (text.anchor == form::TextAnchor::End)
        x -= advance;
    painter.drawText(QPointF(x, text.at.y), s);
}

} // namespace

void paintPlot(QPainter& painter, const form::PlotDescription& plot)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.fillRect(QRectF(0, 0, plot.width, plot.height), colour(form::plotStyle(form::PlotRole::Background).rgb));
    for (const form::PlotLine& line : plot.lines) {
        painter.setPen(pen(line.role));
        painter.drawLine(point(line.from), point(line.to));
    }
    painter.save();
    painter.setClipRect(QRectF(plot.area.left, plot.area.top, plot.area.width, plot.area.height));
    for (const form::PlotCurve& curve : plot.curves) {
        if (curve.points.empty())
            continue;
        QPainterPath path(point(curve.points.front()));
        for (std::size_t i = 1; i < curve.points.size(); ++i)
            path.lineTo(point(curve.points[i]));
        painter.setPen(pen(curve.role));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(path);
    }
    painter.restore();
    for (const form::PlotStem& stem : plot.stems) {
        painter.setPen(pen(stem.role));
        painter.drawLine(point(stem.bottom), point(stem.top));
    }
    for (const form::PlotText& text : plot.texts)
        paintText(painter, text);
    painter.restore();
}

QImage plotImage(const form::PlotDescription& plot)
{
    QImage image(int(std::ceil(plot.width)), int(std::ceil(plot.height)), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    paintPlot(painter, plot);
    return image;
}

} // namespace window
