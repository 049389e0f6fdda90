#include "calc/calculation.h"
#include "calc/clock.h"
#include "calc/crystal.h"
#include "calc/details.h"
#include "calc/errors.h"
#include "calc/limits.h"
#include "calc/result_line.h"
#include "calc/text_format.h"
#include "calc/units.h"
#include "calc/window_word.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <random>
#include <regex>
#include <string>

namespace {

using calc::CalcState;
using calc::Problem;

CalcState withUnit(std::int16_t mode1, std::int16_t mode2 = 0)
{
    CalcState s;
    s.mode1 = mode1;
    s.mode2 = mode2;
    return s;
}

// The line of one calculation, as the window makes it: the comment is the
// frequency text and the caption the unit's.
std::string lineFor(CalcState& s, std::string_view F, std::string_view Fc)
{
    const std::string_view caption = calc::unitCaption(s.mode1).value_or("");
    std::string line;
    calc::calculate(s, {F, Fc, F, caption}, line);
    return line;
}

std::optional<Problem> problemOf(CalcState& s, std::string_view F, std::string_view Fc, std::string* limit = nullptr)
{
    std::string line;
    try {
        calc::calculate(s, {F, Fc, F, "X"}, line);
    } catch (const calc::CalcError& e) {
        EXPECT_EQ(line, "") << "a refused word must add nothing";
        if (limit)
            *limit = e.limit();
        return e.problem();
    }
    return std::nullopt;
}

TEST(CalcState, StartsAllZero)
{
    const CalcState s;
    EXPECT_EQ(s.mode1, 0);
    EXPECT_EQ(s.mode2, 0);
    EXPECT_EQ(s.Fc1, 0);
    EXPECT_EQ(s.temp, 0.0);
    EXPECT_EQ(s.temp1, 0);
    EXPECT_EQ(s.F0, 0.0);
    EXPECT_EQ(s.F1, 0.0);
}

TEST(Calculate, StartUpExampleFillsTheState)
{
    CalcState s = withUnit(calc::KHz);
    EXPECT_EQ(lineFor(s, "10", "20"), "{0x1A,0x76,0x05,0x00},//10KHz");
    EXPECT_NEAR(s.temp, 357913.9413, 5e-5);
    EXPECT_EQ(s.temp, 42949672960000.0 / 120000000.0);
    EXPECT_EQ(s.Fc1, 20);
    EXPECT_EQ(s.F1, 10000.0);
    EXPECT_EQ(s.F0, 10.0);
}

TEST(Calculate, UnitsScaleTheFrequency)
{
    const struct {
        std::int16_t mode1;
        const char* F;
        double F1;
        double temp;
    } cases[] = {
        {calc::MHz, "1", 1e6, 4294967296.0 * 1e6 / 120e6},
        {calc::Hz, "1234.5678", 1234.5678, 4294967296.0 * 1234.5678 / 120e6},
        {calc::KHz, "0.001", 0.001 * 1000, 4294967296.0 * (0.001 * 1000) / 120e6},
        {7, "10", 10, 4294967296.0 * 10 / 120e6}, // outside the table: no factor
        {-1, "10", 10, 4294967296.0 * 10 / 120e6},
    };
    for (const auto& c : cases) {
        CalcState s = withUnit(c.mode1);
        lineFor(s, c.F, "20");
        EXPECT_EQ(s.F1, c.F1) << c.F;
        EXPECT_EQ(s.temp, c.temp) << c.F;
    }
    CalcState s = withUnit(calc::MHz);
    lineFor(s, "1", "20");
    EXPECT_NEAR(s.temp, 35791394.1333, 5e-5);
}

TEST(Calculate, EmptyOrTextFrequencyGivesZero)
{
    for (const char* F : {"", "abc", "KHz", " "}) {
        CalcState s = withUnit(calc::KHz);
        s.temp = 99;
        lineFor(s, F, "20");
        EXPECT_EQ(s.F1, 0.0) << F;
        EXPECT_EQ(s.temp, 0.0) << F;
    }
}

TEST(Calculate, CrystalRoundsHalfToEven)
{
    const struct {
        const char* Fc;
        int Fc1;
    } cases[] = {{"20.5", 20},     {"21.5", 22},     {"20.4999", 20}, {"5461", 5461},
                 {"5460.5", 5460}, {"0.5000001", 1}, {"  20MHz", 20}, {"&H14", 20}};
    for (const auto& c : cases) {
        CalcState s = withUnit(calc::KHz);
        lineFor(s, "10", c.Fc);
        EXPECT_EQ(s.Fc1, c.Fc1) << c.Fc;
    }
}

TEST(Calculate, EachProblemIsNamedAndTheStateKeepsWhatWasRead)
{
    constexpr double untouched = 123;
    const struct {
        const char* F;
        const char* Fc;
        Problem problem;
        double F1;
        int Fc1;
        double temp;
    } cases[] = {
        // A wrong crystal is found before anything is computed.
        {"10", "5462", Problem::CrystalOutOfRange, 10, 5462, untouched},
        {"10", "-5462", Problem::CrystalOutOfRange, 10, -5462, untouched},
        {"10", "40000", Problem::CrystalOutOfRange, 10, 777, untouched},
        {"10", "0", Problem::CrystalOutOfRange, 10, 0, untouched},
        {"10", "", Problem::CrystalOutOfRange, 10, 0, untouched},
        {"10", "0.5", Problem::CrystalOutOfRange, 10, 0, untouched},
        {"0", "0", Problem::CrystalOutOfRange, 0, 0, untouched},
        {"10", "-20", Problem::CrystalOutOfRange, 10, -20, untouched},
        {"-10", "-5", Problem::CrystalOutOfRange, -10, -5, untouched},
        // With an impossible crystal the crystal is blamed, whatever the frequency.
        {"1e999", "0", Problem::CrystalOutOfRange, 5, 777, untouched},
        {"-1e999", "99999", Problem::CrystalOutOfRange, 5, 777, untouched},
        {"60", "-1", Problem::CrystalOutOfRange, 60, -1, untouched},
        // The frequency's own problems.
        {"1e999", "20", Problem::FrequencyUnreadable, 5, 777, untouched},
        {"1e306", "20", Problem::FrequencyTooHigh, INFINITY, 20, untouched},
        {"1e300", "20", Problem::FrequencyTooHigh, 1e303, 20, untouched},
        {"-1e300", "20", Problem::FrequencyNegative, -1e303, 20, untouched},
        {"60000", "20", Problem::FrequencyTooHigh, 6e7, 20, 4294967296.0 * 6e7 / 120e6},
        {"-10", "20", Problem::FrequencyNegative, -1e4, 20, 4294967296.0 * -1e4 / 120e6},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("F=") + c.F + " Fc=" + c.Fc);
        CalcState s = withUnit(calc::KHz);
        s.temp = untouched;
        s.F1 = 5;
        s.Fc1 = 777;
        EXPECT_EQ(problemOf(s, c.F, c.Fc), c.problem);
        EXPECT_EQ(s.F1, c.F1);
        EXPECT_EQ(s.Fc1, c.Fc1);
        EXPECT_EQ(s.temp, c.temp);
    }
}

