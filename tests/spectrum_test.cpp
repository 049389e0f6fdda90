// What the chip puts out: images, harmonics, the hold and the filter.

#include "calc/details.h"
#include "calc/spectrum.h"
#include "calc/spectrum_table.h"
#include "calc/tuner.h"
#include "tests/calc_test_support.h"

#include <boost/math/special_functions/ellint_1.hpp>
#include <boost/math/special_functions/jacobi_elliptic.hpp>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <optional>
#include <string>
#include <vector>

namespace {

using calc::ComponentKind;
using calc::FilterKind;
using calc::Problem;
using calc::SpectrumConcern;
using calc::test::problemOf;

constexpr double dbTolerance = 0.005; // the printed 0.01 dB

calc::Tuner crystal30()
{
    calc::TunerSettings s = calc::test::settings(calc::MHz);
    s.clock.crystalMHz = "30";
    return calc::Tuner(s);
}

// The spectrum of a frequency in MHz at a 30 MHz crystal (180 MHz clock).
calc::Spectrum spectrumAt180(const char* mhz, const calc::SpectrumSettings& settings = {})
{
    const calc::Tuner tuner = crystal30();
    return calc::outputSpectrum(tuner.tune(mhz).word, tuner.clock(), settings);
}

const calc::SpectralComponent& find(const calc::Spectrum& s, ComponentKind kind, int order)
{
    for (const auto& c : s.components)
        if (c.kind == kind && c.order == order)
            return c;
    throw std::logic_error("no such component");
}

calc::ReconstructionFilter butterworth(int order, double cutoffHz)
{
    return {FilterKind::Butterworth, order, cutoffHz, 0};
}

calc::ReconstructionFilter chebyshev(int order, double cutoffHz, double rippleDb)
{
    return {FilterKind::Chebyshev, order, cutoffHz, rippleDb};
}

calc::ReconstructionFilter elliptic(int order, double cutoffHz, double rippleDb, double stopBandDb)
{
    return {FilterKind::Elliptic, order, cutoffHz, rippleDb, stopBandDb};
}

TEST(Spectrum, WorkedValuesAt180MHz)
{
    const struct {
        const char* mhz;
        ComponentKind kind;
        int order;
        std::uint64_t milliHz;
        double dbc;
    } cases[] = {
        // 10 MHz is put out as 9999999.991 Hz: the images sit 9 mHz off.
        {"10", ComponentKind::Fundamental, 1, 9999999991, 0.0},
        {"10", ComponentKind::Image, -1, 170000000009, -24.61},
        {"10", ComponentKind::Image, 1, 189999999991, -25.58},
        {"10", ComponentKind::Image, -2, 350000000009, -30.88},
        {"10", ComponentKind::Image, 2, 369999999991, -31.36},
        // 70 MHz: the image at 110 MHz is barely below the output.
        {"70", ComponentKind::Image, -1, 109999999981, -3.93},
        {"70", ComponentKind::Image, 1, 250000000019, -11.06},
        // Harmonics at -50 dBc before the hold, folded: 140 -> 40, 210 -> 30,
        // 350 -> 10 MHz.
        {"70", ComponentKind::Harmonic, 2, 39999999963, -48.44},
        {"70", ComponentKind::Harmonic, 3, 30000000056, -48.12},
        {"70", ComponentKind::Harmonic, 4, 79999999925, -50.75},
        {"70", ComponentKind::Harmonic, 5, 9999999907, -47.76},
        // 60 MHz: harmonic 3 is one step above 0 Hz, where the hold loses
        // nothing.
        {"60", ComponentKind::Harmonic, 3, 42, -48.35},
    };
    for (const auto& c : cases) {
        const calc::Spectrum s = spectrumAt180(c.mhz);
        const calc::SpectralComponent& component = find(s, c.kind, c.order);
        EXPECT_EQ(component.milliHz, c.milliHz) << c.mhz << " order " << c.order;
        EXPECT_NEAR(component.levelDbc, c.dbc, dbTolerance) << c.mhz << " order " << c.order;
    }
    // The output's own loss in the hold.
    const calc::Spectrum s = spectrumAt180("10");
    EXPECT_NEAR(calc::holdGainDb(s.output().hz, s.clockHz), -0.044, 0.0005);
    EXPECT_EQ(s.clockMilliHz, 180000000000u);
}

TEST(Spectrum, FrequenciesAreExactAtAnyClock)
{
    // A clock of 180001800.000... Hz from a 30 MHz reference 10 ppm fast,
    // and one from a reference with decimals and no multiplier.
    const struct {
        const char* ref;
        const char* ppm;
        bool multiplier;
        const char* hz;
    } cases[] = {{"30000000", "10", true, "10000000"}, {"125000000.123", nullptr, false, "41234567.89"}};
    for (const auto& c : cases) {
        calc::TunerSettings settings = calc::test::settings(calc::Hz);
        settings.clock.referenceHz = c.ref;
        if (c.ppm)
            settings.clock.ppm = c.ppm;
        settings.clock.multiplier = c.multiplier;
        const calc::Tuner tuner(settings);
        const std::uint32_t word = tuner.tune(c.hz).word;
        calc::SpectrumSettings spectrumSettings;
        spectrumSettings.images = 3;
        const calc::Spectrum s = calc::outputSpectrum(word, tuner.clock(), spectrumSettings);
        EXPECT_EQ(s.output().milliHz, calc::actualMilliHz(word, tuner.clock())) << c.ref;
        for (int k = 1; k <= 3; ++k) {
            // k x clock -/+ f, each rounded once: their sum is 2k x clock
            // to within the two roundings.
            const auto below = static_cast<std::int64_t>(find(s, ComponentKind::Image, -k).milliHz);
            const auto above = static_cast<std::int64_t>(find(s, ComponentKind::Image, k).milliHz);
            EXPECT_LE(std::abs(below + above - 2 * k * static_cast<std::int64_t>(s.clockMilliHz)), 1) << c.ref;
            EXPECT_EQ(find(s, ComponentKind::Image, k).steps - find(s, ComponentKind::Image, -k).steps,
                      2 * std::uint64_t(word));
        }
    }
}

TEST(Spectrum, LevelsDependOnTheWordAloneHoweverSlowTheClock)
{
    // The hold shapes by f / fc alone: a word gives the same levels at a
    // 180 MHz clock and at clocks far below a microhertz.
    constexpr std::uint32_t word = 0x0E38E38E;
    calc::ClockOptions crystal;
    crystal.crystalMHz = "30";
    const calc::Spectrum at180 = calc::outputSpectrum(word, calc::systemClock(crystal), {});
    for (const char* reference : {"1e-9", "1e-60"}) {
        calc::ClockOptions slow;
        slow.referenceHz = reference;
        slow.multiplier = false;
        const calc::Spectrum s = calc::outputSpectrum(word, calc::systemClock(slow), {});
        EXPECT_GT(s.clockHz, 0.0) << reference;
        ASSERT_EQ(s.components.size(), at180.components.size());
        for (std::size_t i = 0; i < s.components.size(); ++i)
            EXPECT_NEAR(s.components[i].levelDbc, at180.components[i].levelDbc, 1e-9) << reference << " " << i;
    }
}

TEST(Spectrum, ComponentsAreSortedByFrequency)
{
    const struct {
        const char* mhz;
        int images, harmonics;
        std::vector<std::string> labels;
    } cases[] = {
        {"70", 2, 5, {"H5", "H3", "H2", "f", "H4", "-1", "+1", "-2", "+2"}},
        {"10", 1, 1, {"f", "-1", "+1"}},
        // Harmonic 2 lies one step above the output, harmonic 4 one below.
        {"60", 1, 5, {"H3", "H4", "f", "H2", "H5", "-1", "+1"}},
    };
    for (const auto& c : cases) {
        calc::SpectrumSettings settings;
        settings.images = c.images;
        settings.harmonics = c.harmonics;
        const calc::Spectrum s = spectrumAt180(c.mhz, settings);
        std::vector<std::string> labels;
        for (const auto& component : s.components)
            labels.push_back(calc::componentLabel(component));
        EXPECT_EQ(labels, c.labels) << c.mhz;
    }
}

TEST(Spectrum, HarmonicsOnTheOutputAndAtZero)
{
    // 60 MHz is a third of the clock: harmonic 2 (120 MHz) folds onto the
    // output and harmonic 3 onto 0 Hz, each within the one step that the
    // rounded word (1431655765 for 2^32 / 3) leaves.
    const calc::Spectrum s = spectrumAt180("60");
    EXPECT_EQ(s.word, 1431655765u);
    EXPECT_EQ(find(s, ComponentKind::Harmonic, 2).steps, s.word + 1u);
    EXPECT_EQ(find(s, ComponentKind::Harmonic, 3).steps, 1u);

    // A quarter of the clock exactly: harmonic 4 is DC, which the hold
    // passes whole, and harmonic 2 sits at fc/2.
    const calc::Tuner tuner = crystal30();
    const calc::Spectrum quarter = calc::outputSpectrum(1u << 30, tuner.clock(), {});
    const double outputHold = calc::holdGainDb(45e6, 180e6);
    const calc::SpectralComponent& dc = find(quarter, ComponentKind::Harmonic, 4);
    EXPECT_EQ(dc.steps, 0u);
    EXPECT_EQ(dc.milliHz, 0u);
    EXPECT_NEAR(dc.levelDbc, -50.0 - outputHold, 1e-9);
    EXPECT_EQ(find(quarter, ComponentKind::Harmonic, 2).milliHz, 90000000000u);
    EXPECT_NEAR(find(quarter, ComponentKind::Harmonic, 2).levelDbc, -50.0 + calc::holdGainDb(90e6, 180e6) - outputHold,
                1e-9);
}

TEST(Spectrum, HoldGain)
{
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        double hz, clockHz, db;
    } cases[] = {
        {0, 180e6, 0.0},       {90e6, 180e6, 20 * std::log10(2 / 3.141592653589793)}, // fc/2: -3.92 dB
        {180e6, 180e6, -inf},  {360e6, 180e6, -inf},
        {1e6, 1e6 * 1e9, 0.0}, // far below the clock: nothing lost
    };
    for (const auto& c : cases) {
        if (std::isinf(c.db))
            EXPECT_EQ(calc::holdGainDb(c.hz, c.clockHz), -inf) << c.hz;
        else
            EXPECT_NEAR(calc::holdGainDb(c.hz, c.clockHz), c.db, 1e-9) << c.hz;
    }
    // Mirror images about the clock lose alike in sin, and more with 1/x.
    EXPECT_GT(calc::holdGainDb(170e6, 180e6), calc::holdGainDb(190e6, 180e6));
}

