#pragma once
// The clock's true frequency from one measurement: the chip was loaded with
// the word for a frequency, a counter read what it puts out, and the ratio
// of the two is the clock's error.  It is taken against the word's own
// output (word x clock / 2^32), not against the frequency asked for, which
// the word only comes near.

#include "calc/tuner.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace calc {

struct Calibration {
    std::uint32_t word = 0;          // the word loaded for the programmed frequency
    std::uint64_t actualMilliHz = 0; // what that word puts out at the clock given, in mHz
    // The reference's error in parts per million (positive: fast), relative
    // to the reference without any --ppm, written with enough decimals that
    // the clock it gives puts the word's output within 0.01 mHz of the
    // measurement: ready to be given as ClockOptions::ppm.
    std::string ppm;
    std::uint64_t clockMilliHz = 0;     // the true system clock, in mHz
    std::uint64_t referenceMilliHz = 0; // the true reference, in mHz
};

// The largest error accepted, in ppm of the word's output: a measurement
// further off is likelier in the wrong unit than from such a clock.
inline constexpr unsigned maxCalibrationPpm = 1000;

// `programmed` and `measured` are numbers in the settings' unit (nothing
// else in the text).  The clock options describe the clock the chip was
// programmed for, a ppm given among them included.  Throws CalcError: the
// programmed frequency's own (too high, negative), and InvalidSetting for
// a text that is not a number, a programmed frequency whose word is 0, a
// measurement that is not above 0 or lies more than maxCalibrationPpm from
// the word's output.
Calibration calibrate(const TunerSettings& settings, std::string_view programmed, std::string_view measured);

// The settings with the calibrated ppm in place of any given: the words
// that now give the frequencies asked for.  The result refers to
// `calibration.ppm`, which must outlive it.
TunerSettings correctedSettings(const TunerSettings& settings, const Calibration& calibration);

} // namespace calc
