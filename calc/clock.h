#pragma once
// The chip's system clock: the reference (a crystal read as the window reads
// it, or an exact frequency in Hz), its error in ppm and the 6x multiplier.

#include "runtime/big_int.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace calc {

enum class Chip : std::uint8_t { AD9851, AD9850 };

struct ClockOptions {
    Chip chip = Chip::AD9851;
    // The crystal in MHz, read as the window reads it; used when no
    // reference in Hz is given.
    std::string_view crystalMHz = "20";
    std::optional<std::string_view> referenceHz;
    // Parts per million that the reference runs fast (positive) or slow
    // (negative): the clock is nominal x (1 + ppm / 10^6).
    std::optional<std::string_view> ppm;
    // The 6x REFCLK multiplier.  The AD9850 has none.
    bool multiplier = true;
};

// Where a clock came from, which decides whose arithmetic makes its words.
enum class ClockKind : std::uint8_t {
    // The crystal box's whole MHz times six, nothing else given: the
    // window's double arithmetic decides the words.
    WindowCrystal,
    // A reference in Hz, a ppm error or no multiplier: words are exact.
    ExactReference,
};

// The system clock in Hz, exactly: numerator / 10^fractionDigits.
struct SystemClock {
    Chip chip = Chip::AD9851;
    bool multiplier = true;
    ClockKind kind = ClockKind::ExactReference;
    std::int16_t crystalMHz = 0; // the whole MHz of a WindowCrystal clock
    rt::BigInt numerator;
    std::uint64_t fractionDigits = 0;
    rt::BigInt referenceNumerator; // the reference, over the same power of ten as given
    std::uint64_t referenceFractionDigits = 0;

    rt::BigInt denominator() const { return rt::powerOfTen(fractionDigits); }
};

// Reads and checks the clock options.  Throws CalcError: CrystalOutOfRange
// for a crystal outside 1..5461 MHz, InvalidSetting for a reference or ppm
// that is not a number, not positive, too large or too finely given.
SystemClock systemClock(const ClockOptions& options);

// The chip's limits.
std::uint64_t maxSystemClockHz(Chip chip) noexcept; // 180 MHz, 125 MHz
// The share of the system clock above which the output is poor: 40 % for
// the AD9851, 33 % for the AD9850 (percent).
unsigned outputSharePercent(Chip chip) noexcept;

// What is unusual about the clock itself, one English sentence each: a
// clock above the chip's maximum, a reference outside 5..30 MHz with the
// multiplier.  Both judge the clock as it runs, after its ppm error.
std::vector<std::string> clockWarnings(const SystemClock& clock);

} // namespace calc
