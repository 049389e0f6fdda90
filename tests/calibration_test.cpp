// The clock's error from one measurement, and the way back through --ppm.

#include "calc/calibration.h"
#include "calc/errors.h"
#include "calc/text_format.h"
#include "tests/calc_test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <random>
#include <string>

namespace {

using calc::Problem;
using calc::test::problemOf;
using calc::test::settings;

calc::TunerSettings referenceSettings(const char* referenceHz, std::int16_t unit = calc::Hz)
{
    calc::TunerSettings s = settings(unit);
    s.clock.referenceHz = referenceHz;
    return s;
}

TEST(Calibration, TenMegahertzMeasuredHigh)
{
    // The word for 10 MHz at 180 MHz puts out 9999999.991 Hz; a counter
    // reads 10000043.2 Hz, so the clock runs (10000043.2 / 9999999.9907 - 1)
    // x 10^6 = 4.320931 ppm fast.
    const calc::TunerSettings s = referenceSettings("30e6");
    const calc::Calibration c = calc::calibrate(s, "10000000", "10000043.2");
    EXPECT_EQ(c.word, 238609294u);
    EXPECT_EQ(c.actualMilliHz, 9999999991u);
    EXPECT_EQ(c.ppm, "4.320931");
    EXPECT_EQ(c.clockMilliHz, 180000777768u);
    EXPECT_EQ(c.referenceMilliHz, 30000129628u);

    // The corrected clock's word for 10 MHz lands within one step of it.
    const calc::Tuner corrected(calc::correctedSettings(s, c));
    const calc::WordDetails d = corrected.details(corrected.tune("10000000"));
    EXPECT_NE(d.word, c.word);
    EXPECT_LE(std::abs(double(d.actualMilliHz) - 1e10), double(d.stepMicroHz) / 1000);

    // The window's crystal gives the same word, and so the same answer.
    calc::TunerSettings crystal = settings(calc::MHz);
    crystal.clock.crystalMHz = "30";
    const calc::Calibration w = calc::calibrate(crystal, "10", "10.0000432");
    EXPECT_EQ(w.ppm, c.ppm);
    EXPECT_EQ(w.clockMilliHz, c.clockMilliHz);
}

TEST(Calibration, SignsAndDecimals)
{
    const struct {
        const char* reference;
        const char* programmed;
        const char* measured;
        const char* ppm;
    } cases[] = {
        // Slow: 9999956.8 Hz against 9999999.991 Hz.
        {"30e6", "10000000", "9999956.8", "-4.319069"},
        // Measured exactly what the word puts out: no error, no sign.
        {"30e6", "11250000", "11250000", "0.000000"},
        // Near 90 MHz of output the ppm takes seven decimals.
        {"30e6", "89000000", "89000089", "0.9998012"},
        // A tiny output still has six; its word puts out 1000.003 Hz.
        {"30e6", "1000", "1000.001", "-1.957875"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(calc::calibrate(referenceSettings(c.reference), c.programmed, c.measured).ppm, c.ppm)
            << c.programmed << " " << c.measured;
}

TEST(Calibration, RefusesWhatCannotBeAMeasurement)
{
    // The word for 10 MHz puts out 9999999.991 Hz; 1000 ppm of it is
    // 9999.99999 Hz.
    const calc::TunerSettings s = referenceSettings("30e6");
    const struct {
        const char* programmed;
        const char* measured;
        std::optional<Problem> problem;
    } cases[] = {
        {"10000000", "10009999.990", {}},
        {"10000000", "10009999.991", Problem::InvalidSetting},
        {"10000000", "9989999.991", {}},
        {"10000000", "9989999.990", Problem::InvalidSetting},
        {"10000000", "10000", Problem::InvalidSetting}, // kHz read as Hz
        {"10000000", "0", Problem::InvalidSetting},
        {"10000000", "-10000000", Problem::InvalidSetting},
        {"10000000", "10MHz", Problem::InvalidSetting},
        {"10000000", "", Problem::InvalidSetting},
        {"10000000", "1e40", Problem::InvalidSetting},
        {"10MHz", "10000000", Problem::InvalidSetting},
        {"0", "10", Problem::InvalidSetting}, // the word 0
        {"0.01", "0.01", Problem::InvalidSetting},
        {"1e30", "1e30", Problem::FrequencyTooHigh},
        {"-5", "5", Problem::FrequencyNegative},
    };
    for (const auto& c : cases)
        EXPECT_EQ(problemOf([&] { calc::calibrate(s, c.programmed, c.measured); }), c.problem)
            << c.programmed << " " << c.measured;

    try {
        calc::calibrate(s, "10000000", "10000");
        FAIL();
    } catch (const calc::CalcError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "measured \"10000\" is more than 1000 ppm from the word's output of "
                  "9999999.991 Hz: a wrong unit is likelier than a clock that far off");
    }
}

TEST(Calibration, ExactlyAThousandPpmIsTaken)
{
    // A 2^32 Hz clock without the multiplier steps by 1 Hz: the word for
    // 1 MHz puts out exactly 1 MHz, and 1000 ppm of it is 1000 Hz.
    calc::TunerSettings s = referenceSettings("4294967296");
    s.clock.multiplier = false;
    const struct {
        const char* measured;
        const char* ppm; // empty: refused
    } cases[] = {{"1001000", "1000.000000"}, {"999000", "-1000.000000"}, {"1001000.001", ""}, {"998999.999", ""}};
    for (const auto& c : cases) {
        if (*c.ppm)
            EXPECT_EQ(calc::calibrate(s, "1000000", c.measured).ppm, c.ppm) << c.measured;
        else
            EXPECT_EQ(problemOf([&] { calc::calibrate(s, "1000000", c.measured); }), Problem::InvalidSetting)
                << c.measured;
    }
}

// Random clocks, frequencies and errors: the printed ppm, given back as the
// clock's ppm, makes the programmed word put out the measured frequency to
// the mHz, and the corrected word for the programmed frequency lies within
// half a step of it at the true clock.
TEST(Calibration, RoundTripThroughThePpm)
{
    std::mt19937_64 random(20261210);
    auto uniform = [&](std::uint64_t low, std::uint64_t high) {
        return std::uniform_int_distribution<std::uint64_t>(low, high)(random);
    };
    for (int i = 0; i < 2000; ++i) {
        calc::TunerSettings s = settings(calc::Hz);
        s.clock.multiplier = uniform(0, 1) == 1;
        const std::uint64_t referenceMilliHz =
            s.clock.multiplier ? uniform(5'000'000'000, 30'000'000'000) : uniform(5'000'000'000, 180'000'000'000);
        const std::string reference = calc::formatHz(referenceMilliHz);
        s.clock.referenceHz = reference;
        // Half the cases were programmed with an earlier correction.
        const std::string earlier = calc::formatDeviationHz(double(uniform(0, 1'000'000)) / 1000 - 500);
        if (uniform(0, 1) == 1)
            s.clock.ppm = earlier;
        const calc::SystemClock clock = calc::systemClock(s.clock);
        const double clockHz = double(clock.numerator) / double(clock.denominator());
        const std::string programmed = calc::formatHz(uniform(1'000, std::uint64_t(clockHz * 450)));
        const calc::Tuned loaded = calc::Tuner(s).tune(programmed);
        if (loaded.word == 0)
            continue;
        // What a counter reads from a clock up to 900 ppm off, to the mHz.
        const double error = (double(uniform(0, 1'800'000)) - 900'000) * 1e-9;
        const auto measuredMilliHz =
            std::uint64_t(std::llround(double(calc::actualMilliHz(loaded.word, clock)) * (1 + error)));
        const std::string measured = calc::formatHz(measuredMilliHz);
        SCOPED_TRACE(reference + " ppm " + std::string(s.clock.ppm.value_or("none")) + " programmed " + programmed +
                     " measured " + measured);

        const calc::Calibration c = calc::calibrate(s, programmed, measured);
        ASSERT_EQ(c.word, loaded.word);
        const calc::Tuner corrected(calc::correctedSettings(s, c));
        const calc::Tuned back = corrected.tune(measured);
        EXPECT_EQ(back.word, c.word);
        EXPECT_EQ(corrected.details(back).actualMilliHz, measuredMilliHz);

        const double trueClockHz = double(c.clockMilliHz) / 1000;
        const calc::Tuned now = corrected.tune(programmed);
        const double output = double(now.word) * trueClockHz / 4294967296.0;
        EXPECT_LE(std::abs(output - std::stod(programmed)), trueClockHz / 8589934592.0 + 1e-4);
    }
}

} // namespace
