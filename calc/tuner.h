#pragma once
// Words for one chip set-up: the unit, the data mode, the clock, the
// rounding and the control byte are fixed; frequencies come one by one.
// This is where the command line's words are made: with the window's
// crystal and multiplier by the window's own calculation, with any other
// clock (or rounding down) in exact arithmetic.

#include "calc/clock.h"
#include "calc/control_byte.h"
#include "calc/details.h"
#include "calc/exact_word.h"
#include "calc/units.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace calc {

struct TunerSettings {
    std::int16_t unit = KHz;
    std::int16_t mode = Serial;
    ClockOptions clock;
    Rounding rounding = Rounding::NearestHalfUp;
    std::uint8_t phaseSteps = 0;
    bool powerDown = false;
};

// One frequency's word, with what the details need.
struct Tuned {
    std::uint32_t word = 0;
    double requestedHz = 0.0; // as the window's arithmetic read it (F1)
    ExactNumber exact;        // as exact arithmetic read it, in the unit
};

class Tuner {
public:
    // Reads and checks the clock; throws CalcError.
    explicit Tuner(const TunerSettings& settings);

    // True when words come from exact arithmetic, not the window's.
    bool isExact() const noexcept
    {
        return clock_.kind != ClockKind::WindowCrystal || settings_.rounding != Rounding::NearestHalfUp;
    }
    const SystemClock& clock() const noexcept { return clock_; }
    ControlByte controlByte() const noexcept { return control_; }
    std::string_view unitCaption() const noexcept { return caption_; }

    // The word for a frequency text in the unit; throws CalcError.
    Tuned tune(std::string_view frequency) const;

    // The four bytes of the word, or the five of the whole load, in load order.
    std::array<std::uint8_t, 4> wordBytes(std::uint32_t word) const noexcept;
    std::array<std::uint8_t, 5> loadBytes(std::uint32_t word) const noexcept;

    WordDetails details(const Tuned& tuned) const;

    // True when the frequency lies above the share of the clock at which
    // the chip's output gets poor (40 % AD9851, 33 % AD9850).
    bool aboveOutputShare(const Tuned& tuned) const;

private:
    TunerSettings settings_;
    SystemClock clock_;
    ControlByte control_;
    std::string_view caption_;
};

} // namespace calc
