#include "calc/spectrum.h"

#include "calc/details.h"
#include "calc/errors.h"
#include "runtime/number.h"

#include <boost/math/special_functions/ellint_rf.hpp>
#include <boost/math/special_functions/jacobi_elliptic.hpp>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <utility>

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

// eps^2 of a ripple or attenuation: 10^(db / 10) - 1.
double epsSquared(double db) { return std::expm1(db / 10.0 * std::numbers::ln10); }

// 10 log10(1 + eps^2 T_N(y)^2), eps^2 = 10^(ripple / 10) - 1, with
// T_N(y) = cos(N acos y) in the pass band and cosh(N acosh y) above it.
double chebyshevDb(int order, double rippleDb, double ratio, double ratioDecades)
{
    const double eps2 = epsSquared(rippleDb);
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

// K(k), the complete elliptic integral of the first kind, from k'^2 = 1 -
// k^2 given as such: R_F(0, k'^2, 1).  Taking k'^2 rather than k keeps
// K' = K(k') exact however small k is.
double completeEllipticK(double complementSquared) { return boost::math::ellint_rf(0.0, complementSquared, 1.0); }

// The modulus of the nome q = exp(-pi K'/K) for q up to exp(-pi), where the
// theta series converge within a few terms: k = (theta2(q) / theta3(q))^2.
double modulusOfNome(double q)
{
    double theta2 = 0.0; // theta2 / (2 q^(1/4))
    double theta3 = 0.0; // (theta3 - 1) / 2
    for (int n = 0; n < 64; ++n) {
        const double t2 = std::pow(q, n * (n + 1.0));
        const double t3 = std::pow(q, (n + 1.0) * (n + 1.0));
        theta2 += t2;
        theta3 += t3;
        if (t2 < 1e-18)
            break;
    }
    const double ratio = 2.0 * std::pow(q, 0.25) * theta2 / (1.0 + 2.0 * theta3);
    return ratio * ratio;
}

// The selectivity k and its complement k' for K'(k) / K(k) = `tau`: from
// the nome exp(-pi tau) when tau is 1 or more, else k' from the
// complementary nome exp(-pi / tau), so that neither series meets a nome
// near 1 and the smaller of k and k' is never a difference of nearly equal
// numbers.
std::pair<double, double> modulusOfPeriodRatio(double tau)
{
    if (tau >= 1.0) {
        const double k = modulusOfNome(std::exp(-std::numbers::pi * tau));
        return {k, std::sqrt((1.0 - k) * (1.0 + k))};
    }
    const double kc = modulusOfNome(std::exp(-std::numbers::pi / tau));
    return {std::sqrt((1.0 - kc) * (1.0 + kc)), kc};
}

// An elliptic filter's selectivity k = cutoff / stop-band edge and its
// complement, from the degree equation N K'(k) / K(k) = K'(k1) / K(k1) with
// k1^2 = eps_p^2 / eps_s^2 and k1'^2 = 1 - k1^2.
std::pair<double, double> ellipticSelectivity(int order, double rippleDb, double stopBandDb)
{
    const double passEps2 = epsSquared(rippleDb);
    const double stopEps2 = epsSquared(stopBandDb);
    return modulusOfPeriodRatio(completeEllipticK(passEps2 / stopEps2) /
                                (order * completeEllipticK((stopEps2 - passEps2) / stopEps2)));
}

// 10 log10(1 + eps^2 R_N(w)^2) with the elliptic rational function in its
// product form, w the frequency over the cutoff:
//   R_N(w) = w^(N mod 2) prod_i (w^2 - z_i^2) / (1 - k^2 z_i^2 w^2) / sn^2(u_i K)
// over i = 1..N/2, z_i = cd(u_i K, k), u_i = (2i - 1) / N; the last factor
// is (1 - k^2 z_i^2) / (1 - z_i^2), which makes R_N(1) = 1.  The zeros of
// the filter lie at 1 / (k z_i).  Summed as logarithms, above the cutoff
// in 1 / w, so that no product overflows.
double ellipticDb(const ReconstructionFilter& filter, double w, double log10W)
{
    const int n = filter.order;
    const double eps2 = epsSquared(filter.rippleDb);
    const auto [k, complement] = ellipticSelectivity(n, filter.rippleDb, filter.stopBandDb);
    const double quarter = completeEllipticK(complement * complement);
    const bool above = w > 1.0;
    const double v = above ? 1.0 / w : w; // v^2 does not overflow
    double log10R = n % 2 == 1 ? log10W : 0.0;
    for (int i = 1; 2 * i <= n; ++i) {
        double cn = 0.0;
        double dn = 0.0;
        const double sn = boost::math::jacobi_elliptic(k, (2.0 * i - 1.0) / n * quarter, &cn, &dn);
        const double z = cn / dn;
        const double kz = k * z;
        // (w^2 - z^2) / (1 - k^2 z^2 w^2), the same as
        // (1 - z^2 v^2) / (v^2 - k^2 z^2) with v = 1 / w
        const double factor =
            above ? (1.0 - z * z * v * v) / (v * v - kz * kz) : (v * v - z * z) / (1.0 - kz * kz * v * v);
        log10R += std::log10(std::abs(factor)) - 2.0 * std::log10(sn);
    }
    return decibelsOfOnePlus(std::log10(eps2) + 2.0 * log10R);
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

double ellipticStopBandEdgeRatio(int order, double rippleDb, double stopBandDb)
{
    return 1.0 / ellipticSelectivity(order, rippleDb, stopBandDb).first;
}

double filterAttenuationDb(const ReconstructionFilter& filter, double hz)
{
    // At 0 Hz the ratio to the cutoff is 0, its logarithm minus infinity.
    const double ratio = std::max(hz, 0.0) / filter.cutoffHz;
    const double ratioDecades =
        hz > 0.0 ? std::log10(hz) - std::log10(filter.cutoffHz) : -std::numeric_limits<double>::infinity();
    switch (filter.kind) {
    case FilterKind::Butterworth:
        return butterworthDb(filter.order, ratioDecades);
    case FilterKind::Chebyshev:
        return chebyshevDb(filter.order, filter.rippleDb, ratio, ratioDecades);
    case FilterKind::Elliptic:
        return ellipticDb(filter, ratio, ratioDecades);
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
    if (f.kind == FilterKind::Butterworth)
        return;
    if (!(f.rippleDb > 0.0 && f.rippleDb <= maxRippleDb))
        throw CalcError(Problem::InvalidSetting,
                        "the filter ripple must be above 0 and at most " + std::to_string(int(maxRippleDb)) + " dB");
    if (f.kind == FilterKind::Elliptic && !(f.stopBandDb > f.rippleDb && f.stopBandDb <= maxStopBandDb))
        throw CalcError(Problem::InvalidSetting,
                        "the filter stop-band attenuation must be above the ripple and at most " +
                            std::to_string(int(maxStopBandDb)) + " dB");
    if (f.kind == FilterKind::Elliptic &&
        !(ellipticStopBandEdgeRatio(f.order, f.rippleDb, f.stopBandDb) >= minStopBandEdgeRatio))
        throw CalcError(Problem::InvalidSetting,
                        "the elliptic filter's stop band would begin less than 0.1 % above its cutoff: "
                        "lower the order or raise the stop-band attenuation");
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
    s.clockMilliHz = stepsMilliHz(cycleSteps, clock);
    // The clock's nearest double, however slow: a clock rounded to some
    // fixed unit could round to 0, and every level with it to nan.
    s.clockHz = rt::textToDouble(clock.numerator.str() + "e-" + std::to_string(clock.fractionDigits));

    const auto add = [&](ComponentKind kind, int order, std::uint64_t steps) {
        SpectralComponent c;
        c.kind = kind;
        c.order = order;
        c.steps = steps;
        c.milliHz = stepsMilliHz(steps, clock);
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
