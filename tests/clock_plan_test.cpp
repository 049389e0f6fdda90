// Ranking clocks by how far the spectrum's other components lie from the
// output.

#include "calc/clock_plan.h"
#include "calc/errors.h"
#include "tests/calc_test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>
#include <vector>

namespace {

using calc::Problem;
using calc::test::problemOf;

calc::PlanSettings mhzReferences(std::vector<std::string> references)
{
    calc::PlanSettings s;
    s.unit = calc::MHz;
    s.referencesHz = std::move(references);
    return s;
}

TEST(ClockPlan, ThirtySixMegahertzAvoidsTheFourthHarmonic)
{
    // At 180 MHz H4 folds to 180 - 144.2 = 35.8 MHz, 250 kHz from the
    // output; at 177 MHz it folds to 32.8 MHz, 3.25 MHz away.
    const calc::ClockPlan plan = calc::planClock(mhzReferences({"30e6", "29.5e6"}), "36.05");
    ASSERT_EQ(plan.candidates.size(), 2u);
    EXPECT_EQ(plan.aboveMaxClock + plan.tooSlow, 0u);
    EXPECT_EQ(calc::candidateTexts(plan.candidates[0]),
              (std::vector<std::string>{"29500000", "177000000", "874765938", "36050000.001", "+0.001", "32799999.995",
                                        "H4", "3250000.006"}));
    EXPECT_EQ(calc::candidateTexts(plan.candidates[1]),
              (std::vector<std::string>{"30000000", "180000000", "860186506", "36050000.014", "+0.014", "35799999.945",
                                        "H4", "250000.069"}));
}

TEST(ClockPlan, NearestComponentsOfTheWorkedFrequencies)
{
    const struct {
        const char* frequency;
        const char* nearest;
        std::uint64_t nearestMilliHz;
        std::uint64_t distanceMilliHz;
    } cases[] = {
        // H3 at 135.003 MHz folds to 44.997 MHz, H5 at 225.005 MHz to
        // 45.005 MHz: both 4 kHz away, H3 named for its lower order.
        {"45.001", "H3", 44996999991, 4000012},
        // H2 and H4 land one step (0.042 Hz) beside 60 MHz, which the
        // word itself misses by 0.014 Hz.
        {"60", "H2", 60000000028, 42},
        // The first image is nearest just below half the clock.
        {"89", "-1", 90999999982, 1999999965},
    };
    for (const auto& c : cases) {
        const calc::ClockPlan plan = calc::planClock(mhzReferences({"30e6"}), c.frequency);
        ASSERT_EQ(plan.candidates.size(), 1u);
        const calc::ClockCandidate& best = plan.candidates.front();
        EXPECT_EQ(calc::componentLabel(best.nearest), c.nearest) << c.frequency;
        EXPECT_EQ(best.nearest.milliHz, c.nearestMilliHz) << c.frequency;
        EXPECT_EQ(best.distanceMilliHz, c.distanceMilliHz) << c.frequency;
    }
}

TEST(ClockPlan, HarmonicOnTheOutputRanksLast)
{
    const calc::ClockPlan plan = calc::planClock(mhzReferences({"30e6", "25e6", "29.5e6", "27e6"}), "60");
    ASSERT_EQ(plan.candidates.size(), 4u);
    EXPECT_EQ(plan.candidates.back().referenceMilliHz, 30'000'000'000u);
    EXPECT_EQ(plan.candidates.back().distanceMilliHz, 42u);
    for (std::size_t i = 1; i < plan.candidates.size(); ++i)
        EXPECT_GE(plan.candidates[i - 1].distanceMilliHz, plan.candidates[i].distanceMilliHz);
}

TEST(ClockPlan, TheWindowsCrystalsAndWhatIsLeftOut)
{
    const struct {
        calc::Chip chip;
        bool multiplier;
        std::vector<std::string> references;
        const char* frequency;
        std::size_t candidates, aboveMax, tooSlow;
    } cases[] = {
        // 36.05 MHz needs more than 72.1 MHz: crystals 5..12 MHz give at most 72.
        {calc::Chip::AD9851, true, {}, "36.05", 18, 0, 8},
        {calc::Chip::AD9851, true, {}, "1", 26, 0, 0},
        // Without the multiplier the crystal is the clock: 5.5 MHz needs
        // more than 11.
        {calc::Chip::AD9851, false, {}, "5.5", 19, 0, 7},
        {calc::Chip::AD9850, true, {}, "36.05", 0, 0, 26},
        // 31 MHz x 6 is 186 MHz; the AD9850 takes 125 MHz at most.
        {calc::Chip::AD9851, true, {"30e6", "31e6", "30000000.001"}, "10", 1, 2, 0},
        {calc::Chip::AD9850, true, {"125e6", "125000000.001"}, "10", 1, 1, 0},
    };
    for (const auto& c : cases) {
        calc::PlanSettings s = mhzReferences(c.references);
        s.chip = c.chip;
        s.multiplier = c.multiplier;
        const calc::ClockPlan plan = calc::planClock(s, c.frequency);
        EXPECT_EQ(plan.candidates.size(), c.candidates) << c.frequency;
        EXPECT_EQ(plan.aboveMaxClock, c.aboveMax) << c.frequency;
        EXPECT_EQ(plan.tooSlow, c.tooSlow) << c.frequency;
    }
    // The crystals give the window's words: 36.05 MHz at 30 MHz x 6.
    const calc::ClockPlan plan = calc::planClock(mhzReferences({}), "36.05");
    const auto at30 = std::ranges::find(plan.candidates, 180'000'000'000u, &calc::ClockCandidate::clockMilliHz);
    ASSERT_NE(at30, plan.candidates.end());
    EXPECT_EQ(at30->details.word, 860186506u);
}

TEST(ClockPlan, ClocksTooFastForTheFrequencyAreLeftOut)
{
    // 0.02 Hz is below half the step of a 180 MHz clock (0.042 Hz): its
    // word there is 0; at a 30 MHz clock (a step of 0.007 Hz) it is 3.
    calc::PlanSettings s = mhzReferences({"30e6", "5e6"});
    s.unit = calc::Hz;
    const calc::ClockPlan plan = calc::planClock(s, "0.02");
    ASSERT_EQ(plan.candidates.size(), 1u);
    EXPECT_EQ(plan.candidates.front().clockMilliHz, 30'000'000'000u);
    EXPECT_EQ(plan.candidates.front().details.word, 3u);
    EXPECT_EQ(plan.tooFast, 1u);
    // Where every clock gives the word 0 the frequency itself is refused.
    EXPECT_EQ(problemOf([&] { calc::planClock(s, "0.001"); }), Problem::InvalidSetting);
}

TEST(ClockPlan, ABandRanksByItsStrongestComponent)
{
    calc::PlanSettings s = mhzReferences({"30e6", "29.5e6", "25e6"});
    // 36.05 MHz: at 180 MHz H4 (35.8 MHz) lies in 35..37 MHz, 0.01 dB less
    // lowered by the hold than the output; at 177 MHz nothing does, nor at
    // 150 MHz, where H3 and H4 fold to 41.85 and 5.8 MHz.
    s.band = calc::readFrequencyBand("35:37", calc::MHz);
    const calc::ClockPlan plan = calc::planClock(s, "36.05");
    ASSERT_EQ(plan.candidates.size(), 3u);
    EXPECT_EQ(plan.candidates[2].clockMilliHz, 180'000'000'000u);
    EXPECT_EQ(calc::candidateTexts(plan.candidates[2]).back(), "-49.99");
    // Both bands empty: the distance decides, 5.8 MHz at 150 MHz before
    // 3.25 MHz at 177 MHz.
    EXPECT_EQ(plan.candidates[0].clockMilliHz, 150'000'000'000u);
    EXPECT_EQ(plan.candidates[1].clockMilliHz, 177'000'000'000u);
    for (std::size_t i = 0; i < 2; ++i)
        EXPECT_EQ(calc::candidateTexts(plan.candidates[i]).back(), "-inf");
    // Without the band 150 MHz still leads, and 180 MHz stays last.
    s.band.reset();
    const calc::ClockPlan open = calc::planClock(s, "36.05");
    EXPECT_EQ(open.candidates[0].clockMilliHz, 150'000'000'000u);
    EXPECT_FALSE(open.candidates[0].worstInBandDbc);

    // A filter's attenuation counts: a 7th-order Butterworth at 36.5 MHz
    // takes more off 150 MHz's image at 113.95 MHz than the band without.
    s.referencesHz = {"25e6"};
    s.band = calc::readFrequencyBand("100:120", calc::MHz);
    const double unfiltered = *calc::planClock(s, "36.05").candidates.front().worstInBandDbc;
    s.spectrum.filter = calc::ReconstructionFilter{calc::FilterKind::Butterworth, 7, 36.5e6, 0.0};
    const double filtered = *calc::planClock(s, "36.05").candidates.front().worstInBandDbc;
    EXPECT_GT(unfiltered, -20.0);
    EXPECT_LT(filtered, unfiltered - 20.0);
    EXPECT_EQ(calc::planColumns(true).back(), "worst_in_band_dbc");
    EXPECT_EQ(calc::planColumns(false).size(), 8u);
}

TEST(ClockPlan, ReadsBandsAndReferenceLists)
{
    const calc::FrequencyBand band = calc::readFrequencyBand(" 30.0000005 : 40", calc::MHz);
    EXPECT_EQ(band.lowMilliHz, 30'000'000'500u);
    EXPECT_EQ(band.highMilliHz, 40'000'000'000u);
    EXPECT_EQ(calc::readFrequencyBand("0:1.0004", calc::Hz).highMilliHz, 1000u);
    EXPECT_EQ(calc::readFrequencyBand("0:1.0005", calc::Hz).highMilliHz, 1001u);
    for (const char* wrong : {"30", "40:30", "-1:3", "a:3", "3:", "1:1e30", "1:2:3"})
        EXPECT_EQ(problemOf([&] { calc::readFrequencyBand(wrong, calc::MHz); }), Problem::InvalidSetting) << wrong;

    EXPECT_EQ(calc::splitReferenceList("25e6, 27e6 ,29.5e6"), (std::vector<std::string>{"25e6", "27e6", "29.5e6"}));
    for (const char* wrong : {"", "25e6,", ",25e6", "25e6,,27e6", " "})
        EXPECT_EQ(problemOf([&] { calc::splitReferenceList(wrong); }), Problem::InvalidSetting) << wrong;
}

TEST(ClockPlan, RefusesWhatCannotBePlanned)
{
    const struct {
        std::vector<std::string> references;
        const char* frequency;
        Problem problem;
    } cases[] = {
        {{"30e6", "abc"}, "10", Problem::InvalidSetting},
        {{"30e6", "0"}, "10", Problem::InvalidSetting},
        {{"30e6"}, "-10", Problem::FrequencyNegative},
        {{"30e6"}, "0", Problem::InvalidSetting}, // the word 0: nothing to rank
    };
    for (const auto& c : cases)
        EXPECT_EQ(problemOf([&] { calc::planClock(mhzReferences(c.references), c.frequency); }), c.problem)
            << c.frequency;
    calc::PlanSettings s = mhzReferences({"30e6"});
    s.spectrum.images = 0;
    EXPECT_EQ(problemOf([&] { calc::planClock(s, "10"); }), Problem::InvalidSetting);
}

} // namespace
