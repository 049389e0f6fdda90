#include "runtime/errors.h"
#include "runtime/number.h"
#include "runtime/text.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <cmath>
#include <limits>
#include <stdexcept>
#include <string>

namespace {

struct TextCase {
    const char* text;
    double value;
};

class TextToDouble : public ::testing::TestWithParam<TextCase> {};

TEST_P(TextToDouble, ReadsTheLeadingNumber)
{
    const auto& c = GetParam();
    EXPECT_EQ(rt::textToDouble(c.text), c.value) << '"' << c.text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Grammar, TextToDouble,
    ::testing::Values(
        TextCase{"10", 10}, TextCase{"", 0}, TextCase{"abc", 0}, TextCase{"10KHz", 10},
        TextCase{"  10 ", 10}, TextCase{"12 345", 12345}, TextCase{"\t1\n2", 12},
        TextCase{"+7", 7}, TextCase{"-7.25", -7.25}, TextCase{"- 3", -3}, TextCase{".5", 0.5},
        TextCase{"5.", 5}, TextCase{"1.2.3", 1.2}, TextCase{"1,000", 1}, TextCase{"1e3", 1000},
        TextCase{"1E+3", 1000}, TextCase{"1.5D2", 150}, TextCase{"2d-1", 0.2},
        TextCase{"1 e 3", 1000}, TextCase{"1e", 1}, TextCase{"1e+", 1}, TextCase{"1ex", 1},
        TextCase{"&H1A", 26}, TextCase{"&hff", 255}, TextCase{"&HFFFFFFFF", 4294967295.0},
        TextCase{"&O17", 15}, TextCase{"&o777", 511}, TextCase{"&H", 0}, TextCase{"&HG", 0},
        TextCase{"&X1", 0}, TextCase{"-&H10", -16}, TextCase{"&H1A.8", 26}, TextCase{"&O19", 1},
        TextCase{"0.1", 0.1}, TextCase{"357913.9413", 357913.9413},
        TextCase{"1e-400", 0}, TextCase{"0e999999", 0}, TextCase{"1.7976931348623157e308", 1.7976931348623157e308},
        TextCase{"00000000000000000000000000000000000000000001", 1},
        TextCase{"0.000000000000000000000000000000000000000000000000000000000000000000001", 1e-69},
        TextCase{"\r10", 0}, TextCase{"１０", 0}));

TEST(TextToDoubleEdges, LongHexadecimalAndOctalRoundCorrectly)
{
    // 2^64 + 1 is not a double; the nearest is 2^64.
    EXPECT_EQ(rt::textToDouble("&H10000000000000001"), 18446744073709551616.0);
    EXPECT_EQ(rt::textToDouble("&O2000000000000000000001"), 18446744073709551616.0);
    EXPECT_EQ(rt::textToDouble("&O1777777777777777777777"), 18446744073709551615.0);
}

TEST(TextToDoubleEdges, BeyondTheDoubleRangeIsAnOverflow)
{
    for (const char* text : {"1e309", "-1e309", "1.8e308", "1e999999999999",
                             "9999999999999999999999999999999999999999999999999999999999999999999"
                             "9999999999999999999999999999999999999999999999999999999999999999999"
                             "9999999999999999999999999999999999999999999999999999999999999999999"
                             "9999999999999999999999999999999999999999999999999999999999999999999"
                             "9999999999999999999999999999999999999999999999999999"}) {
        EXPECT_THROW(rt::textToDouble(text), rt::OverflowError) << text;
    }
    EXPECT_THROW(rt::textToDouble("&H" + std::string(257, 'F')), rt::OverflowError);
}

TEST(TextToDoubleEdges, NegativeZeroAndSignAlone)
{
    EXPECT_EQ(rt::textToDouble("-"), 0.0);
    EXPECT_TRUE(std::signbit(rt::textToDouble("-0")));
}

TEST(TextToDoubleEdges, IgnoresTheProcessLocale)
{
    const char* old = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = old ? old : "C";
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr)
        std::setlocale(LC_NUMERIC, "fr_FR.UTF-8");
    EXPECT_EQ(rt::textToDouble("2.5"), 2.5);
    EXPECT_EQ(rt::textToDouble("2,5"), 2.0);
    std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(ToInt16, RoundsHalfToEven)
{
    const struct {
        double in;
        int out;
    } cases[] = {{20.5, 20}, {21.5, 22}, {-20.5, -20}, {-21.5, -22}, {0.5, 0}, {1.5, 2},
                 {2.4999999, 2}, {2.5000001, 3}, {-0.4, 0}, {32767, 32767}, {32767.4, 32767},
                 {-32768, -32768}, {-32768.5, -32768}};
    for (const auto& c : cases)
        EXPECT_EQ(rt::toInt16(c.in), c.out) << c.in;
}

TEST(ToInt16, OverflowsOutsideTheRange)
{
    for (double v : {32767.5, 32768.0, -32768.51, -32769.0, 40000.0, 1e300,
                     std::numeric_limits<double>::infinity(), std::nan("")})
        EXPECT_THROW(rt::toInt16(v), rt::OverflowError) << v;
}

TEST(CheckedArithmetic, RaisesOverflowAtTheTypeLimits)
{
    EXPECT_EQ(rt::mul16(5461, 6), 32766);
    EXPECT_THROW(rt::mul16(5462, 6), rt::OverflowError);
    EXPECT_EQ(rt::mul16(-5461, 6), -32766);
    EXPECT_THROW(rt::mul16(-5462, 6), rt::OverflowError);
    EXPECT_EQ(rt::add16(32766, 1), 32767);
    EXPECT_THROW(rt::add16(32767, 1), rt::OverflowError);
    EXPECT_EQ(rt::sub16(-32767, 1), -32768);
    EXPECT_THROW(rt::sub16(-32768, 1), rt::OverflowError);
    EXPECT_THROW(rt::sub32(std::numeric_limits<std::int32_t>::min(), 1), rt::OverflowError);
    EXPECT_EQ(rt::sub32(20, 1), 19);
}

TEST(Power, IsExactForTheConstantsAndAgreesWithPowElsewhere)
{
    EXPECT_EQ(rt::power(2, 32), 4294967296.0);
    EXPECT_EQ(rt::power(10, 6), 1000000.0);
    for (double base : {0.0, 1.0, 2.0, 3.0, 7.0, 10.0, 255.0, 65535.0, 0.5, -2.0, 1e6})
        for (double exponent : {0.0, 1.0, 2.0, 5.0, 13.0, 22.0, 32.0, 53.0, 64.0, 0.5, -1.0, 70.0})
            EXPECT_TRUE(rt::power(base, exponent) == std::pow(base, exponent) ||
                        (std::isnan(rt::power(base, exponent)) && std::isnan(std::pow(base, exponent))))
                << base << "^" << exponent;
}

TEST(TextToDoubleEdges, AgreesWithCorrectRoundingOnBothPaths)
{
    // Short numbers take the quick path, long ones the general reader; both
    // must give the correctly rounded double, which strtod gives in "C".
    for (const char* text :
         {"0.1", "0.3", "123456789012345.6", "9007199254740993", "1.5e22", "1.5e23", "4.35",
          "0.000000000000000000001", "1234567890123456789", "12345678901234567890",
          "2.2250738585072014e-308", "4.9e-324", "179769313486231570000000000000000000000e270",
          "0.1000000000000000055511151231257827", "59999999.986", "357913.9413"}) {
        EXPECT_EQ(rt::textToDouble(text), std::strtod(text, nullptr)) << text;
    }
}

TEST(FpStatus, EachOfTheThreeConditionsRaises)
{
    const double inf = std::numeric_limits<double>::infinity();
    auto conditionOf = [](const rt::FpResult& r) {
        try {
            rt::testFpStatus(r.status);
        } catch (const rt::FloatingPointError& e) {
            return static_cast<int>(e.condition());
        }
        return -1;
    };
    using C = rt::FpCondition;
    EXPECT_EQ(conditionOf(rt::divide(0, 0)), int(C::InvalidOperation));
    EXPECT_EQ(conditionOf(rt::divide(inf, inf)), int(C::InvalidOperation));
    EXPECT_EQ(conditionOf(rt::multiply(0, inf)), int(C::InvalidOperation));
    EXPECT_EQ(conditionOf(rt::divide(1, 0)), int(C::DivisionByZero));
    EXPECT_EQ(conditionOf(rt::divide(-1, -0.0)), int(C::DivisionByZero));
    EXPECT_EQ(conditionOf(rt::multiply(1e300, 1e300)), int(C::Overflow));
    EXPECT_EQ(conditionOf(rt::divide(1e300, 1e-300)), int(C::Overflow));
    EXPECT_EQ(conditionOf(rt::multiply(4294967296.0, 1.7e308)), int(C::Overflow));
}

TEST(FpStatus, UnderflowInexactAndDenormalsPass)
{
    EXPECT_NO_THROW(rt::testFpStatus(rt::multiply(1e-300, 1e-300).status)); // underflow to 0
    EXPECT_NO_THROW(rt::testFpStatus(rt::divide(1, 3).status));             // inexact
    EXPECT_NO_THROW(rt::testFpStatus(rt::multiply(4e-320, 2).status));      // denormal operand
    EXPECT_NO_THROW(rt::testFpStatus(rt::divide(0, 5).status));
    EXPECT_EQ(rt::divide(1, 0).value, std::numeric_limits<double>::infinity());
}

TEST(FormatNumber, ZeroPatternGivesTheNearestWholeNumber)
{
    const struct {
        double in;
        const char* out;
    } cases[] = {{357913.9413, "357914"}, {0.5, "1"}, {1.5, "2"}, {2.5, "3"}, {-2.5, "-3"},
                 {-0.4, "0"}, {-0.0, "0"}, {0.49999999999999994, "0"}, {2147483647.4, "2147483647"},
                 {4294967295.5, "4294967296"}, {-7, "-7"}, {1e20, "100000000000000000000"},
                 {9.3e18, "9300000000000000000"}};
    for (const auto& c : cases)
        EXPECT_EQ(rt::formatNumber(c.in, "0"), c.out) << c.in;
    EXPECT_EQ(rt::formatNumber(7, "000"), "007");
    EXPECT_EQ(rt::formatNumber(-7, "000"), "-007");
    EXPECT_EQ(rt::formatNumber(1.7976931348623157e308, "0").size(), 309u);
    EXPECT_THROW(rt::formatNumber(1, "#.##"), std::invalid_argument);
    EXPECT_THROW(rt::formatNumber(std::nan(""), "0"), std::invalid_argument);
    EXPECT_EQ(rt::toText(0), "0");
    EXPECT_EQ(rt::toText(-32768), "-32768");
}

TEST(Hex, CapitalDigitsWithoutPrefixOrLeadingZeros)
{
    EXPECT_EQ(rt::hex("357914"), "5761A");
    EXPECT_EQ(rt::hex("35791394"), "2222222");
    EXPECT_EQ(rt::hex("0"), "0");
    EXPECT_EQ(rt::hex("-0"), "0");
    EXPECT_EQ(rt::hex("2147483647"), "7FFFFFFF");
    EXPECT_EQ(rt::hex("18446744073709551615"), "FFFFFFFFFFFFFFFF");
    EXPECT_THROW(rt::hex("18446744073709551616"), rt::OverflowError);
    EXPECT_THROW(rt::hex("-1"), rt::OverflowError);
    EXPECT_THROW(rt::hex("12a"), std::invalid_argument);
    EXPECT_THROW(rt::hex(""), std::invalid_argument);
}

TEST(Substring, CountsCharactersFromOne)
{
    EXPECT_EQ(rt::substring("0005761A", 7, 2), "1A");
    EXPECT_EQ(rt::substring("0005761A", 1, 2), "00");
    EXPECT_EQ(rt::substring("0005761A", 8, 2), "A");
    EXPECT_EQ(rt::substring("0005761A", 9, 2), "");
    EXPECT_EQ(rt::substring("频率设置", 2, 2), "率设");
    EXPECT_EQ(rt::length("频率设置"), 4);
    EXPECT_EQ(rt::length(""), 0);
    EXPECT_EQ(rt::length("10KHz"), 5);
    EXPECT_THROW(rt::substring("abc", 0, 1), std::invalid_argument);
    EXPECT_THROW(rt::substring("abc", 1, -1), std::invalid_argument);
}

TEST(Errors, ShareOneBaseAndCarryAStageLabel)
{
    try {
        rt::raiseOverflow();
    } catch (rt::Error& e) {
        EXPECT_EQ(e.stage(), 0);
        e.setStage(3);
        EXPECT_EQ(e.stage(), 3);
        EXPECT_STREQ(e.what(), "overflow");
    }
    EXPECT_THROW(rt::raiseFloatingPoint(rt::FpCondition::Overflow), rt::Error);
}

} // namespace
