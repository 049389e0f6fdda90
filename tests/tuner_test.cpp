// The 40-bit load in both orders, as the command line makes it.

#include "calc/tuner.h"
#include "tests/calc_test_support.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

using calc::test::lineOf;
using calc::test::settings;

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

} // namespace