TEST(Calculate, TooHighNamesTheHighestAcceptedFrequency)
{
    const struct {
        std::int16_t mode1;
        const char* Fc;
        const char* limit;
        const char* justAbove;
    } cases[] = {
        {calc::Hz, "20", "59999999.986 Hz", "59999999.987"},
        {calc::KHz, "20", "59999.999986 KHz", "59999.999987"},
        {calc::MHz, "20", "59.999999986 MHz", "59.999999987"},
        {calc::Hz, "5461", "16382999996.185 Hz", "16382999996.186"},
        {calc::MHz, "1", "2.999999999 MHz", "2.99999999931"},
        {9, "20", "59999999.986 Hz", "59999999.987"}, // no unit: Hz
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.limit);
        CalcState s = withUnit(c.mode1);
        std::string limit;
        EXPECT_EQ(problemOf(s, c.justAbove, c.Fc, &limit), Problem::FrequencyTooHigh);
        EXPECT_EQ(limit, c.limit);
        // The limit itself is accepted, with the largest word.
        const std::string atLimit = std::string(c.limit).substr(0, std::string(c.limit).find(' '));
        EXPECT_EQ(problemOf(s, atLimit, c.Fc), std::nullopt);
        EXPECT_EQ(calc::windowFrequencyLimit(s.Fc1, c.mode1), c.limit);
    }
}