TEST(Spectrum, FilterAttenuation)
{
    const double oneDbEps2 = std::pow(10.0, 0.1) - 1.0;
    const struct {
        calc::ReconstructionFilter filter;
        double hz, db, tolerance;
    } cases[] = {
        // A 7th-order Butterworth at 70 MHz.
        {butterworth(7, 70e6), 110e6, 27.49, dbTolerance},
        {butterworth(7, 70e6), 170e6, 53.95, dbTolerance},
        {butterworth(7, 70e6), 70e6, 3.0103, 0.0001},
        {butterworth(7, 70e6), 0, 0.0, 0},
        // Far above the cutoff: 20 N dB a decade, with no overflow.
        {butterworth(20, 1e-3), 1e12, 20 * 20 * 15.0, 1e-6},
        // Chebyshev: the ripple at the cutoff, whatever the order.
        {chebyshev(3, 50e6, 0.5), 50e6, 0.5, 1e-9},
        {chebyshev(6, 50e6, 3.0), 50e6, 3.0, 1e-9},
        {chebyshev(1, 50e6, 0.1), 50e6, 0.1, 1e-9},
        // T_3(2) = 26; T_4(0.5) = -0.5; at 0 Hz T_N is 0 for odd N, +-1 for
        // even N.
        {chebyshev(3, 50e6, 1.0), 100e6, 10 * std::log10(1 + oneDbEps2 * 26 * 26), 1e-9},
        {chebyshev(4, 50e6, 1.0), 25e6, 10 * std::log10(1 + oneDbEps2 * 0.25), 1e-9},
        {chebyshev(3, 50e6, 1.0), 0, 0.0, 1e-12},
        {chebyshev(4, 50e6, 1.0), 0, 1.0, 1e-9},
        // T_5(100) = 16 x 10^10 - 20 x 10^6 + 500.
        {chebyshev(5, 1e6, 1.0), 100e6, 10 * std::log10(1 + oneDbEps2 * 159980000500.0 * 159980000500.0), 1e-6},
        // Far above the cutoff: the asymptote 10 log10(eps^2 (2^(N-1) y^N)^2).
        {chebyshev(10, 1.0, 1.0), 1e15, 10 * std::log10(oneDbEps2) + 20 * (9 * std::log10(2.0) + 150), 1e-6},
    };
    for (const auto& c : cases)
        EXPECT_NEAR(calc::filterAttenuationDb(c.filter, c.hz), c.db, c.tolerance)
            << (c.filter.kind == FilterKind::Chebyshev ? "Chebyshev " : "Butterworth ") << c.filter.order << " at "
            << c.hz;
}

