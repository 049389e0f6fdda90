#include "calc/calculation.h"
#include "calc/details.h"
#include "calc/diagnosis.h"
#include "calc/render.h"
#include "calc/stage.h"
#include "calc/tuning.h"
#include "calc/units.h"
#include "runtime/errors.h"

#include <gtest/gtest.h>

#include <cmath>
#include <regex>
#include <string>

namespace {

using calc::CalcState;
using calc::Stage;

CalcState withUnit(std::int16_t mode1, std::int16_t mode2 = 0)
{
    CalcState s;
    s.mode1 = mode1;
    s.mode2 = mode2;
    return s;
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

TEST(ComputeTuningWord, StartUpExample)
{
    CalcState s = withUnit(calc::KHz);
    calc::computeTuningWord(s, "10", "20");
    EXPECT_NEAR(s.temp, 357913.9413, 5e-5);
    EXPECT_EQ(s.temp, 42949672960000.0 / 120000000.0);
    EXPECT_EQ(s.Fc1, 20);
    EXPECT_EQ(s.F1, 10000.0);
    EXPECT_EQ(s.F0, 10.0);
}

TEST(ComputeTuningWord, UnitsScaleTheFrequency)
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
        calc::computeTuningWord(s, c.F, "20");
        EXPECT_EQ(s.F1, c.F1) << c.F;
        EXPECT_EQ(s.temp, c.temp) << c.F;
    }
    CalcState s = withUnit(calc::MHz);
    calc::computeTuningWord(s, "1", "20");
    EXPECT_NEAR(s.temp, 35791394.1333, 5e-5);
}

TEST(ComputeTuningWord, EmptyOrTextFrequencyGivesZero)
{
    for (const char* F : {"", "abc", "KHz", " "}) {
        CalcState s = withUnit(calc::KHz);
        s.temp = 99;
        calc::computeTuningWord(s, F, "20");
        EXPECT_EQ(s.F1, 0.0) << F;
        EXPECT_EQ(s.temp, 0.0) << F;
    }
}

TEST(ComputeTuningWord, CrystalRoundsHalfToEven)
{
    const struct {
        const char* Fc;
        int Fc1;
    } cases[] = {{"20.5", 20}, {"21.5", 22}, {"20.4999", 20}, {"5461", 5461}, {"-5461", -5461},
                 {"  20MHz", 20}, {"&H14", 20}};
    for (const auto& c : cases) {
        CalcState s = withUnit(calc::KHz);
        calc::computeTuningWord(s, "10", c.Fc);
        EXPECT_EQ(s.Fc1, c.Fc1) << c.Fc;
    }
}

// Runs a calculation that must fail and returns the error's stage and kind.
struct Failure {
    Stage stage = Stage::Unlabelled;
    bool overflow = false;
    int fpCondition = -1;
};

Failure failureOf(CalcState& s, const char* F, const char* Fc)
{
    Failure f;
    try {
        calc::computeTuningWord(s, F, Fc);
        ADD_FAILURE() << "no error for F=" << F << " Fc=" << Fc;
    } catch (const rt::OverflowError& e) {
        f.stage = calc::stageOf(e);
        f.overflow = true;
    } catch (const rt::FloatingPointError& e) {
        f.stage = calc::stageOf(e);
        f.fpCondition = int(e.condition());
    }
    return f;
}

TEST(ComputeTuningWord, ErrorsArriseAtTheirStepAndLeaveTheStateAsFarAsItGot)
{
    using C = rt::FpCondition;
    const struct {
        const char* F;
        const char* Fc;
        Stage stage;
        bool overflow;
        int condition;
        // expected state afterwards (temp starts at 123)
        double F1;
        int Fc1;
        double temp;
    } cases[] = {
        {"10", "5462", Stage::Clock, true, -1, 10000, 5462, 123},
        {"10", "-5462", Stage::Clock, true, -1, 10000, -5462, 123},
        {"10", "40000", Stage::ReadCrystal, true, -1, 10, 777, 123},
        {"10", "32767.5", Stage::ReadCrystal, true, -1, 10, 777, 123},
        {"10", "1e999", Stage::ReadCrystal, true, -1, 10, 777, 123},
        {"1e999", "20", Stage::ReadFrequency, true, -1, 5, 777, 123},
        {"10", "0", Stage::Quotient, false, int(C::DivisionByZero), 10000, 0, INFINITY},
        {"10", "", Stage::Quotient, false, int(C::DivisionByZero), 10000, 0, INFINITY},
        {"10", "0.4", Stage::Quotient, false, int(C::DivisionByZero), 10000, 0, INFINITY},
        {"0", "0", Stage::Quotient, false, int(C::InvalidOperation), 0, 0, NAN},
        {"1e306", "20", Stage::ScaleUnit, false, int(C::Overflow), INFINITY, 20, 123},
        {"1e300", "20", Stage::Numerator, false, int(C::Overflow), 1e303, 20, 123},
    };
    for (const auto& c : cases) {
        CalcState s = withUnit(calc::KHz);
        s.temp = 123;
        s.F1 = 5;
        s.Fc1 = 777;
        const Failure f = failureOf(s, c.F, c.Fc);
        SCOPED_TRACE(std::string("F=") + c.F + " Fc=" + c.Fc);
        EXPECT_EQ(f.stage, c.stage);
        EXPECT_EQ(f.overflow, c.overflow);
        EXPECT_EQ(f.fpCondition, c.condition);
        EXPECT_EQ(s.Fc1, c.Fc1);
        if (std::isnan(c.temp))
            EXPECT_TRUE(std::isnan(s.temp));
        else
            EXPECT_EQ(s.temp, c.temp);
        if (c.stage != Stage::ReadFrequency)
            EXPECT_EQ(s.F1, c.F1);
        else
            EXPECT_EQ(s.F1, 5); // the failing read leaves F1 alone
    }
}

