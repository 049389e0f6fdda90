// The exact word: rounding, agreement with the window, limits and the output share.

#include "calc/clock.h"
#include "calc/errors.h"
#include "calc/exact_word.h"
#include "calc/tuner.h"
#include "runtime/big_int.h"
#include "tests/calc_test_support.h"

#include <boost/multiprecision/cpp_int.hpp>
#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <random>
#include <string>

namespace {

using calc::Problem;
using calc::test::problemOf;
using calc::test::settings;

TEST(ExactWord, HalvesRoundUpOrDown)
{
    // A clock of 2^32 Hz makes the word equal to the frequency in Hz.
    const struct {
        const char* hz;
        calc::Rounding rounding;
        std::optional<std::uint32_t> word;
    } cases[] = {
        {"2.5", calc::Rounding::NearestHalfUp, 3},
        {"2.5", calc::Rounding::Down, 2},
        {"2.4999999999999999999999999999", calc::Rounding::NearestHalfUp, 2},
        {"2.5000000000000000000000000000000000000000000000000000000001", calc::Rounding::Down, 2},
        {"0.5", calc::Rounding::NearestHalfUp, 1},
        {"0.5", calc::Rounding::Down, 0},
        {"-0.5", calc::Rounding::NearestHalfUp, 0},
        {"-0.5", calc::Rounding::Down, 0},
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
        const double word = double(m) * 4294967296.0 / 120e6;
        if (std::abs(word - std::floor(word) - 0.5) < 1e-6)
            continue;
        ASSERT_EQ(a.tune(text).word, b.tune(text).word) << text;
    }
}

TEST(ExactWord, AgreesWithARationalModelInEitherWidth)
{
    // word = floor(f x 2^32 / clock + 1/2), worked out in rationals.  The
    // clock of 30 MHz at 3 ppm keeps the numbers within 128 bits; the one
    // given to 40 decimal places takes them past.
    std::mt19937_64 random(9);
    for (const char* ref : {"30e6", "30000000.0000000000000000000000000000000000000001"}) {
        calc::TunerSettings s = settings(calc::KHz);
        s.clock.referenceHz = ref;
        s.clock.ppm = "3";
        const calc::Tuner tuner(s);
        const boost::multiprecision::cpp_rational clock(tuner.clock().numerator, tuner.clock().denominator());
        for (int i = 0; i < 3000; ++i) {
            const auto decimals = unsigned(random() % 13);
            const std::uint64_t units = random() % (std::uint64_t(89'000) * 1'000'000'000'000);
            const std::string whole = std::to_string(units / 1'000'000'000'000);
            const std::string fraction = std::to_string(units % 1'000'000'000'000 + 1'000'000'000'000).substr(1);
            const std::string text = whole + "." + fraction.substr(0, decimals);
            const boost::multiprecision::cpp_rational khz(rt::fromDigits(whole + fraction.substr(0, decimals), 10),
                                                          rt::powerOfTen(decimals));
            const boost::multiprecision::cpp_rational word = khz * 1000 * (rt::BigInt(1) << 32) / clock;
            const rt::BigInt expected = (numerator(word) * 2 + denominator(word)) / (denominator(word) * 2);
            ASSERT_TRUE(expected == tuner.tune(text).word) << ref << " " << text;
        }
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

} // namespace