TEST(Calculate, NeverDependsOnThePreviousCalculation)
{
    CalcState s = withUnit(calc::KHz);
    lineFor(s, "99", "30");
    const std::string line = lineFor(s, "10", "20");
    CalcState fresh = withUnit(calc::KHz);
    EXPECT_EQ(lineFor(fresh, "10", "20"), line);
    EXPECT_EQ(s.temp, fresh.temp);
    EXPECT_EQ(s.F0, fresh.F0);
}

TEST(Calculate, AppendsToWhatTheBufferHolds)
{
    CalcState s = withUnit(calc::KHz);
    std::string out = "x\n";
    EXPECT_EQ(calc::calculate(s, {"10", "20", "10", "KHz"}, out), 357914u);
    EXPECT_EQ(out, "x\n{0x1A,0x76,0x05,0x00},//10KHz");
}

TEST(Calculate, ReadCrystalChecksTheSameRange)
{
    EXPECT_EQ(calc::readCrystalMHz("20"), 20);
    EXPECT_EQ(calc::readCrystalMHz("1"), 1);
    EXPECT_EQ(calc::readCrystalMHz("0.5000001"), 1);
    for (const char* bad : {"0", "0.5", "5462", "5461.5", "-5", "", "abc", "1e999"})
        EXPECT_THROW(calc::readCrystalMHz(bad), calc::CalcError) << bad;
}

struct LineCase {
    const char* F;
    std::int16_t mode1;
    std::int16_t mode2;
    const char* Fc;
    const char* line;
};

class ResultLine : public ::testing::TestWithParam<LineCase> {};

TEST_P(ResultLine, ComesOutToTheCharacter)
{
    const auto& c = GetParam();
    CalcState s = withUnit(c.mode1, c.mode2);
    EXPECT_EQ(lineFor(s, c.F, c.Fc), c.line);
}

INSTANTIATE_TEST_SUITE_P(
    WorkedResults, ResultLine,
    ::testing::Values(LineCase{"10", calc::KHz, 0, "20", "{0x1A,0x76,0x05,0x00},//10KHz"},
                      LineCase{"10", calc::KHz, 1, "20", "{0x00,0x05,0x76,0x1A},//10KHz"},
                      LineCase{"1", calc::MHz, 0, "20", "{0x22,0x22,0x22,0x02},//1MHz"},
                      LineCase{"1", calc::MHz, 1, "20", "{0x02,0x22,0x22,0x22},//1MHz"},
                      LineCase{"1", calc::MHz, 5, "20", "{0x02,0x22,0x22,0x22},//1MHz"},
                      LineCase{"1", calc::MHz, -1, "20", "{0x02,0x22,0x22,0x22},//1MHz"},
                      LineCase{"", calc::KHz, 0, "20", "{0x00,0x00,0x00,0x00},//KHz"},
                      LineCase{" 10 kHz!", calc::KHz, 0, "20", "{0x1A,0x76,0x05,0x00},// 10 kHz!KHz"},
                      LineCase{"一", calc::KHz, 0, "20", "{0x00,0x00,0x00,0x00},//一KHz"},
                      LineCase{"-0.01", calc::Hz, 0, "20", "{0x00,0x00,0x00,0x00},//-0.01Hz"},
                      LineCase{"-0", calc::Hz, 0, "20", "{0x00,0x00,0x00,0x00},//-0Hz"},
                      // exact halves of a word go up: 0.5 and 357914.5
                      LineCase{"0.013969838619232177734375", calc::Hz, 0, "20",
                               "{0x01,0x00,0x00,0x00},//0.013969838619232177734375Hz"},
                      LineCase{"10000.015608966350555419921875", calc::Hz, 1, "20",
                               "{0x00,0x05,0x76,0x1B},//10000.015608966350555419921875Hz"},
                      // the largest word: just under half of the 120 MHz clock
                      LineCase{"59999999.986", calc::Hz, 0, "20", "{0xFF,0xFF,0xFF,0x7F},//59999999.986Hz"},
                      LineCase{"16382999990", calc::Hz, 1, "5461", "{0x7F,0xFF,0xFF,0xFF},//16382999990Hz"},
                      LineCase{"&HFF", calc::Hz, 1, "20", "{0x00,0x00,0x23,0xA7},//&HFFHz"}));

