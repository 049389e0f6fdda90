// Fixed-point decimals and byte literals.

#include "calc/text_format.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

TEST(TextFormat, FixedPointDecimals)
{
    const struct {
        std::uint64_t units;
        std::size_t decimals;
        const char* fixed;
        const char* trimmed;
    } cases[] = {
        {1234, 3, "1.234", "1.234"},
        {1230, 3, "1.230", "1.23"},
        {1000, 3, "1.000", "1"},
        {0, 3, "0.000", "0"},
        {5, 6, "0.000005", "0.000005"},
        {59999999986, 3, "59999999.986", "59999999.986"},
        {59999999986, 9, "59.999999986", "59.999999986"},
        {18446744073709551615u, 0, "18446744073709551615.", "18446744073709551615"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(calc::fixedPoint(c.units, c.decimals), c.fixed) << c.units;
        EXPECT_EQ(calc::trimmedFixedPoint(c.units, c.decimals), c.trimmed) << c.units;
    }
    EXPECT_EQ(calc::formatHz(10000002), "10000.002");
    EXPECT_EQ(calc::formatStepHz(27940), "0.027940");
}

TEST(TextFormat, DeviationsCarryTheirSign)
{
    const struct {
        double hz;
        const char* text;
    } cases[] = {{0.002, "+0.002"},   {0.0, "+0.000"},  {-0.004, "-0.004"},
                 {-0.0006, "-0.001"}, {1234.5678, "+1234.568"},
                 // Nothing that shows as zero has a minus sign.
                 {-0.0004, "+0.000"}, {-0.0, "+0.000"}, {-1e-300, "+0.000"}, {0.0004, "+0.000"}};
    for (const auto& c : cases)
        EXPECT_EQ(calc::formatDeviationHz(c.hz), c.text) << c.hz;
}

TEST(TextFormat, ByteLiterals)
{
    std::string out = "x";
    const std::uint8_t four[] = {0x1A, 0x76, 0x05, 0x00};
    calc::appendByteList(out, four);
    EXPECT_EQ(out, "x{0x1A,0x76,0x05,0x00}");
    out.clear();
    calc::appendByteLiterals(out, four, ' ');
    EXPECT_EQ(out, "0x1A 0x76 0x05 0x00");
    out.clear();
    calc::appendByteList(out, {});
    EXPECT_EQ(out, "{}");
    // More bytes than a load holds still come out whole.
    const std::vector<std::uint8_t> many(12, 0xAB);
    out.clear();
    calc::appendByteList(out, many);
    EXPECT_EQ(out.size(), 2 + 12 * 5 - 1);
    EXPECT_TRUE(out.ends_with(",0xAB}"));
}

} // namespace
