#include "calc/spectrum.h"

#include "calc/errors.h"
#include "runtime/number.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace calc {

namespace {

constexpr std::uint64_t cycleSteps = std::uint64_t(1) << 32; // the clock, in steps
constexpr std::uint64_t nyquistSteps = cycleSteps / 2;       // fc / 2

// Beyond this many decibels of 10 log10(1 + v), the 1 no longer counts in
// a double: the attenuation is taken from log10 v alone, which cannot
// overflow however far the frequency lies above the cutoff.
constexpr double largeDecades = 17.0;

// 10 log10(1 + 10^decades)
double decibelsOfOnePlus(double decades)
{
    return decades > largeDecades ? 10.0 * decades : 10.0 * std::log10(1.0 + std::pow(10.0, decades));
}

double butterworthDb(int order, double ratioDecades) { return decibelsOfOnePlus(2.0 * order * ratioDecades); }

// 10 log10(1 + eps^2 T_N(y)^2), eps^2 = 10^(ripple / 10) - 1, with
// T_N(y) = cos(N acos y) in the pass band and cosh(N acosh y) above it.
double chebyshevDb(int order, double rippleDb, double ratio, double ratioDecades)
{
    const double eps2 = std::expm1(rippleDb / 10.0 * std::numbers::ln10);
    if (ratio <= 1.0) {
        const double t = std::cos(order * std::acos(ratio));
        return 10.0 * std::log10(1.0 + eps2 * t * t);
    }
    // acosh y = ln(y + sqrt(y^2 - 1)), taken as ln 2y where y^2 - 1 is y^2.
    const double lnRatio = ratioDecades * std::numbers::ln10;
    const double z = order * (lnRatio > 20.0 ? lnRatio + std::numbers::ln2 : std::acosh(ratio));
    // log10 cosh z = (z + ln((1 + e^-2z) / 2)) / ln 10
    const double log10T = (z + std::log1p(std::exp(-2.0 * z)) - std::numbers::ln2) / std::numbers::ln10;
    return decibelsOfOnePlus(std::log10(eps2) + 2.0 * log10T);
}

// The frequency of `steps` clock steps in mHz, exactly rounded.
std::uint64_t milliHzOf(std::uint64_t steps, const SystemClock& clock)
{
    return static_cast<std::uint64_t>(
        rt::roundedQuotient(clock.numerator * rt::BigInt(steps) * 1000, clock.denominator() << 32));
}

// n x word folded into 0..2^31 steps: a component above fc / 2 appears
// mirrored below it.
std::uint64_t foldedSteps(std::uint64_t n, std::uint32_t word)
{
    const std::uint64_t r = (n * word) % cycleSteps;
    return r > nyquistSteps ? cycleSteps - r : r;
}

void checkRange(int value, int low, int high, const std::string& what)
{
    if (value < low || value > high)
        throw CalcError(Problem::InvalidSetting,
                        what + " must be from " + std::to_string(low) + " to " + std::to_string(high));
}

} // namespace

double filterAttenuationDb(const ReconstructionFilter& filter, double hz)
{
    if (!(hz > 0.0))
        return filter.kind == FilterKind::Chebyshev ? chebyshevDb(filter.order, filter.rippleDb, 0.0, 0.0) : 0.0;
    const double ratio = hz / filter.cutoffHz;
    const double ratioDecades = std::log10(hz) - std::log10(filter.cutoffHz);
    switch (filter.kind) {
    case FilterKind::Butterworth:
        return butterworthDb(filter.order, ratioDecades);
    case FilterKind::Chebyshev:
        return chebyshevDb(filter.order, filter.rippleDb, ratio, ratioDecades);
    }
    return 0.0;
}

double holdGainDb(double hz, double clockHz)
{
    const double x = hz / clockHz;
    if (x == 0.0)
        return 0.0; // sin(pi x) / (pi x) tends to 1
    // sin(pi x) from the distance to the nearest multiple, which keeps its
    // precision far above the clock and makes the multiples exact zeros.
    const double fromMultiple = x - std::round(x);
    if (fromMultiple == 0.0)
        return -std::numeric_limits<double>::infinity();
    const double gain = std::abs(std::sin(std::numbers::pi * fromMultiple)) / (std::numbers::pi * std::abs(x));
    return 20.0 * std::log10(gain);
}

void checkSpectrumSettings(const SpectrumSettings& settings)
{
    checkRange(settings.images, 1, maxImages, "the number of images");
    checkRange(settings.harmonics, 1, maxHarmonics, "the highest harmonic (1: none)");
    if (!std::isfinite(settings.harmonicDbc) || settings.harmonicDbc > 0.0)
        throw CalcError(Problem::InvalidSetting, "the harmonic level must be a number of dBc, 0 or below");
    if (!settings.filter)
        return;
    const ReconstructionFilter& f = *settings.filter;
    checkRange(f.order, 1, maxFilterOrder, "the filter order");
    if (!std::isfinite(f.cutoffHz) || !(f.cutoffHz > 0.0))
        throw CalcError(Problem::InvalidSetting, "the filter cutoff must be a number of Hz above 0");
    if (f.kind == FilterKind::Chebyshev && !(f.rippleDb > 0.0 && f.rippleDb <= 10.0))
        throw CalcError(Problem::InvalidSetting, "the filter ripple must be above 0 and at most 10 dB");
}

