#pragma once
// The way back: a word found in firmware, as a result line, a byte list, a
// decimal or a hexadecimal number, and what it makes the chip do.

#include "calc/clock.h"
#include "calc/control_byte.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace calc {

struct DecodedWord {
    std::uint32_t word = 0;
    std::optional<ControlByte> control; // when five bytes were given
    bool serialOrder = false;           // the order the five bytes were read in
};

// Reads "{0x1A,0x76,0x05,0x00},//10KHz", "{0x09,0x0E,0x38,0xE3,0x8E}",
// "357914" or "0x5761A".  Byte lists are in the load order of `mode2`:
// four bytes are the word; of five, W0 comes first in parallel mode and
// last in serial mode.  Throws CalcError (InvalidWord) for a malformed
// text, a byte count other than 4 or 5, a word of 2^31 or more or W0 with
// D1 set; for five bytes that are a valid load only in the other order,
// the message says so.
DecodedWord decodeWord(std::string_view text, std::int16_t mode2);

// The decoded word as key=value fields separated by tabs:
// "word=357914\tfrequency_hz=10000.002", and with a control byte
// "\tphase_deg=11.25\tpower_down=0\tmultiplier=1\tbyte_order=parallel".  The clock is
// `options`' clock; a control byte's multiplier bit decides whether it is
// six times the reference.  Throws CalcError for an unusable clock, and for
// a multiplier bit on a chip that has none.
std::string describeWord(const DecodedWord& decoded, ClockOptions options);

} // namespace calc
