#include "form/plot.h"

namespace form {

PlotStyle plotStyle(PlotRole role)
{
    // Dark enough to read on white, and told apart by people who confuse
    // red and green: blue output, vermilion images, bluish green harmonics,
    // purple envelope, amber filter, grey markers.
    switch (role) {
    case PlotRole::Background:
        return {0xFFFFFF, 0.0, false, 0.0, false};
    case PlotRole::Frame:
        return {0x333333, 1.0, false, 0.0, false};
    case PlotRole::Grid:
        return {0xDDDDDD, 1.0, false, 0.0, false};
    case PlotRole::TickLabel:
        return {0x333333, 0.0, false, 11.0, false};
    case PlotRole::AxisTitle:
        return {0x000000, 0.0, false, 12.0, false};
    case PlotRole::Title:
        return {0x000000, 0.0, false, 14.0, true};
    case PlotRole::Output:
        return {0x0060A8, 2.5, false, 12.0, true};
    case PlotRole::Image:
        return {0xC04A00, 2.0, false, 11.0, false};
    case PlotRole::Harmonic:
        return {0x007A5A, 2.0, false, 11.0, false};
    case PlotRole::Envelope:
        return {0x7B3294, 1.5, false, 0.0, false};
    case PlotRole::Filter:
        return {0xB07000, 1.5, true, 0.0, false};
    case PlotRole::Marker:
        return {0x555555, 1.0, true, 11.0, false};
    }
    return {0x000000, 1.0, false, 11.0, false};
}

} // namespace form
