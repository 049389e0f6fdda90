#pragma once
// The frequency units and data modes offered to the user.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace calc {

enum UnitIndex : std::int16_t { Hz = 0, KHz = 1, MHz = 2 };
enum DataMode : std::int16_t { Serial = 0, Parallel = 1 };

// The unit label's caption for a unit index: "Hz", "KHz" or "MHz";
// nothing for any other index.
std::optional<std::string_view> unitCaption(std::int16_t mode1) noexcept;

// The factor that turns a frequency in the unit into Hz: 1, 1000 or
// 1000000.  Nothing for an index outside the table, which applies no factor.
std::optional<std::int32_t> unitFactor(std::int16_t mode1) noexcept;

// The same factor as a power of ten: 0, 3 or 6 (0 outside the table), for
// exact arithmetic.
int unitPowerOfTen(std::int16_t mode1) noexcept;

// A count of mHz written in the unit of mode1 (Hz outside the table),
// without trailing zeros: 59999999986 -> "59999999.986" in Hz,
// "59.999999986" in MHz.
std::string formatMilliHz(std::uint64_t milliHz, std::int16_t mode1);

// Serial loading sends the least significant byte first; any mode other
// than serial is taken as parallel, most significant byte first.
constexpr bool isSerial(std::int16_t mode2) noexcept { return mode2 == Serial; }

} // namespace calc
