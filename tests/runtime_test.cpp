#include "runtime/big_int.h"
#include "runtime/number.h"
#include "runtime/rounding.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdlib>
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
    ::testing::Values(TextCase{"10", 10}, TextCase{"", 0}, TextCase{"abc", 0}, TextCase{"10KHz", 10},
                      TextCase{"  10 ", 10}, TextCase{"12 345", 12345}, TextCase{"\t1\n2", 12}, TextCase{"+7", 7},
                      TextCase{"-7.25", -7.25}, TextCase{"- 3", -3}, TextCase{".5", 0.5}, TextCase{"5.", 5},
                      TextCase{"1.2.3", 1.2}, TextCase{"1,000", 1}, TextCase{"1e3", 1000}, TextCase{"1E+3", 1000},
                      TextCase{"1.5D2", 150}, TextCase{"2d-1", 0.2}, TextCase{"1 e 3", 1000}, TextCase{"1e", 1},
                      TextCase{"1e+", 1}, TextCase{"1ex", 1}, TextCase{"&H1A", 26}, TextCase{"&hff", 255},
                      TextCase{"&HFFFFFFFF", 4294967295.0}, TextCase{"&O17", 15}, TextCase{"&o777", 511},
                      TextCase{"&H", 0}, TextCase{"&HG", 0}, TextCase{"&X1", 0}, TextCase{"-&H10", -16},
                      TextCase{"&H1A.8", 26}, TextCase{"&O19", 1}, TextCase{"0.1", 0.1},
                      TextCase{"357913.9413", 357913.9413}, TextCase{"1e-400", 0}, TextCase{"0e999999", 0},
                      TextCase{"1.7976931348623157e308", 1.7976931348623157e308},
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

TEST(TextToDoubleEdges, BeyondTheDoubleRangeIsInfinite)
{
    for (const char* text : {"1e309", "1.8e308", "1e999999999999", "1e99999999999999999999999999",
                             "9999999999999999999999999999999999999999999999999999999999999999999"
                             "9999999999999999999999999999999999999999999999999999999999999999999"
                             "9999999999999999999999999999999999999999999999999999999999999999999"
                             "9999999999999999999999999999999999999999999999999999999999999999999"
                             "9999999999999999999999999999999999999999999999999999"}) {
        EXPECT_EQ(rt::textToDouble(text), INFINITY) << text;
    }
    EXPECT_EQ(rt::textToDouble("-1e309"), -INFINITY);
    EXPECT_EQ(rt::textToDouble("&H" + std::string(257, 'F')), INFINITY);
    EXPECT_EQ(rt::textToDouble("&H" + std::string(256, 'F')), INFINITY); // rounds up to 2^1024
    EXPECT_EQ(rt::textToDouble("&H" + std::string(255, 'F')), std::ldexp(1.0, 1020));
}

TEST(TextToDoubleEdges, LongDigitsAndLongExponentsKeepTheirTrueValue)
{
    // Ten million digits with an exponent of ten million that brings them back.
    const std::string ones = "1" + std::string(10'000'000, '0');
    EXPECT_EQ(rt::textToDouble(ones + "e-10000000"), 1.0);
    EXPECT_EQ(rt::textToDouble("0." + std::string(10'000'000, '0') + "25e10000000"), 0.25);
    EXPECT_EQ(rt::textToDouble("1e-99999999999999999999 "), 0.0);
    EXPECT_EQ(rt::textToDouble("5e-324"), 5e-324);
    // A tie that only the last of many digits breaks.
    const std::string nearTie = "9007199254740993" + std::string(1000, '0') + "1e-1001";
    EXPECT_EQ(rt::textToDouble(nearTie), 9007199254740994.0);
    EXPECT_EQ(rt::textToDouble("9007199254740993"), 9007199254740992.0);
}

TEST(WrittenNumber, SaysWhereTheNumberEnds)
{
    const struct {
        const char* text;
        bool whole;
    } cases[] = {{"10", true},   {" 10 ", true}, {"1 0", true},    {"10KHz", false}, {"", false},    {"abc", false},
                 {"-", false},   {".", false},   {"1e", false},    {"1e5", true},    {"&H1A", true}, {"&H", false},
                 {"&O8", false}, {"5.", true},   {"1.2.3", false}, {"\t7\n", true},  {"10\r", false}};
    for (const auto& c : cases) {
        const rt::WrittenNumber n = rt::readWrittenNumber(c.text);
        EXPECT_EQ(n.isWholeText(c.text), c.whole) << '"' << c.text << '"';
    }
    const rt::WrittenNumber n = rt::readWrittenNumber(" -0012.3400e1 x");
    EXPECT_TRUE(n.negative);
    EXPECT_EQ(n.digits, "1234");
    EXPECT_EQ(n.exponent, -1); // -123.4
    EXPECT_EQ(n.end, 14u);
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

TEST(Rounding, HalvesGoToEvenOrAwayFromZero)
{
    const struct {
        double in, even, away;
    } cases[] = {{20.5, 20, 21},
                 {21.5, 22, 22},
                 {-20.5, -20, -21},
                 {-21.5, -22, -22},
                 {0.5, 0, 1},
                 {-0.5, -0, -1},
                 {2.4999999, 2, 2},
                 {2.5000001, 3, 3},
                 {-0.4, -0, -0},
                 {357914.5, 357914, 357915},
                 {0.49999999999999994, 0, 0},
                 {4503599627370495.5, 4503599627370496, 4503599627370496},
                 {2147483647.5, 2147483648, 2147483648},
                 {1e300, 1e300, 1e300}};
    for (const auto& c : cases) {
        EXPECT_EQ(rt::roundHalfToEven(c.in), c.even) << c.in;
        EXPECT_EQ(rt::roundHalfAwayFromZero(c.in), c.away) << c.in;
    }
    EXPECT_EQ(rt::roundHalfToEven(INFINITY), INFINITY);
}

TEST(TextToDoubleEdges, AgreesWithCorrectRoundingOnBothPaths)
{
    // Short numbers take the quick path, long ones the general reader; both
    // must give the correctly rounded double, which strtod gives in "C".
    for (const char* text : {"0.1", "0.3", "123456789012345.6", "9007199254740993", "1.5e22", "1.5e23", "4.35",
                             "0.000000000000000000001", "1234567890123456789", "12345678901234567890",
                             "2.2250738585072014e-308", "4.9e-324", "179769313486231570000000000000000000000e270",
                             "0.1000000000000000055511151231257827", "59999999.986", "357913.9413"}) {
        EXPECT_EQ(rt::textToDouble(text), std::strtod(text, nullptr)) << text;
    }
}

} // namespace

namespace {

TEST(BigInt, DigitsPowersAndTheirWidths)
{
    const struct {
        const char* digits;
        unsigned radix;
        const char* decimal;
    } cases[] = {
        {"", 10, "0"},
        {"0", 10, "0"},
        {"1000000000000000000000000000000", 10, "1000000000000000000000000000000"},
        {"FFFFFFFFFFFFFFFF", 16, "18446744073709551615"},
        {"ffffffffffffffffffffffffffffffff", 16, "340282366920938463463374607431768211455"},
        {"777", 8, "511"},
        {"123456789012345678901234567890123456789012345678901234567890", 10,
         "123456789012345678901234567890123456789012345678901234567890"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(rt::fromDigits(c.digits, c.radix).str(), c.decimal) << c.digits;
    EXPECT_THROW(rt::fromDigits("12A", 10), std::invalid_argument);
    EXPECT_THROW(rt::fromDigits("8", 8), std::invalid_argument);

    for (std::uint64_t e : {0u, 1u, 19u, 20u, 38u, 39u, 100u}) {
        const rt::BigInt p = rt::powerOfTen(e);
        EXPECT_EQ(p.str(), "1" + std::string(e, '0'));
        EXPECT_EQ(rt::powerOfTen128(e).has_value(), e <= 38) << e;
        EXPECT_EQ(rt::toUint128(p).has_value(), e <= 38) << e;
        EXPECT_EQ(rt::toUint64(p).has_value(), e <= 19) << e;
        if (e <= 38) {
            EXPECT_TRUE(*rt::powerOfTen128(e) == *rt::toUint128(p)) << e;
        }
    }
    const rt::UInt128 top = ~rt::UInt128(0);
    EXPECT_EQ(rt::fromUint128(top).str(), "340282366920938463463374607431768211455");
    EXPECT_TRUE(rt::toUint128(rt::fromUint128(top)) == top);
    EXPECT_FALSE(rt::toUint128(rt::fromUint128(top) + 1));
    EXPECT_FALSE(rt::toUint128(rt::BigInt(-1)));
    EXPECT_FALSE(rt::product128(top, 2));
    EXPECT_TRUE(rt::product128(top, 1) == top);
}

TEST(BigInt, RoundedQuotientTakesHalvesUp)
{
    const struct {
        int n, d, q;
    } cases[] = {{0, 7, 0}, {3, 7, 0}, {4, 7, 1}, {5, 2, 3}, {7, 2, 4}, {6, 4, 2}, {9, 4, 2}, {10, 4, 3}};
    for (const auto& c : cases)
        EXPECT_EQ(rt::roundedQuotient(c.n, c.d), c.q) << c.n << "/" << c.d;
}

} // namespace
