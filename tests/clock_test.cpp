// The system clock: ppm, refused settings and warnings.

#include "calc/clock.h"
#include "calc/errors.h"
#include "calc/tuner.h"
#include "tests/calc_test_support.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

using calc::Problem;
using calc::test::problemOf;
using calc::test::settings;

TEST(Clock, PpmSignsBothWays)
{
    // 30 MHz x 6 running 10 ppm fast is 180001800 Hz, 10 ppm slow 179998200 Hz.
    const struct {
        const char* ppm;
        std::uint32_t word;          // 10 MHz x 2^32 / clock, rounded
        std::uint64_t stepMicroHz;   // clock / 2^32
        std::uint64_t actualMilliHz; // word x clock / 2^32
    } cases[] = {{"10", 238606908, 41910, 9999999994},
                 {"+10", 238606908, 41910, 9999999994},
                 {"-10", 238611680, 41909, 9999999986},
                 {"0", 238609294, 41910, 9999999991}};
    for (const auto& c : cases) {
        calc::TunerSettings s = settings(calc::MHz);
        s.clock.referenceHz = "30000000";
        s.clock.ppm = c.ppm;
        calc::Tuner tuner(s);
        const calc::Tuned t = tuner.tune("10");
        EXPECT_EQ(t.word, c.word) << c.ppm;
        EXPECT_EQ(tuner.details(t).stepMicroHz, c.stepMicroHz) << c.ppm;
        EXPECT_EQ(tuner.details(t).actualMilliHz, c.actualMilliHz) << c.ppm;
    }
    calc::ClockOptions o;
    o.referenceHz = "30000000";
    o.ppm = "10";
    const calc::SystemClock clock = calc::systemClock(o);
    EXPECT_EQ(rt::toUint64(clock.numerator / clock.denominator()), 180001800u);
    EXPECT_TRUE((clock.numerator % clock.denominator()).is_zero());
}

TEST(Clock, UnusableSettingsAreRefused)
{
    const struct {
        const char* crystal;
        std::optional<const char*> ref, ppm;
        Problem problem;
    } cases[] = {
        {"0", {}, {}, Problem::CrystalOutOfRange},
        {"5462", {}, {}, Problem::CrystalOutOfRange},
        {"20", "0", {}, Problem::InvalidSetting},
        {"20", "0e530000000", {}, Problem::InvalidSetting}, // zero, at once
        {"20", "-30000000", {}, Problem::InvalidSetting},
        {"20", "30MHz", {}, Problem::InvalidSetting},
        {"20", "1e13", {}, Problem::InvalidSetting},
        {"20", "1.0000000000000000000000000000000000000000000000000000000000001", {}, Problem::InvalidSetting},
        {"20", {}, "-1000000", Problem::InvalidSetting},
        {"20", {}, "abc", Problem::InvalidSetting},
        {"20", {}, "1e7", Problem::InvalidSetting},
    };
    for (const auto& c : cases) {
        calc::ClockOptions o;
        o.crystalMHz = c.crystal;
        if (c.ref)
            o.referenceHz = *c.ref;
        if (c.ppm)
            o.ppm = *c.ppm;
        EXPECT_EQ(problemOf([&] { calc::systemClock(o); }), c.problem)
            << c.crystal << " " << c.ref.value_or("") << " " << c.ppm.value_or("");
    }
}

TEST(Clock, WarningsForClocksOutsideTheChipsLimits)
{
    const struct {
        calc::Chip chip;
        const char* crystal;
        std::optional<const char*> ref;
        bool multiplier;
        std::size_t warnings;
    } cases[] = {
        {calc::Chip::AD9851, "20", {}, true, 0}, // 120 MHz
        {calc::Chip::AD9851, "30", {}, true, 0}, // 180 MHz exactly
        {calc::Chip::AD9851, "31", {}, true, 2}, // 186 MHz from a 31 MHz reference
        {calc::Chip::AD9851, "4", {}, true, 1},  // reference below 5 MHz
        {calc::Chip::AD9851, "40", {}, true, 2},
        {calc::Chip::AD9851, "20", "180000001", false, 1}, // just above 180 MHz, no multiplier
        {calc::Chip::AD9851, "20", "125000000", false, 0}, // no multiplier: any reference
        {calc::Chip::AD9850, "20", "125000000", true, 0},
        {calc::Chip::AD9850, "20", "125000000.001", true, 1},
    };
    for (const auto& c : cases) {
        calc::ClockOptions o;
        o.chip = c.chip;
        o.crystalMHz = c.crystal;
        o.multiplier = c.multiplier;
        if (c.ref)
            o.referenceHz = *c.ref;
        EXPECT_EQ(calc::clockWarnings(calc::systemClock(o)).size(), c.warnings)
            << c.crystal << " " << c.ref.value_or("");
    }
}

TEST(Clock, WarningsJudgeTheReferenceAfterItsPpm)
{
    // Each pair is one clock, given two ways: the warnings are the same.
    const struct {
        const char* ref;
        std::optional<const char*> ppm;
        const char* sameRef;
        std::size_t warnings;
    } cases[] = {
        {"30e6", "10", "30000300", 2},  // above 180 MHz and above 30 MHz
        {"30e6", "-10", "29999700", 0}, // within both
        {"5e6", "-1", "4999995", 1},    // below 5 MHz
        {"4999995", "1", "4999999.999995", 1}, {"4999990", "2", "4999999.99998", 1},
        {"4999980", "5", "5000004.9999", 0},
    };
    for (const auto& c : cases) {
        calc::ClockOptions withPpm, plain;
        withPpm.referenceHz = c.ref;
        withPpm.ppm = c.ppm;
        plain.referenceHz = c.sameRef;
        const auto warnings = calc::clockWarnings(calc::systemClock(withPpm));
        EXPECT_EQ(warnings, calc::clockWarnings(calc::systemClock(plain))) << c.ref << " " << *c.ppm;
        EXPECT_EQ(warnings.size(), c.warnings) << c.ref << " " << *c.ppm;
    }
}

} // namespace