// Elliptic designs from easy to hard: high orders, wide and narrow
// transitions, a stop band barely above the ripple.
const struct EllipticDesign {
    int order;
    double rippleDb, stopBandDb;
} ellipticDesigns[] = {
    {1, 1.0, 20.0},   {2, 0.5, 40.0},  {3, 1.0, 40.0},   {4, 0.1, 50.0},   {5, 0.1, 60.0},
    {5, 0.5, 60.0},   {6, 1.0, 14.0},  {7, 3.0, 80.0},   {8, 0.01, 100.0}, {12, 1.0, 150.0},
    {20, 0.1, 200.0}, {9, 10.0, 50.0}, {3, 0.01, 200.0},
};

std::string describe(const EllipticDesign& d)
{
    return "N=" + std::to_string(d.order) + " Rp=" + std::to_string(d.rippleDb) + " Rs=" + std::to_string(d.stopBandDb);
}

double eps2Of(double db) { return std::pow(10.0, db / 10.0) - 1.0; }

// The attenuation at `w` times the cutoff of a design with a 1 Hz cutoff.
double ellipticAt(const EllipticDesign& d, double w)
{
    return calc::filterAttenuationDb(elliptic(d.order, 1.0, d.rippleDb, d.stopBandDb), w);
}

// The local minima (or maxima, `sign` -1) of the attenuation on a grid,
// each refined by golden-section search.
std::vector<double> extremaOn(const EllipticDesign& d, const std::vector<double>& grid, double sign)
{
    const auto f = [&](double w) { return sign * ellipticAt(d, w); };
    std::vector<double> found;
    for (std::size_t i = 1; i + 1 < grid.size(); ++i) {
        if (!(f(grid[i]) < f(grid[i - 1]) && f(grid[i]) <= f(grid[i + 1])))
            continue;
        double a = grid[i - 1];
        double b = grid[i + 1];
        const double g = (std::sqrt(5.0) - 1.0) / 2.0;
        for (int step = 0; step < 100; ++step) {
            const double c = b - g * (b - a);
            const double e = a + g * (b - a);
            (f(c) < f(e) ? b : a) = f(c) < f(e) ? e : c;
        }
        found.push_back(sign * f((a + b) / 2.0));
    }
    return found;
}

