#pragma once
// The plot description in form/ painted with GDI.

#include "form/plot.h"

#include <windows.h>

namespace win32 {

// Paints `plot` on `dc`, its figure's top left corner at the DC's origin:
// the background, the lines, the curves clipped to the plot area, the
// stems, the texts.
void paintPlot(HDC dc, const form::PlotDescription& plot);

} // namespace win32
