#pragma once
// Which clock keeps the spectrum's other components away from an output
// frequency: each candidate reference gives a clock, the clock a word, the
// word a spectrum, and the candidates are ranked by how far the nearest
// component lies from the output (or, for a band, by the strongest
// component inside it).

#include "calc/details.h"
#include "calc/exact_word.h"
#include "calc/spectrum.h"
#include "calc/units.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace calc {

// A band of frequencies, both ends included, in mHz.
struct FrequencyBand {
    std::uint64_t lowMilliHz = 0;
    std::uint64_t highMilliHz = 0;
};

// "LO:HI" in the unit of mode1: two numbers, 0 <= LO <= HI.  Throws
// CalcError(InvalidSetting) saying what is wrong.
FrequencyBand readFrequencyBand(std::string_view text, std::int16_t mode1);

// "25e6,27e6,29.5e6": the texts between the commas, blanks around them
// dropped.  Throws CalcError(InvalidSetting) for an empty one.  Each is
// read as a reference when the plan is made.
std::vector<std::string> splitReferenceList(std::string_view text);

// The crystals offered when no references are given: whole MHz, as the
// calculator window's crystal box takes them.
inline constexpr int firstPlanCrystalMHz = 5;
inline constexpr int lastPlanCrystalMHz = 30;

struct PlanSettings {
    std::int16_t unit = KHz;
    Chip chip = Chip::AD9851;
    bool multiplier = true;
    Rounding rounding = Rounding::NearestHalfUp;
    // References in Hz as written; none: the crystals 5..30 MHz.
    std::vector<std::string> referencesHz;
    SpectrumSettings spectrum;
    std::optional<FrequencyBand> band;
};

struct ClockCandidate {
    std::uint64_t referenceMilliHz = 0;
    std::uint64_t clockMilliHz = 0;
    WordDetails details; // the word, its output and deviation
    // The component other than the output that lies nearest to it (of two
    // as near, the one of lower order: H2 before H4, an image of order 1
    // before H2), and how far: a whole number of steps.
    SpectralComponent nearest;
    std::uint64_t distanceMilliHz = 0;
    // With a band: the strongest component in it other than the output,
    // after the filter when one is set; minus infinity when none lies in it.
    std::optional<double> worstInBandDbc;
};

struct ClockPlan {
    std::vector<ClockCandidate> candidates; // best first
    std::size_t aboveMaxClock = 0;          // left out: their clock exceeds the chip's maximum
    std::size_t tooSlow = 0;                // left out: the frequency is too high for their clock
    std::size_t tooFast = 0;                // left out: the frequency's word at their clock is 0
};

// The component of `spectrum` other than the output that lies nearest to
// the output (of two as near, the one of lower order: H2 before H4, an
// image of order 1 before H2), and how far, in mHz: a whole number of steps
// of `clock`, the clock the spectrum was made for.  A spectrum always holds
// images, so there is one.
struct NearestComponent {
    SpectralComponent component;
    std::uint64_t distanceMilliHz = 0;
};
NearestComponent nearestComponent(const Spectrum& spectrum, const SystemClock& clock);

// The ranked candidates for `frequency` (in the settings' unit, read as
// words are read).  Ranked by the largest distance to the nearest
// component; with a band by the lowest worst level in it first, then the
// distance; then by the smaller deviation, then in the order given.
// Throws CalcError: the frequency's own problems (negative, unreadable, a
// word of 0 at every clock that can make it), a reference that is no reference (InvalidSetting), the
// spectrum settings' (checkSpectrumSettings).
ClockPlan planClock(const PlanSettings& settings, std::string_view frequency);

// The columns: "ref_hz", "clock_hz", "word", "actual_hz", "deviation_hz",
// "nearest_hz", "nearest", "distance_hz" and, with a band,
// "worst_in_band_dbc".
std::vector<std::string_view> planColumns(bool band);

// A candidate's texts, one per column: "29500000", "177000000",
// "874765938", "36050000.001", "+0.001", "32799999.995", "H4",
// "3250000.006" (and the level to 0.01 dB, "-inf" when nothing lies in the
// band).
std::vector<std::string> candidateTexts(const ClockCandidate& candidate);

} // namespace calc