std::vector<double> linearGrid(double from, double to, int points)
{
    std::vector<double> grid;
    for (int i = 0; i < points; ++i)
        grid.push_back(from + (to - from) * i / (points - 1));
    return grid;
}

TEST(Spectrum, EllipticPassBandRipplesBetweenZeroAndTheRipple)
{
    for (const EllipticDesign& d : ellipticDesigns) {
        SCOPED_TRACE(describe(d));
        EXPECT_NEAR(ellipticAt(d, 1.0), d.rippleDb, 1e-9 * d.rippleDb);
        // At 0 Hz: 0 for odd orders, the ripple for even ones.
        EXPECT_NEAR(ellipticAt(d, 0.0), d.order % 2 == 1 ? 0.0 : d.rippleDb, 1e-9 * d.rippleDb);
        const std::vector<double> grid = linearGrid(0.0, 1.0, 4001);
        for (double w : grid) {
            const double db = ellipticAt(d, w);
            ASSERT_GE(db, -1e-12) << w;
            ASSERT_LE(db, d.rippleDb * (1 + 1e-9)) << w;
        }
        // N + 1 extrema from 0 to the cutoff, the ends among them: zeros
        // of attenuation and peaks of exactly the ripple, alternating.
        const std::vector<double> minima = extremaOn(d, grid, 1.0);
        std::vector<double> maxima = extremaOn(d, grid, -1.0);
        maxima.push_back(ellipticAt(d, 1.0));
        if (d.order % 2 == 0)
            maxima.push_back(ellipticAt(d, 0.0));
        EXPECT_EQ(minima.size() + (d.order % 2), std::size_t((d.order + 1) / 2));
        EXPECT_EQ(minima.size() + (d.order % 2) + maxima.size(), std::size_t(d.order + 1));
        for (double db : minima)
            EXPECT_NEAR(db, 0.0, 1e-9);
        for (double db : maxima)
            EXPECT_NEAR(db, d.rippleDb, 1e-9 * d.rippleDb);
    }
}

