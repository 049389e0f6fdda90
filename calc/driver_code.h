#pragma once
// Driver code for the serial load of the AD9851 and AD9850: one complete
// source file in C, as an Arduino sketch or as a MicroPython module, with a
// table of 40-bit loads and the routines that reset the chip, enter serial
// mode, send a load and power the chip down.

#include "calc/tuner.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace calc {

enum class DriverTarget : std::uint8_t { C, Arduino, MicroPython };

// The target's pin numbers for the four wired signals (DATA drives D7).
// C code names the pins by an enum and leaves the numbers to the user.
struct DriverPins {
    int wClk = 8;
    int fqUd = 9;
    int data = 10;
    int reset = 11;

    bool operator==(const DriverPins&) const = default;
};

// Arduino: 8, 9, 10, 11.  MicroPython: 18, 19, 21, 22, general-purpose
// pins on both the ESP32 (whose GPIO 6 to 11 belong to its flash) and the
// Raspberry Pi Pico.
DriverPins defaultDriverPins(DriverTarget target) noexcept;

// "W_CLK=8,FQ_UD=9,DATA=10,RESET=11", names in any case and any order;
// a pin left out keeps its number in `defaults`.  CalcError (InvalidSetting)
// for an unknown name, a name given twice, a number outside 0..255, or two
// signals on one pin.
DriverPins parseDriverPins(std::string_view text, const DriverPins& defaults);

// The prefix of every name the code defines (ad9851_load, AD9851_DATA...):
// a letter, then letters, digits and underscores, at most 32 in all, and no
// keyword of C, C++ or Python.  CalcError (InvalidSetting) otherwise.
void checkDriverName(std::string_view name);

// True for a keyword of C or C++, which no name may be.
bool isCKeyword(std::string_view name);

constexpr std::string_view defaultDriverName = "ad9851";

// One load of the table.
struct DriverRow {
    std::array<std::uint8_t, 5> load{}; // W0..W4, as the datasheet lists them
    std::string frequency;              // as given, with its unit: "10MHz"
    std::string actual;                 // what the chip puts out: "9999999.991 Hz"
};

// The row for a frequency `tuner` has tuned: its load (the bytes of the
// --load line, in the order W0..W4), the frequency text as given with the
// unit, and the actual frequency.
DriverRow driverRow(const Tuner& tuner, const Tuned& tuned, std::string_view frequency);

// The complete source file; the example entry point loads rows[0].
// CalcError (InvalidSetting) for a bad name or pin assignment, or no row.
std::string emitDriverCode(DriverTarget target, const DriverPins& pins, std::string_view name,
                           std::span<const DriverRow> rows);

// `text` made safe inside a comment of any of the three languages: every
// byte outside printable ASCII, and the characters that could end a comment
// or join lines ('*', '/', '\', '?'), written as \xHH.
std::string commentSafe(std::string_view text);

} // namespace calc