const SpectralComponent& Spectrum::output() const
{
    return *std::ranges::find(components, ComponentKind::Fundamental, &SpectralComponent::kind);
}

void checkOutputWord(std::uint32_t word)
{
    if (word == 0)
        throw CalcError(Problem::InvalidSetting, "the word is 0: the chip puts out no signal to show");
}

Spectrum outputSpectrum(std::uint32_t word, const SystemClock& clock, const SpectrumSettings& settings)
{
    checkSpectrumSettings(settings);
    checkOutputWord(word);

    Spectrum s;
    s.word = word;
    s.chip = clock.chip;
    s.settings = settings;
    s.clockMilliHz = milliHzOf(cycleSteps, clock);
    // The clock's nearest double, however slow: a clock rounded to some
    // fixed unit could round to 0, and every level with it to nan.
    s.clockHz = rt::textToDouble(clock.numerator.str() + "e-" + std::to_string(clock.fractionDigits));

    const auto add = [&](ComponentKind kind, int order, std::uint64_t steps) {
        SpectralComponent c;
        c.kind = kind;
        c.order = order;
        c.steps = steps;
        c.milliHz = milliHzOf(steps, clock);
        c.hz = static_cast<double>(steps) / static_cast<double>(cycleSteps) * s.clockHz;
        s.components.push_back(c);
    };
    add(ComponentKind::Fundamental, 1, word);
    for (int k = 1; k <= settings.images; ++k) {
        const std::uint64_t multiple = static_cast<std::uint64_t>(k) * cycleSteps;
        add(ComponentKind::Image, -k, multiple - word);
        add(ComponentKind::Image, k, multiple + word);
    }
    for (int n = 2; n <= settings.harmonics; ++n)
        add(ComponentKind::Harmonic, n, foldedSteps(static_cast<std::uint64_t>(n), word));

    // Levels relative to the output, both after the hold; the harmonics
    // start at their assumed level.  A harmonic at 0 Hz is DC, which the
    // hold passes whole.
    const double outputHold = holdGainDb(s.components.front().hz, s.clockHz);
    const std::optional<ReconstructionFilter>& filter = settings.filter;
    const double outputFilter = filter ? filterAttenuationDb(*filter, s.components.front().hz) : 0.0;
    for (SpectralComponent& c : s.components) {
        if (c.kind == ComponentKind::Fundamental) {
            c.levelDbc = 0.0;
        } else {
            c.levelDbc = holdGainDb(c.hz, s.clockHz) - outputHold;
            if (c.kind == ComponentKind::Harmonic)
                c.levelDbc += settings.harmonicDbc;
        }
        if (filter)
            c.filteredDbc = c.levelDbc - (filterAttenuationDb(*filter, c.hz) - outputFilter);
    }

    std::ranges::stable_sort(s.components, [](const SpectralComponent& a, const SpectralComponent& b) {
        if (a.steps != b.steps)
            return a.steps < b.steps;
        return a.order < b.order;
    });
    return s;
}

std::vector<SpectrumConcern> spectrumConcerns(const Spectrum& spectrum)
{
    std::vector<SpectrumConcern> concerns;
    const std::uint64_t out = spectrum.output().steps;
    for (std::size_t i = 0; i < spectrum.components.size(); ++i) {
        const SpectralComponent& c = spectrum.components[i];
        if (c.kind == ComponentKind::Fundamental)
            continue;
        if (c.steps <= nyquistSteps) {
            const std::uint64_t apart = c.steps > out ? c.steps - out : out - c.steps;
            if (apart <= 1)
                concerns.push_back({SpectrumConcern::Kind::OnOutput, i});
            else if (apart * 100 <= cycleSteps)
                concerns.push_back({SpectrumConcern::Kind::NearOutput, i});
        }
        if (c.kind == ComponentKind::Image && c.filteredDbc.value_or(c.levelDbc) > -10.0)
            concerns.push_back({SpectrumConcern::Kind::StrongImage, i});
    }
    return concerns;
}

std::string componentLabel(const SpectralComponent& component)
{
    switch (component.kind) {
    case ComponentKind::Fundamental:
        return "f";
    // Appended, not added to a literal: GCC 12 warns wrongly about that.
    case ComponentKind::Image: {
        std::string label(1, component.order < 0 ? '-' : '+');
        return label.append(std::to_string(std::abs(component.order)));
    }
    case ComponentKind::Harmonic:
        return std::string("H").append(std::to_string(component.order));
    }
    return {};
}

} // namespace calc