TEST(Spectrum, EllipticStopBandHoldsTheStopBandAttenuation)
{
    for (const EllipticDesign& d : ellipticDesigns) {
        SCOPED_TRACE(describe(d));
        const double edge = calc::ellipticStopBandEdgeRatio(d.order, d.rippleDb, d.stopBandDb);
        ASSERT_GT(edge, 1.0);
        EXPECT_NEAR(ellipticAt(d, edge), d.stopBandDb, 1e-8 * d.stopBandDb);
        // From the edge to far beyond it, in steps even in 1 / w, where the
        // stop band's ripples are as wide as the pass band's.
        std::vector<double> grid;
        for (double v : linearGrid(1.0, 1e-3, 4001))
            grid.push_back(edge / v);
        for (double w : grid)
            ASSERT_GE(ellipticAt(d, w), d.stopBandDb * (1 - 1e-8)) << w;
        // Minima of exactly the stop-band attenuation: at the edge and
        // between each two zeros, and (even orders) far above.
        std::vector<double> minima = extremaOn(d, grid, 1.0);
        minima.push_back(ellipticAt(d, edge));
        EXPECT_EQ(minima.size(), std::size_t((d.order + 1) / 2));
        for (double db : minima)
            EXPECT_NEAR(db, d.stopBandDb, 1e-7 * d.stopBandDb);
        // floor(N / 2) zeros of transmission: infinite attenuation peaks.
        EXPECT_EQ(extremaOn(d, grid, -1.0).size(), std::size_t(d.order / 2));
        if (d.order % 2 == 0) {
            EXPECT_NEAR(ellipticAt(d, 1e300), d.stopBandDb, 1e-7 * d.stopBandDb);
        } else {
            EXPECT_GT(ellipticAt(d, 1e300), 5000.0); // 20 dB a decade, without overflow
        }
    }
}

// Two other forms of the same design, computed here independently.
TEST(Spectrum, EllipticAgreesWithTheJacobiFormAndTheDegreeEquation)
{
    using boost::math::ellint_1;
    using boost::math::jacobi_cd;
    using boost::math::jacobi_sn;
    for (const EllipticDesign& d : ellipticDesigns) {
        SCOPED_TRACE(describe(d));
        const double epsP2 = eps2Of(d.rippleDb);
        const double epsS2 = eps2Of(d.stopBandDb);
        const double k1 = std::sqrt(epsP2 / epsS2);
        const double k = 1.0 / calc::ellipticStopBandEdgeRatio(d.order, d.rippleDb, d.stopBandDb);
        const double bigK = ellint_1(k);
        // The degree equation as a product: k1 = k^N prod sn^4(u_i K, k),
        // u_i = (2i - 1) / N.
        double product = std::pow(k, d.order);
        for (int i = 1; 2 * i <= d.order; ++i)
            product *= std::pow(jacobi_sn(k, (2.0 * i - 1) / d.order * bigK), 4);
        EXPECT_NEAR(product / k1, 1.0, 1e-9);
        // In the pass band R_N(w) = cd(N u K(k1), k1) where w = cd(u K, k),
        // that is u = 1 - F(asin w, k) / K.
        const double bigK1 = ellint_1(k1);
        for (double w : linearGrid(0.0, 1.0, 41)) {
            const double u = 1.0 - ellint_1(k, std::asin(w)) / bigK;
            const double r = jacobi_cd(k1, d.order * u * bigK1);
            EXPECT_NEAR(ellipticAt(d, w), 10 * std::log10(1 + epsP2 * r * r), 1e-9 * d.rippleDb) << w;
        }
        // The stop band mirrors the pass band: R_N(w) R_N(edge / w) = 1 / k1,
        // so eps^2 R^2 at the two multiply to eps_p^2 eps_s^2.
        const double edge = 1.0 / k;
        for (double w : linearGrid(0.05, 1.0, 20)) {
            const double a = eps2Of(ellipticAt(d, w));
            const double b = eps2Of(ellipticAt(d, edge / w));
            if (a > 1e-12) {
                EXPECT_NEAR(std::log(a) + std::log(b), std::log(epsP2 * epsS2), 1e-6) << w;
            }
        }
    }
    // The degree equation solved for k^2 to 30 digits with mpmath 1.3
    // (findroot on ellipk(1 - m) / ellipk(m), its K' / K).
    const struct {
        EllipticDesign design;
        double edge;
    } solved[] = {
        {{3, 1.0, 40.0}, 2.41618360354303306},
        {{5, 0.1, 60.0}, 2.04437398971777631},
        {{20, 0.1, 200.0}, 1.20629790696837043},
    };
    for (const auto& c : solved)
        EXPECT_NEAR(calc::ellipticStopBandEdgeRatio(c.design.order, c.design.rippleDb, c.design.stopBandDb), c.edge,
                    1e-11 * c.edge)
            << describe(c.design);
    // Order 2 in closed form (Landen): k1 = (1 - k') / (1 + k'), so the edge
    // is (1 + k1) / (2 sqrt k1).
    for (const double stopBandDb : {20.0, 40.0, 80.0}) {
        const double k1 = std::sqrt(eps2Of(1.0) / eps2Of(stopBandDb));
        EXPECT_NEAR(calc::ellipticStopBandEdgeRatio(2, 1.0, stopBandDb), (1 + k1) / (2 * std::sqrt(k1)), 1e-9)
            << stopBandDb;
    }
}

