#pragma once
// The 40-bit load: the control byte W0 and the tuning word W1..W4.
//
// W0, bit by bit (AD9851 data sheet, Rev. D):
//   D7..D3  phase, 5 bits of 11.25 degrees each (D7 = 180 degrees)
//   D2      power-down
//   D1      always 0: a 1 enters a factory test mode
//   D0      6x REFCLK multiplier enable (always 0 on the AD9850)
// W1..W4 are tuning-word bits 31..24, 23..16, 15..8 and 7..0.

#include <array>
#include <cstdint>
#include <string_view>

namespace calc {

struct ControlByte {
    std::uint8_t phaseSteps = 0; // 0..31
    bool powerDown = false;
    bool multiplier = false;

    std::uint8_t value() const noexcept
    {
        return std::uint8_t((phaseSteps & 0x1F) << 3 | (powerDown ? 0x04 : 0) | (multiplier ? 0x01 : 0));
    }
    double phaseDegrees() const noexcept { return phaseSteps * 11.25; }
};

// A control byte as loaded; CalcError (InvalidWord) when D1 is set.
ControlByte controlByteFrom(std::uint8_t value);

// The nearest 11.25-degree step to an angle in degrees, an exact half step
// rounding up, taken modulo 360 degrees: "11.25" -> 1, "5.625" -> 1,
// "-5.625" -> 0, "-11.25" -> 31, "360" -> 0.  Exact for any decimal text.
// CalcError (InvalidSetting) when the text is not a number.
std::uint8_t phaseStepsFromDegrees(std::string_view degrees);

// The five bytes in load order.  Parallel: W0, W1, W2, W3, W4.  Serial
// (mode2 == 0): the 40 bits go out from word bit 0 up to W0's D7, so the
// bytes are W4, W3, W2, W1, W0, each sent least significant bit first.
std::array<std::uint8_t, 5> loadBytes(ControlByte control, std::uint32_t word, std::int16_t mode2) noexcept;

} // namespace calc
