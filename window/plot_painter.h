#pragma once
// Paints a toolkit-free plot description with QPainter, on screen and into
// images.

#include "form/plot.h"

#include <QImage>

class QPainter;

namespace window {

// Paints `plot` with its top-left corner at the painter's origin.
void paintPlot(QPainter& painter, const form::PlotDescription& plot);

// The plot as an image of its own size, for saving as PNG.
QImage plotImage(const form::PlotDescription& plot);

} // namespace window