TEST(Spectrum, FilteredColumnIsRelativeToTheFilteredOutput)
{
    // The filter takes 27.489 dB off the 110 MHz image and 3.010 dB off
    // the output itself: -3.926 - 27.489 + 3.010 is -28.405, printed
    // -28.40 (the rounded parts would add up to -28.41).
    calc::SpectrumSettings settings;
    settings.filter = butterworth(7, 70e6);
    const calc::Spectrum s = spectrumAt180("70", settings);
    EXPECT_NEAR(*find(s, ComponentKind::Image, -1).filteredDbc, -28.4046, 0.0001);
    EXPECT_NEAR(*s.output().filteredDbc, 0.0, 1e-12);
    for (const auto& c : s.components) {
        const double expected = c.levelDbc - (calc::filterAttenuationDb(*settings.filter, c.hz) -
                                              calc::filterAttenuationDb(*settings.filter, s.output().hz));
        EXPECT_NEAR(*c.filteredDbc, expected, 1e-9) << calc::componentLabel(c);
    }
    // No filter, no column.
    for (const auto& c : spectrumAt180("70").components)
        EXPECT_FALSE(c.filteredDbc) << calc::componentLabel(c);
}

TEST(Spectrum, Concerns)
{
    using Kind = SpectrumConcern::Kind;
    const struct {
        const char* mhz;
        int harmonics;
        std::optional<calc::ReconstructionFilter> filter;
        std::vector<std::pair<Kind, std::string>> concerns; // in the order of the components
    } cases[] = {
        // The 110 MHz image is 3.93 dB below the output.
        {"70", 5, {}, {{Kind::StrongImage, "-1"}}},
        // ...and 28.41 dB after a 7th-order Butterworth at 70 MHz.
        {"70", 5, butterworth(7, 70e6), {}},
        // A filter too wide leaves it strong (4.51 dB below).
        {"70", 5, butterworth(3, 150e6), {{Kind::StrongImage, "-1"}}},
        {"10", 5, {}, {}},
        // Harmonics 2 and 4 one step from the output, harmonic 5 two steps.
        {"60",
         5,
         {},
         {{Kind::OnOutput, "H4"}, {Kind::OnOutput, "H2"}, {Kind::NearOutput, "H5"}, {Kind::StrongImage, "-1"}}},
        // Harmonics 5 (223.5 MHz) and 3 (134.1 MHz) fold to 43.5 and 45.9
        // MHz, 1.2 MHz away: within 1.8 MHz (1 % of the clock).  The image
        // at 135.3 MHz is 9.62 dB below the output.
        {"44.7", 5, {}, {{Kind::NearOutput, "H5"}, {Kind::NearOutput, "H3"}, {Kind::StrongImage, "-1"}}},
        // 45.9 MHz: the harmonics 3.6 MHz away; the image 9.31 dB below.
        {"45.9", 5, {}, {{Kind::StrongImage, "-1"}}},
        // The image at 90.5 MHz lies near 89.5 MHz but above fc/2: only
        // the levels of the images are a concern.
        {"89.5", 1, {}, {{Kind::StrongImage, "-1"}, {Kind::StrongImage, "+1"}, {Kind::StrongImage, "-2"}}},
    };
    for (const auto& c : cases) {
        calc::SpectrumSettings settings;
        settings.harmonics = c.harmonics;
        settings.filter = c.filter;
        const calc::Spectrum s = spectrumAt180(c.mhz, settings);
        std::vector<std::pair<Kind, std::string>> found;
        for (const SpectrumConcern& concern : calc::spectrumConcerns(s))
            found.emplace_back(concern.kind, calc::componentLabel(s.components.at(concern.component)));
        EXPECT_EQ(found, c.concerns) << c.mhz;
    }
}

