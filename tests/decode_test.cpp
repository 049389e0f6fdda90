// Decoding words back to their frequencies.

#include "calc/decode.h"
#include "calc/errors.h"
#include "calc/tuner.h"
#include "tests/calc_test_support.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using calc::Problem;
using calc::test::lineOf;
using calc::test::problemOf;
using calc::test::settings;

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
         "word=238609294\tfrequency_hz=6666666.660\tphase_deg=11.25\tpower_down=0\tmultiplier=1\tbyte_order=parallel"},
        {"{0x8E,0xE3,0x38,0x0E,0x09},//10MHz", calc::Serial,
         "word=238609294\tfrequency_hz=6666666.660\tphase_deg=11.25\tpower_down=0\tmultiplier=1\tbyte_order=serial"},
        {"{0x84,0x0E,0x38,0xE3,0x8E}", calc::Parallel,
         "word=238609294\tfrequency_hz=1111111.110\tphase_deg=180\tpower_down=1\tmultiplier=0\tbyte_order=parallel"},
    };
    for (const auto& c : cases) {
        const calc::DecodedWord d = calc::decodeWord(c.text, c.mode);
        EXPECT_EQ(calc::describeWord(d, calc::ClockOptions{}), c.described) << c.text;
    }
    for (const char* bad :
         {"{0x1A,0x76,0x05}", "{0x1A,0x76,0x05,0x00,0x01,0x02}", "{0x1A,0x76,0x05,0x100}", "{0x1A,0x76,0x05,0x00",
          "{0x1A,0x76,0x05,0x00} x", "{1A,0x76,0x05,0x00}", "{0x80,0x00,0x00,0x00}", "2147483648", "0x80000000", "abc",
          "", "10KHz", "-1", "{0x0A,0x0E,0x38,0xE3,0x8E}"})
        EXPECT_EQ(problemOf([&] { calc::decodeWord(bad, calc::Parallel); }), Problem::InvalidWord) << bad;
    // The AD9850 has no multiplier bit to set.
    calc::ClockOptions ad9850;
    ad9850.chip = calc::Chip::AD9850;
    const calc::DecodedWord withMultiplier = calc::decodeWord("{0x01,0x00,0x00,0x00,0x01}", calc::Parallel);
    EXPECT_EQ(problemOf([&] { calc::describeWord(withMultiplier, ad9850); }), Problem::InvalidWord);
}

TEST(Decode, ALoadValidOnlyInTheOtherOrderSaysSo)
{
    const struct {
        const char* text;
        std::int16_t mode;
        const char* message;
    } cases[] = {
        {"{0x09,0x0E,0x38,0xE3,0x8E}", calc::Serial,
         "in serial order (W4 first) W0 has D1 set, which enters the factory test mode; in parallel order (W0 "
         "first) it is a valid load"},
        {"{0x8E,0xE3,0x38,0x0E,0x09}", calc::Parallel,
         "in parallel order (W0 first) W0 has D1 set, which enters the factory test mode; in serial order (W4 "
         "first) it is a valid load"},
        // Invalid both ways: said in the order asked for.
        {"{0x8A,0x0E,0x38,0xE3,0x8E}", calc::Parallel,
         "in parallel order (W0 first) W0 has D1 set, which enters the factory test mode"},
    };
    for (const auto& c : cases) {
        try {
            calc::decodeWord(c.text, c.mode);
            ADD_FAILURE() << c.text;
        } catch (const calc::CalcError& e) {
            EXPECT_EQ(std::string(e.what()), c.message);
            EXPECT_EQ(e.problem(), Problem::InvalidWord);
        }
    }
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
