#pragma once
// The calculation state of the main window: created with every field zero,
// kept between calculations.  Fields in their declared order.

#include <cstdint>

namespace calc {

struct CalcState {
    std::int16_t mode1 = 0; // selected unit: 0 Hz, 1 KHz, 2 MHz
    std::int16_t mode2 = 0; // data mode: 0 serial, anything else parallel
    std::int16_t Fc1 = 0;   // crystal frequency in whole MHz
    double temp = 0.0;      // tuning word before rounding
    std::int32_t temp1 = 0; // never assigned: its value is the format pattern "0"
    double F0 = 0.0;        // output frequency as entered, in the entered unit
    double F1 = 0.0;        // output frequency; in Hz once scaled by the unit
};

} // namespace calc