TEST(ComputeTuningWord, NeverDependsOnThePreviousCalculation)
{
    CalcState s = withUnit(calc::KHz);
    calc::computeTuningWord(s, "99", "30");
    calc::computeTuningWord(s, "10", "20");
    CalcState fresh = withUnit(calc::KHz);
    calc::computeTuningWord(fresh, "10", "20");
    EXPECT_EQ(s.temp, fresh.temp);
    EXPECT_EQ(s.F0, fresh.F0);
}

struct LineCase {
    const char* F;
    std::int16_t mode1;
    std::int16_t mode2;
    const char* caption;
    const char* Fc;
    const char* line;
};

class ResultLine : public ::testing::TestWithParam<LineCase> {};

TEST_P(ResultLine, ComesOutToTheCharacter)
{
    const auto& c = GetParam();
    CalcState s;
    EXPECT_EQ(calc::calculate(s, c.F, c.Fc, c.mode1, c.mode2, c.caption), c.line);
}

INSTANTIATE_TEST_SUITE_P(
    WorkedResults, ResultLine,
    ::testing::Values(
        LineCase{"10", calc::KHz, 0, "KHz", "20", "{0x1A,0x76,0x05,0x00},//10KHz"},
        LineCase{"10", calc::KHz, 1, "KHz", "20", "{0x00,0x05,0x76,0x1A},//10KHz"},
        LineCase{"1", calc::MHz, 0, "MHz", "20", "{0x22,0x22,0x22,0x02},//1MHz"},
        LineCase{"1", calc::MHz, 1, "MHz", "20", "{0x02,0x22,0x22,0x22},//1MHz"},
        LineCase{"1", calc::MHz, 5, "MHz", "20", "{0x02,0x22,0x22,0x22},//1MHz"},
        LineCase{"1", calc::MHz, -1, "MHz", "20", "{0x02,0x22,0x22,0x22},//1MHz"},
        LineCase{"", calc::KHz, 0, "KHz", "20", "{0x00,0x00,0x00,0x00},//KHz"},
        LineCase{" 10 kHz!", calc::KHz, 0, "KHz", "20", "{0x1A,0x76,0x05,0x00},// 10 kHz!KHz"},
        LineCase{"一", calc::KHz, 0, "KHz", "20", "{0x00,0x00,0x00,0x00},//一KHz"},
        LineCase{"10", calc::KHz, 0, "", "20", "{0x1A,0x76,0x05,0x00},//10"},
        LineCase{"-0.01", calc::Hz, 0, "Hz", "20", "{0x00,0x00,0x00,0x00},//-0.01Hz"},
        LineCase{"-10", calc::KHz, 0, "KHz", "-20", "{0x1A,0x76,0x05,0x00},//-10KHz"},
        // the largest word: just under half of the 120 MHz clock
        LineCase{"59999999.986", calc::Hz, 0, "Hz", "20", "{0xFF,0xFF,0xFF,0x7F},//59999999.986Hz"},
        LineCase{"16382999990", calc::Hz, 1, "Hz", "5461", "{0x7F,0xFF,0xFF,0xFF},//16382999990Hz"},
        LineCase{"&HFF", calc::Hz, 1, "Hz", "20", "{0x00,0x00,0x23,0xA7},//&HFFHz"}));

TEST(ResultLine, FractionalWordIsRoundedBeforeConversion)
{
    CalcState s;
    s.temp = 357913.9413;
    EXPECT_EQ(calc::renderResultLine(s, "10", "KHz"), "{0x1A,0x76,0x05,0x00},//10KHz");
    s.temp = 357914.5; // an exact half goes away from zero
    EXPECT_EQ(calc::renderResultLine(s, "", ""), "{0x1B,0x76,0x05,0x00},//");
    s.temp = 2147483647.4;
    EXPECT_EQ(calc::renderResultLine(s, "", ""), "{0xFF,0xFF,0xFF,0x7F},//");
}

TEST(ResultLine, SameInputsTwiceGiveTheSameLine)
{
    CalcState s;
    std::string line = "left over from before";
    calc::calculate(s, "10", "20", calc::KHz, 0, "KHz", line);
    const std::string first = line;
    calc::calculate(s, "10", "20", calc::KHz, 0, "KHz", line);
    EXPECT_EQ(line, first);
    EXPECT_EQ(line, "{0x1A,0x76,0x05,0x00},//10KHz");
}

