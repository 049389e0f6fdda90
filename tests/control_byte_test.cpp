// The control byte W0: its bits and the phase steps.

#include "calc/control_byte.h"
#include "calc/errors.h"
#include "tests/calc_test_support.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using calc::Problem;
using calc::test::problemOf;

TEST(ControlByte, EveryBitInItsPlace)
{
    EXPECT_EQ((calc::ControlByte{}.value()), 0x00);
    EXPECT_EQ((calc::ControlByte{0, false, true}.value()), 0x01);   // D0 multiplier
    EXPECT_EQ((calc::ControlByte{0, true, false}.value()), 0x04);   // D2 power-down
    EXPECT_EQ((calc::ControlByte{1, false, false}.value()), 0x08);  // D3 11.25 degrees
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
        {"0", 0},
        {"11.25", 1},
        {"5.625", 1},
        {"5.624999", 0},
        {"16.875", 2},
        {"180", 16},
        {"348.75", 31},
        {"354.375", 0},
        {"360", 0},
        {"371.25", 1},
        {"-5.625", 0},
        {"-5.626", 31},
        {"-11.25", 31},
        {"-16.875", 31},
        {"-16.876", 30},
        {"-360", 0},
        {"-720.1", 0},
        {"720000000000000000011.25", 1},
        {"5.62499999999999999999999", 0},
        {"-5.62500000000000000000001", 31},
        {" 90 ", 8},
        {"&H5A", 8},
        {"1e1", 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(calc::phaseStepsFromDegrees(c.degrees), c.steps) << c.degrees;
    for (const char* bad : {"", "east", "10deg", "1e40"})
        EXPECT_EQ(problemOf([&] { calc::phaseStepsFromDegrees(bad); }), Problem::InvalidSetting) << bad;
}

} // namespace