TEST(Spectrum, UnusableSettingsAreRefused)
{
    const auto with = [](auto change) {
        calc::SpectrumSettings s;
        change(s);
        return s;
    };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        calc::SpectrumSettings settings;
        bool refused;
    } cases[] = {
        {with([](auto& s) { s.images = 0; }), true},
        {with([](auto& s) { s.images = calc::maxImages + 1; }), true},
        {with([](auto& s) { s.images = calc::maxImages; }), false},
        {with([](auto& s) { s.harmonics = 0; }), true},
        {with([](auto& s) { s.harmonics = 1; }), false},
        {with([](auto& s) { s.harmonics = calc::maxHarmonics + 1; }), true},
        {with([](auto& s) { s.harmonics = calc::maxHarmonics; }), false},
        {with([](auto& s) { s.harmonicDbc = 0.5; }), true},
        {with([](auto& s) { s.harmonicDbc = 0; }), false},
        {with([&](auto& s) { s.harmonicDbc = nan; }), true},
        {with([&](auto& s) { s.harmonicDbc = -inf; }), true},
        {with([](auto& s) { s.filter = butterworth(0, 70e6); }), true},
        {with([](auto& s) { s.filter = butterworth(calc::maxFilterOrder + 1, 70e6); }), true},
        {with([](auto& s) { s.filter = butterworth(calc::maxFilterOrder, 70e6); }), false},
        {with([](auto& s) { s.filter = butterworth(1, 0); }), true},
        {with([](auto& s) { s.filter = butterworth(1, -70e6); }), true},
        {with([&](auto& s) { s.filter = butterworth(1, inf); }), true},
        {with([&](auto& s) { s.filter = butterworth(1, nan); }), true},
        {with([](auto& s) { s.filter = chebyshev(5, 70e6, 0); }), true},
        {with([](auto& s) { s.filter = chebyshev(5, 70e6, 10.5); }), true},
        {with([&](auto& s) { s.filter = chebyshev(5, 70e6, nan); }), true},
        {with([](auto& s) { s.filter = chebyshev(5, 70e6, 10); }), false},
        {with([](auto& s) { s.filter = chebyshev(5, 70e6, 0.01); }), false},
        {with([](auto& s) { s.filter = elliptic(5, 70e6, 0.5, 60); }), false},
        {with([](auto& s) { s.filter = elliptic(5, 70e6, 0.5, 0.5); }), true},
        {with([](auto& s) { s.filter = elliptic(1, 70e6, 0.5, 0.51); }), false},
        // Stop bands less than 0.1 % above the cutoff: 1.0000000048 and
        // 1.00067 times it; 14 dB puts it 0.2 % above.
        {with([](auto& s) { s.filter = elliptic(6, 70e6, 1, 1.5); }), true},
        {with([](auto& s) { s.filter = elliptic(6, 70e6, 1, 10); }), true},
        {with([](auto& s) { s.filter = elliptic(6, 70e6, 1, 14); }), false},
        {with([](auto& s) { s.filter = elliptic(5, 70e6, 0.5, calc::maxStopBandDb); }), false},
        {with([](auto& s) { s.filter = elliptic(5, 70e6, 0.5, calc::maxStopBandDb + 1); }), true},
        {with([&](auto& s) { s.filter = elliptic(5, 70e6, 0.5, nan); }), true},
        {with([](auto& s) { s.filter = elliptic(5, 70e6, 0, 60); }), true},
        {with([](auto& s) { s.filter = elliptic(5, 70e6, 10.5, 60); }), true},
        {with([](auto& s) { s.filter = elliptic(calc::maxFilterOrder + 1, 70e6, 0.5, 60); }), true},
    };
    const calc::Tuner tuner = crystal30();
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const auto problem = problemOf([&] { calc::outputSpectrum(238609294, tuner.clock(), cases[i].settings); });
        EXPECT_EQ(problem, cases[i].refused ? std::optional(Problem::InvalidSetting) : std::nullopt) << "case " << i;
    }
    // Word 0 puts out nothing.
    EXPECT_EQ(problemOf([&] { calc::outputSpectrum(0, tuner.clock(), {}); }), Problem::InvalidSetting);
}