TEST(ResultLine, WordsOutsideThirtyOneBitsAreRejectedAndTheLineKept)
{
    const struct {
        const char* F;
        std::int16_t mode1;
        const char* Fc;
        calc::Problem problem;
        const char* halfClock;
    } cases[] = {
        {"60", calc::MHz, "20", calc::Problem::FrequencyTooHigh, "60 MHz"},
        {"59999.99999", calc::KHz, "20", calc::Problem::FrequencyTooHigh, "60000 KHz"},
        {"59999999.99", calc::Hz, "20", calc::Problem::FrequencyTooHigh, "60000000 Hz"},
        {"1e100", calc::Hz, "20", calc::Problem::FrequencyTooHigh, "60000000 Hz"},
        {"-10", calc::KHz, "20", calc::Problem::FrequencyNegative, ""},
        {"10", calc::KHz, "-20", calc::Problem::CrystalOutOfRange, ""},
    };
    for (const auto& c : cases) {
        CalcState s;
        std::string line = "kept";
        try {
            calc::calculate(s, c.F, c.Fc, c.mode1, 0, "X", line);
            ADD_FAILURE() << "no error for " << c.F;
        } catch (const rt::OverflowError& e) {
            EXPECT_EQ(calc::stageOf(e), Stage::WordRange) << c.F;
            const calc::Diagnosis d = calc::diagnose(e, s);
            EXPECT_EQ(d.problem, c.problem) << c.F;
            EXPECT_EQ(d.halfClock, c.halfClock) << c.F;
        }
        EXPECT_EQ(line, "kept") << c.F;
    }
}

TEST(Diagnosis, NamesTheInputToFix)
{
    const struct {
        const char* F;
        const char* Fc;
        calc::Problem problem;
        const char* halfClock;
    } cases[] = {
        {"10", "0", calc::Problem::CrystalOutOfRange, ""},
        {"0", "0", calc::Problem::CrystalOutOfRange, ""},
        {"10", "5462", calc::Problem::CrystalOutOfRange, ""},
        {"10", "40000", calc::Problem::CrystalOutOfRange, ""},
        {"1e999", "20", calc::Problem::FrequencyTooHigh, ""},
        {"1e300", "20", calc::Problem::FrequencyTooHigh, "60000 KHz"},
        {"1e300", "6000", calc::Problem::FrequencyTooHigh, ""},
    };
    for (const auto& c : cases) {
        CalcState s = withUnit(calc::KHz);
        try {
            calc::computeTuningWord(s, c.F, c.Fc);
            ADD_FAILURE() << "no error for " << c.F << " " << c.Fc;
        } catch (const rt::Error& e) {
            const calc::Diagnosis d = calc::diagnose(e, s);
            EXPECT_EQ(d.problem, c.problem) << c.F << " " << c.Fc;
            EXPECT_EQ(d.halfClock, c.halfClock) << c.F << " " << c.Fc;
        }
    }
}

TEST(Units, TableAndNames)
{
    EXPECT_EQ(calc::unitCaption(0), "Hz");
    EXPECT_EQ(calc::unitCaption(1), "KHz");
    EXPECT_EQ(calc::unitCaption(2), "MHz");
    EXPECT_FALSE(calc::unitCaption(3));
    EXPECT_FALSE(calc::unitCaption(-1));
    EXPECT_EQ(calc::unitFromName("khz"), calc::KHz);
    EXPECT_EQ(calc::unitFromName("MHZ"), calc::MHz);
    EXPECT_EQ(calc::unitFromName("hz"), calc::Hz);
    EXPECT_FALSE(calc::unitFromName("GHz"));
    EXPECT_FALSE(calc::unitFromName(""));
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
        CalcState s;
        calc::calculate(s, c.F, c.Fc, c.mode1, 0, "");
        const calc::WordDetails d = calc::wordDetails(s);
        EXPECT_EQ(d.word, c.word) << c.F;
        EXPECT_EQ(d.actualMilliHz, c.milliHz) << c.F;
        EXPECT_NEAR(d.deviationHz, double(c.milliHz) / 1000 - s.F1, 0.0006) << c.F;
    }
}

TEST(ResultLine, GrammarHoldsAcrossManyFrequencies)
{
    const std::regex grammar(R"(\{0x[0-9A-F]{2},0x[0-9A-F]{2},0x[0-9A-F]{2},0x[0-9A-F]{2}\},//.*)");
    CalcState s;
    for (int i = 0; i < 2000; ++i) {
        const std::string F = std::to_string(i * 29.97);
        const std::string line = calc::calculate(s, F, "20", calc::KHz, std::int16_t(i % 2), "KHz");
        ASSERT_TRUE(std::regex_match(line, grammar)) << line;
        ASSERT_TRUE(line.ends_with("//" + F + "KHz")) << line;
    }
}

} // namespace
