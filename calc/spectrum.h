#pragma once
// What the chip puts out besides the wanted sine: the images of the sampled
// output around each multiple of the clock, the DAC's harmonics folded into
// the first Nyquist zone, every component shaped by the zero-order hold,
// and what an optional reconstruction filter leaves of each.
//
// The output lies at word x clock / 2^32, and so does every other
// component at a whole number of such steps (an image of order k at
// k x 2^32 -/+ word steps, harmonic n at n x word folded modulo 2^32), so
// component frequencies are exact; only the levels are computed in double.
#include "calc/clock.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace calc {

enum class ComponentKind : std::uint8_t { Fundamental, Image, Harmonic };

struct SpectralComponent {
    ComponentKind kind = ComponentKind::Fundamental;
    // 1 for the output; -k and +k for the images at k x clock - f and
    // k x clock + f; n for harmonic n.
    int order = 1;
    std::uint64_t steps = 0;   // the frequency in clock / 2^32 steps
    std::uint64_t milliHz = 0; // the frequency, to the nearest mHz
    double hz = 0.0;           // the frequency in double, for levels and plots
    double levelDbc = 0.0;     // after the hold, relative to the output
    // After the filter too, relative to the output after the filter; set
    // when a filter is given.
    std::optional<double> filteredDbc;
};

enum class FilterKind : std::uint8_t { Butterworth, Chebyshev, Elliptic };

// A low-pass reconstruction filter after the DAC.
struct ReconstructionFilter {
    FilterKind kind = FilterKind::Butterworth;
    int order = 5;
    // Butterworth: the -3 dB frequency; Chebyshev type I and elliptic: the
    // end of the pass band, where the attenuation equals the ripple.
    double cutoffHz = 0.0;
    double rippleDb = 0.0; // Chebyshev and elliptic
    // Elliptic only: the least attenuation in the stop band, which begins at
    // ellipticStopBandEdgeRatio x the cutoff.
    double stopBandDb = 0.0;
};

// The filter's attenuation at `hz` in dB, zero or more (the Chebyshev and
// elliptic filters' pass bands ripple between 0 and the ripple; the
// elliptic filter's stop band between the stop-band attenuation and
// infinity, at its zeros).
double filterAttenuationDb(const ReconstructionFilter& filter, double hz);

// An elliptic filter's stop-band edge over its cutoff (1 / the selectivity
// k), which its order, ripple and stop-band attenuation fix: the degree
// equation N K'(k) / K(k) = K'(k1) / K(k1), k1 the ratio of the pass and
// stop band's eps.
double ellipticStopBandEdgeRatio(int order, double rippleDb, double stopBandDb);

// The zero-order hold's gain at `hz` in dB (zero or less):
// 20 log10 |sin(pi x / fc) / (pi x / fc)|; minus infinity at the clock's
// multiples.
double holdGainDb(double hz, double clockHz);

struct SpectrumSettings {
    int images = 2;             // K: images up to order K
    int harmonics = 5;          // N: harmonics 2..N
    double harmonicDbc = -50.0; // the harmonics' level before the hold: an assumption
    std::optional<ReconstructionFilter> filter;
};

// The limits the settings are checked against.
inline constexpr int maxImages = 100;
inline constexpr int maxHarmonics = 100;
inline constexpr int maxFilterOrder = 20;
inline constexpr double maxRippleDb = 10.0;
inline constexpr double maxStopBandDb = 200.0;
// An elliptic filter's stop band must begin at least this far above its
// cutoff (as its ratio to the cutoff): a narrower transition is of no real
// filter, and lies beyond what a double can tell from the cutoff.
inline constexpr double minStopBandEdgeRatio = 1.001;

// Throws CalcError(InvalidSetting) naming the setting and its range: images
// outside 1..maxImages, harmonics outside 1..maxHarmonics (1: none),
// a harmonic level that is not finite or above 0 dBc, a filter order
// outside 1..maxFilterOrder, a cutoff that is not positive and finite, a
// ripple outside (0, maxRippleDb] dB, an elliptic filter's stop-band
// attenuation not above its ripple or above maxStopBandDb, or whose stop
// band would begin below minStopBandEdgeRatio x its cutoff.
void checkSpectrumSettings(const SpectrumSettings& settings);

struct Spectrum {
    std::uint32_t word = 0;
    Chip chip = Chip::AD9851;
    double clockHz = 0.0;
    std::uint64_t clockMilliHz = 0;
    SpectrumSettings settings;
    // Sorted by frequency, then by order; the output is among them.
    std::vector<SpectralComponent> components;

    const SpectralComponent& output() const;
};

// Throws CalcError(InvalidSetting) for the word 0, which puts out nothing.
void checkOutputWord(std::uint32_t word);

// The spectrum of the output for `word` at `clock`.  Checks the settings
// first (see checkSpectrumSettings), then the word (checkOutputWord).
Spectrum outputSpectrum(std::uint32_t word, const SystemClock& clock, const SpectrumSettings& settings);

// What deserves a warning about a spectrum.
struct SpectrumConcern {
    enum class Kind : std::uint8_t {
        // a component in 0..fc/2 at the output's own frequency: within one
        // clock step, as near as the rounded word lets it be
        OnOutput,
        NearOutput,  // a component in 0..fc/2 within 1 % of the clock of the output
        StrongImage, // an image less than 10 dB below the output (after the filter when one is set)
    };
    Kind kind;
    std::size_t component; // index into Spectrum::components
};
std::vector<SpectrumConcern> spectrumConcerns(const Spectrum& spectrum);

// "f", "-1", "+1", "H2": the component's short label.
std::string componentLabel(const SpectralComponent& component);

} // namespace calc