TEST(SpectrumTable, LinesAsPrinted)
{
    calc::SpectrumSettings one;
    one.images = 1;
    one.harmonics = 2;
    EXPECT_EQ(calc::spectrumTableLines(spectrumAt180("10", one)),
              "fundamental\t1\t9999999.991\t0.00\n"
              "harmonic\t2\t19999999.981\t-50.13\n"
              "image\t-1\t170000000.009\t-24.61\n"
              "image\t1\t189999999.991\t-25.58\n");
    one.filter = butterworth(7, 70e6);
    EXPECT_EQ(calc::spectrumTableLines(spectrumAt180("70", one)),
              "harmonic\t2\t39999999.963\t-48.44\t-45.43\n"
              "fundamental\t1\t70000000.019\t0.00\t0.00\n"
              "image\t-1\t109999999.981\t-3.93\t-28.40\n"
              "image\t1\t250000000.019\t-11.06\t-85.44\n");
    EXPECT_EQ(calc::spectrumColumns(true),
              (std::vector<std::string_view>{"component", "order", "component_hz", "level_dbc", "filtered_dbc"}));
    EXPECT_EQ(calc::spectrumColumns(false).size(), 4u);
}

TEST(SpectrumTable, LevelsRoundToTwoDecimals)
{
    const struct {
        double db;
        const char* text;
    } cases[] = {{-24.608978, "-24.61"}, {-0.0049, "0.00"},     {0.0, "0.00"},
                 {-0.0051, "-0.01"},     {-123.456, "-123.46"}, {3.0, "3.00"}};
    for (const auto& c : cases)
        EXPECT_EQ(calc::formatDb(c.db), c.text) << c.db;
    // The largest levels a setting lets through are written in full.
    for (const double db : {-1e308, 1e300, -std::numeric_limits<double>::max()}) {
        const std::string text = calc::formatDb(db);
        SCOPED_TRACE(text);
        EXPECT_EQ(text.substr(0, 1), db < 0 ? "-" : "1");
        EXPECT_EQ(text.size(), std::size_t(std::floor(std::log10(std::abs(db)))) + 1 + (db < 0) + 3);
        EXPECT_EQ(text.substr(text.size() - 3), ".00");
        EXPECT_EQ(text.find_first_not_of("-0123456789."), std::string::npos);
    }
}

TEST(SpectrumTable, LevelsOfAnySizeAreWrittenInFull)
{
    // A harmonic level of -1e308 dBc is allowed; its text is every digit.
    for (const double db : {-1e62, -1e308, -std::numeric_limits<double>::max()}) {
        char expected[400];
        std::snprintf(expected, sizeof expected, "%.2f", db);
        EXPECT_EQ(calc::formatDb(db), expected) << db;
    }
}

TEST(SpectrumTable, CsvTable)
{
    calc::SpectrumSettings none;
    none.images = 1;
    none.harmonics = 1;
    const calc::Spectrum ten = spectrumAt180("10", none);
    const calc::Spectrum seventy = spectrumAt180("70", none);
    const calc::SpectrumCsvBlock blocks[] = {{"10", "MHz", &ten}, {"7e1", "MHz", &seventy}};
    EXPECT_EQ(calc::spectrumCsv(blocks),
              "frequency,unit,component,order,component_hz,level_dbc\r\n"
              "10,MHz,fundamental,1,9999999.991,0.00\r\n"
              "10,MHz,image,-1,170000000.009,-24.61\r\n"
              "10,MHz,image,1,189999999.991,-25.58\r\n"
              "7e1,MHz,fundamental,1,70000000.019,0.00\r\n"
              "7e1,MHz,image,-1,109999999.981,-3.93\r\n"
              "7e1,MHz,image,1,250000000.019,-11.06\r\n");
    // A filter adds its column; a frequency written with a comma is quoted.
    none.filter = chebyshev(5, 80e6, 0.5);
    const calc::Spectrum filtered = spectrumAt180("70", none);
    const calc::SpectrumCsvBlock comma[] = {{"70,0", "MHz", &filtered}};
    const std::string csv = calc::spectrumCsv(comma);
    EXPECT_EQ(csv.substr(0, csv.find('\n') + 1),
              "frequency,unit,component,order,component_hz,level_dbc,filtered_dbc\r\n");
    EXPECT_NE(csv.find("\r\n\"70,0\",MHz,image,-1,109999999.981,-3.93,"), std::string::npos) << csv;
    EXPECT_EQ(calc::spectrumCsv({}), "frequency,unit,component,order,component_hz,level_dbc\r\n");
}

} // namespace
