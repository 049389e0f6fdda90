// The 40-bit load, the exact clock and word, sweeps and decoding.

#include "calc/calculation.h"
#include "calc/clock.h"
#include "calc/control_byte.h"
#include "calc/decode.h"
#include "calc/errors.h"
#include "calc/result_line.h"
#include "calc/text_format.h"
#include "calc/sweep.h"
#include "calc/tuner.h"

#include <gtest/gtest.h>

#include <random>
#include <stdexcept>
#include <string>

namespace {

using calc::Problem;

std::string lineOf(calc::Tuner& tuner, std::string_view frequency, bool load)
{
    const calc::Tuned t = tuner.tune(frequency);
    std::string out;
    if (load)
        calc::appendByteList(out, tuner.loadBytes(t.word));
    else
        calc::appendByteList(out, tuner.wordBytes(t.word));
    return out;
}

calc::TunerSettings settings(std::int16_t unit, std::int16_t mode = calc::Serial)
{
    calc::TunerSettings s;
    s.unit = unit;
    s.mode = mode;
    return s;
}

std::optional<Problem> problemOf(auto&& call)
{
    try {
        call();
    } catch (const calc::CalcError& e) {
        return e.problem();
    }
    return std::nullopt;
}

TEST(ControlByte, EveryBitInItsPlace)
{
    EXPECT_EQ((calc::ControlByte{}.value()), 0x00);
    EXPECT_EQ((calc::ControlByte{0, false, true}.value()), 0x01);  // D0 multiplier
    EXPECT_EQ((calc::ControlByte{0, true, false}.value()), 0x04);  // D2 power-down
    EXPECT_EQ((calc::ControlByte{1, false, false}.value()), 0x08); // D3 11.25 degrees
    EXPECT_EQ((calc::ControlByte{16, false, false}.value()), 0x80); // D7 180 degrees
    EXPECT_EQ((calc::ControlByte{31, true, true}.value()), 0xFD);
    const calc::ControlByte back = calc::controlByteFrom(0xFD);
    EXPECT_EQ(back.phaseSteps, 31);
    EXPECT_TRUE(back.powerDown);
    EXPECT_TRUE(back.multiplier);
    EXPECT_EQ(back.phaseDegrees(), 348.75);
    EXPECT_EQ(problemOf([] { calc::controlByteFrom(0x02); }), Problem::InvalidWord); // D1: test mode
}

TEST(ControlByte, PhaseRoundsToTheNearestStepHalvesUp)
{
    const struct {
        const char* degrees;
        int steps;
    } cases[] = {
        {"0", 0},        {"11.25", 1},    {"5.625", 1},     {"5.624999", 0},   {"16.875", 2},
        {"180", 16},     {"348.75", 31},  {"354.375", 0},   {"360", 0},        {"371.25", 1},
        {"-5.625", 0},   {"-5.626", 31},  {"-11.25", 31},   {"-16.875", 31},   {"-16.876", 30},
        {"-360", 0},     {"-720.1", 0},   {"720000000000000000011.25", 1},
        {"5.62499999999999999999999", 0}, {"-5.62500000000000000000001", 31},
        {" 90 ", 8},     {"&H5A", 8},     {"1e1", 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(calc::phaseStepsFromDegrees(c.degrees), c.steps) << c.degrees;
    for (const char* bad : {"", "east", "10deg", "1e40"})
        EXPECT_EQ(problemOf([&] { calc::phaseStepsFromDegrees(bad); }), Problem::InvalidSetting) << bad;
}

TEST(Load, DatasheetExampleInBothOrders)
{
    // 10 MHz from a 30 MHz reference times six, phase 11.25 degrees.
    calc::TunerSettings s = settings(calc::MHz, calc::Parallel);
    s.clock.crystalMHz = "30";
    s.phaseSteps = 1;
    calc::Tuner parallel(s);
    EXPECT_EQ(lineOf(parallel, "10", true), "{0x09,0x0E,0x38,0xE3,0x8E}");
    EXPECT_EQ(lineOf(parallel, "10", false), "{0x0E,0x38,0xE3,0x8E}");
    s.mode = calc::Serial;
    calc::Tuner serial(s);
    EXPECT_EQ(lineOf(serial, "10", true), "{0x8E,0xE3,0x38,0x0E,0x09}");
    s.powerDown = true;
    EXPECT_EQ(lineOf(*std::make_unique<calc::Tuner>(s), "10", true), "{0x8E,0xE3,0x38,0x0E,0x0D}");
}

TEST(Load, TheAd9850HasNoMultiplier)
{
    calc::TunerSettings s = settings(calc::MHz, calc::Parallel);
    s.clock.chip = calc::Chip::AD9850;
    s.clock.referenceHz = "125000000";
    calc::Tuner tuner(s);
    EXPECT_TRUE(tuner.isExact());
    EXPECT_FALSE(tuner.clock().multiplier);
    // 10 MHz x 2^32 / 125 MHz = 343597383.68
    EXPECT_EQ(lineOf(tuner, "10", true), "{0x00,0x14,0x7A,0xE1,0x48}");
    EXPECT_EQ(tuner.tune("10").word, 343597384u);
}

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
    EXPECT_EQ(clock.numerator, clock.denominator() * 180001800u);
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
        EXPECT_EQ(problemOf([&] { calc::systemClock(o); }), c.problem) << c.crystal << " " << c.ref.value_or("") << " " << c.ppm.value_or("");
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
        {calc::Chip::AD9851, "20", {}, true, 0},           // 120 MHz
        {calc::Chip::AD9851, "30", {}, true, 0},           // 180 MHz exactly
        {calc::Chip::AD9851, "31", {}, true, 2},           // 186 MHz from a 31 MHz reference
        {calc::Chip::AD9851, "4", {}, true, 1},            // reference below 5 MHz
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
        EXPECT_EQ(calc::clockWarnings(calc::systemClock(o)).size(), c.warnings) << c.crystal << " " << c.ref.value_or("");
    }
}

TEST(ExactWord, HalvesRoundUpOrDown)
{
    // A clock of 2^32 Hz makes the word equal to the frequency in Hz.
    const struct {
        const char* hz;
        calc::Rounding rounding;
        std::optional<std::uint32_t> word;
    } cases[] = {
        {"2.5", calc::Rounding::NearestHalfUp, 3}, {"2.5", calc::Rounding::Down, 2},
        {"2.4999999999999999999999999999", calc::Rounding::NearestHalfUp, 2},
        {"2.5000000000000000000000000000000000000000000000000000000001", calc::Rounding::Down, 2},
        {"0.5", calc::Rounding::NearestHalfUp, 1}, {"0.5", calc::Rounding::Down, 0},
        {"-0.5", calc::Rounding::NearestHalfUp, 0}, {"-0.5", calc::Rounding::Down, 0},
        {"-0.9", calc::Rounding::Down, 0},
        {"-0.50000000000000000000000000000000000000000000000001", calc::Rounding::NearestHalfUp, std::nullopt},
        {"-1", calc::Rounding::Down, std::nullopt},
        {"2147483646.5", calc::Rounding::NearestHalfUp, 2147483647},
        {"2147483647.4", calc::Rounding::NearestHalfUp, 2147483647},
        {"2147483647.5", calc::Rounding::NearestHalfUp, std::nullopt},
        {"2147483647.999", calc::Rounding::Down, 2147483647},
        {"2147483648", calc::Rounding::Down, std::nullopt},
        {"&H7FFFFFFF", calc::Rounding::Down, 2147483647},
        {"1e100", calc::Rounding::Down, std::nullopt},
        {"", calc::Rounding::NearestHalfUp, 0},
    };
    for (const auto& c : cases) {
        calc::TunerSettings s = settings(calc::Hz);
        s.clock.referenceHz = "4294967296";
        s.clock.multiplier = false;
        s.rounding = c.rounding;
        calc::Tuner tuner(s);
        SCOPED_TRACE(std::string(c.hz) + (c.rounding == calc::Rounding::Down ? " down" : " nearest"));
        if (c.word) {
            EXPECT_EQ(tuner.tune(c.hz).word, *c.word);
        } else {
            const auto p = problemOf([&] { tuner.tune(c.hz); });
            EXPECT_TRUE(p == Problem::FrequencyTooHigh || p == Problem::FrequencyNegative);
        }
    }
}

TEST(ExactWord, AgreesWithTheWindowAwayFromTies)
{
    // At the window's own clock the exact word and the window's double
    // arithmetic agree except where the word is within a hair of a half.
    calc::TunerSettings window = settings(calc::KHz);
    calc::TunerSettings exact = window;
    exact.clock.referenceHz = "20000000";
    calc::Tuner a(window), b(exact);
    ASSERT_FALSE(a.isExact());
    ASSERT_TRUE(b.isExact());
    std::mt19937 random(3);
    std::uniform_int_distribution<long> millis(0, 59'999'999);
    for (int i = 0; i < 20000; ++i) {
        const long m = millis(random);
        const std::string text = std::to_string(m / 1000) + "." + std::to_string(1000 + m % 1000).substr(1);
        const double word = m * 4294967296.0 / 120e6;
        if (std::abs(word - std::floor(word) - 0.5) < 1e-6)
            continue;
        ASSERT_EQ(a.tune(text).word, b.tune(text).word) << text;
    }
}

TEST(ExactWord, OutputShareComparesExactlyAtAnyPrecision)
{
    // 40 % of a 180 MHz clock is 72 MHz.  A reference given to 37 decimal
    // places takes the comparison past 128 bits.
    const struct {
        const char* ref;
        const char* frequency;
        bool above;
    } cases[] = {
        {"30000000", "72", false},
        {"30000000", "72.000000001", true},
        {"30000000", "71.999999999", false},
        {"30000000", "-0.0000000001", false},
        {"30000000.0000000000000000000000000000000000001", "72", false},
        {"30000000.0000000000000000000000000000000000001", "72.0000000000000000000000000000000000000000001", false},
        {"30000000.0000000000000000000000000000000000001", "72.000000000000000000000000000000000000001", true},
        {"29999999.9999999999999999999999999999999999999", "72", true},
    };
    for (const auto& c : cases) {
        calc::TunerSettings s = settings(calc::MHz);
        s.clock.referenceHz = c.ref;
        const calc::Tuner tuner(s);
        EXPECT_EQ(tuner.aboveOutputShare(tuner.tune(c.frequency)), c.above) << c.ref << " " << c.frequency;
    }
}

TEST(ExactWord, TooHighNamesTheExactLimit)
{
    calc::ClockOptions o;
    o.referenceHz = "30000000";
    const calc::SystemClock clock = calc::systemClock(o);
    EXPECT_EQ(calc::exactFrequencyLimit(clock, calc::Hz, calc::Rounding::NearestHalfUp), "89999999.979 Hz");
    EXPECT_EQ(calc::exactFrequencyLimit(clock, calc::MHz, calc::Rounding::Down), "89.999999999 MHz");
    calc::TunerSettings s = settings(calc::Hz);
    s.clock = o;
    calc::Tuner tuner(s);
    EXPECT_EQ(tuner.tune("89999999.979").word, 2147483647u);
    EXPECT_EQ(problemOf([&] { tuner.tune("89999999.98"); }), Problem::FrequencyTooHigh);
}

TEST(Sweep, CountsInExactDecimals)
{
    const struct {
        const char* range;
        std::vector<std::string> texts;
    } cases[] = {
        {"1:2:0.5", {"1", "1.5", "2"}},
        {"1:2:0.3", {"1", "1.3", "1.6", "1.9"}}, // cannot land on STOP
        {"2:1:-0.25", {"2", "1.75", "1.5", "1.25", "1"}},
        {"-0.1:0.1:0.1", {"-0.1", "0", "0.1"}},
        {"5:5:1", {"5"}},
        {"+1.50:2.5:1", {"1.5", "2.5"}},
    };
    for (const auto& c : cases) {
        const calc::Sweep sweep(c.range);
        std::vector<std::string> texts;
        for (std::uint64_t i = 0; i < sweep.size(); ++i)
            texts.push_back(sweep.text(i));
        EXPECT_EQ(texts, c.texts) << c.range;
    }
    const calc::Sweep tenths("0:1:0.1");
    ASSERT_EQ(tenths.size(), 11u);
    EXPECT_EQ(tenths.text(10), "1"); // no drift
    EXPECT_EQ(tenths.text(3), "0.3");
    EXPECT_EQ(calc::Sweep("0:9999999:1").size(), 10'000'000u);
    for (const char* bad : {"1:2:0", "2:1:1", "1:2:-1", "0:10000000:1", "1:2", "1:2:3:4", "a:2:1", "1::1",
                            "1e3:2:1", "0:1:0.0000000000000000001", "0:99999999999999999999:1"})
        EXPECT_THROW(calc::Sweep{bad}, std::invalid_argument) << bad;
}

TEST(Decode, EveryFormTheToolPrints)
{
    const struct {
        const char* text;
        std::int16_t mode;
        const char* described;
    } cases[] = {
        {"{0x1A,0x76,0x05,0x00},//10KHz", calc::Serial, "word=357914\tfrequency_hz=10000.002"},
        {"{0x00,0x05,0x76,0x1A},//10KHz", calc::Parallel, "word=357914\tfrequency_hz=10000.002"},
        {" { 0x1A , 0x76,0x5,0x00 } ", calc::Serial, "word=357914\tfrequency_hz=10000.002"},
        {"357914", calc::Serial, "word=357914\tfrequency_hz=10000.002"},
        {"0x5761A", calc::Parallel, "word=357914\tfrequency_hz=10000.002"},
        {"0", calc::Serial, "word=0\tfrequency_hz=0.000"},
        {"2147483647", calc::Serial, "word=2147483647\tfrequency_hz=59999999.972"},
        // five bytes: W0 first in parallel, last in serial; its multiplier
        // bit decides the clock (20 MHz or 120 MHz here)
        {"{0x09,0x0E,0x38,0xE3,0x8E}", calc::Parallel,
         "word=238609294\tfrequency_hz=6666666.660\tphase_deg=11.25\tpower_down=0\tmultiplier=1"},
        {"{0x8E,0xE3,0x38,0x0E,0x09},//10MHz", calc::Serial,
         "word=238609294\tfrequency_hz=6666666.660\tphase_deg=11.25\tpower_down=0\tmultiplier=1"},
        {"{0x84,0x0E,0x38,0xE3,0x8E}", calc::Parallel,
         "word=238609294\tfrequency_hz=1111111.110\tphase_deg=180\tpower_down=1\tmultiplier=0"},
    };
    for (const auto& c : cases) {
        const calc::DecodedWord d = calc::decodeWord(c.text, c.mode);
        EXPECT_EQ(calc::describeWord(d, calc::ClockOptions{}), c.described) << c.text;
    }
    for (const char* bad : {"{0x1A,0x76,0x05}", "{0x1A,0x76,0x05,0x00,0x01,0x02}", "{0x1A,0x76,0x05,0x100}",
                            "{0x1A,0x76,0x05,0x00", "{0x1A,0x76,0x05,0x00} x", "{1A,0x76,0x05,0x00}",
                            "{0x80,0x00,0x00,0x00}", "2147483648", "0x80000000", "abc", "", "10KHz", "-1",
                            "{0x0A,0x0E,0x38,0xE3,0x8E}"})
        EXPECT_EQ(problemOf([&] { calc::decodeWord(bad, calc::Parallel); }), Problem::InvalidWord) << bad;
    // The AD9850 has no multiplier bit to set.
    calc::ClockOptions ad9850;
    ad9850.chip = calc::Chip::AD9850;
    const calc::DecodedWord withMultiplier = calc::decodeWord("{0x01,0x00,0x00,0x00,0x01}", calc::Parallel);
    EXPECT_EQ(problemOf([&] { calc::describeWord(withMultiplier, ad9850); }), Problem::InvalidWord);
}

TEST(Decode, RoundTripsFromFrequencyToLineAndBack)
{
    for (const std::int16_t mode : {calc::Serial, calc::Parallel}) {
        calc::TunerSettings s = settings(calc::KHz, mode);
        s.phaseSteps = 7;
        calc::Tuner tuner(s);
        for (const char* f : {"0", "0.001", "10", "12345.678", "59999.999986"}) {
            const calc::Tuned t = tuner.tune(f);
            for (const bool load : {false, true}) {
                const calc::DecodedWord d = calc::decodeWord(lineOf(tuner, f, load) + ",//" + f + "KHz", mode);
                EXPECT_EQ(d.word, t.word) << f;
                EXPECT_EQ(d.control.has_value(), load);
                if (load) {
                    EXPECT_EQ(d.control->value(), tuner.controlByte().value());
                }
            }
        }
    }
}

} // namespace