TEST(ResultLine, BytesInLoadOrder)
{
    std::string out;
    calc::appendResultLine(out, 0x12345678, calc::Serial, "c", "u");
    EXPECT_EQ(out, "{0x78,0x56,0x34,0x12},//cu");
    out.clear();
    calc::appendResultLine(out, 0x7FFFFFFF, calc::Parallel, "", "");
    EXPECT_EQ(out, "{0x7F,0xFF,0xFF,0xFF},//");
    out.clear();
    const std::uint8_t five[] = {0x09, 0x0E, 0x38, 0xE3, 0x8E};
    calc::appendByteList(out, five);
    EXPECT_EQ(out, "{0x09,0x0E,0x38,0xE3,0x8E}");
}

TEST(Units, Table)
{
    EXPECT_EQ(calc::unitCaption(0), "Hz");
    EXPECT_EQ(calc::unitCaption(1), "KHz");
    EXPECT_EQ(calc::unitCaption(2), "MHz");
    EXPECT_FALSE(calc::unitCaption(3));
    EXPECT_FALSE(calc::unitCaption(-1));
}

TEST(WordDetails, ActualFrequencyIsExactToTheMilliHertz)
{
    const struct {
        const char* F;
        std::int16_t mode1;
        const char* Fc;
        std::int64_t word;
        std::int64_t milliHz;
    } cases[] = {
        // 357914 x 120e6 / 2^32 = 10000.0016 Hz
        {"10", calc::KHz, "20", 357914, 10000002},
        // 35791394 x 120e6 / 2^32 = 999999.99627 Hz
        {"1", calc::MHz, "20", 35791394, 999999996},
        // 2147483647 x 120e6 / 2^32 = 59999999.972 Hz
        {"59999999.986", calc::Hz, "20", 2147483647, 59999999972},
        // the largest word at the largest clock: 16382999992.371 Hz
        {"16382999990", calc::Hz, "5461", 2147483647, 16382999992371},
        {"0", calc::Hz, "20", 0, 0},
    };
    for (const auto& c : cases) {
        CalcState s = withUnit(c.mode1);
        lineFor(s, c.F, c.Fc);
        const calc::WordDetails d = calc::windowWordDetails(std::uint32_t(s.temp + 0.5), s.Fc1, s.F1);
        EXPECT_EQ(d.word, c.word) << c.F;
        EXPECT_EQ(d.actualMilliHz, c.milliHz) << c.F;
        EXPECT_NEAR(d.deviationHz, double(c.milliHz) / 1000 - s.F1, 0.0006) << c.F;
    }
}

TEST(WordDetails, WindowCrystalAgreesWithTheExactClock)
{
    // The window's details take the whole-MHz crystal; the exact ones the
    // clock read from its text.  Both must give the same actual frequency
    // and step, for every crystal and words across the whole range.
    std::mt19937 random(5);
    for (int crystal = calc::minCrystalMHz; crystal <= calc::maxCrystalMHz; crystal += 1 + crystal / 7) {
        calc::ClockOptions options;
        const std::string text = std::to_string(crystal);
        options.crystalMHz = text;
        const calc::SystemClock clock = calc::systemClock(options);
        ASSERT_EQ(clock.kind, calc::ClockKind::WindowCrystal);
        ASSERT_EQ(clock.crystalMHz, crystal);
        for (const std::uint32_t word : {0u, 1u, 357914u, 2147483647u, std::uint32_t(random() >> 1)}) {
            const calc::WordDetails d = calc::windowWordDetails(word, std::int16_t(crystal), 0.0);
            ASSERT_EQ(d.actualMilliHz, calc::actualMilliHz(word, clock)) << crystal << " " << word;
            ASSERT_EQ(d.stepMicroHz, calc::exactWordDetails(word, clock, {}, calc::Hz).stepMicroHz) << crystal;
        }
    }
}

TEST(ResultLine, GrammarHoldsAcrossManyFrequencies)
{
    const std::regex grammar(R"(\{0x[0-9A-F]{2},0x[0-9A-F]{2},0x[0-9A-F]{2},0x[0-9A-F]{2}\},//.*)");
    for (int i = 0; i < 2000; ++i) {
        CalcState s = withUnit(calc::KHz, std::int16_t(i % 2));
        const std::string F = std::to_string(i * 29.97);
        const std::string line = lineFor(s, F, "20");
        ASSERT_TRUE(std::regex_match(line, grammar)) << line;
        ASSERT_TRUE(line.ends_with("//" + F + "KHz")) << line;
    }
}

} // namespace
