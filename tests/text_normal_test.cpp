// Number texts pasted from web pages and typed with Chinese input methods.

#include "runtime/number.h"
#include "runtime/text_normal.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(PlainNumberText, SpacesAndFullWidthFormsBecomeAscii)
{
    const struct {
        const char* text;
        const char* plain;
    } cases[] = {
        {"\u200b10", " 10"},                  // zero-width space, as web pages copy
        {"\u00a010", " 10"},                  // no-break space
        {"\u300010\u3000", " 10 "},           // ideographic space
        {"\ufeff10", " 10"},                  // byte-order mark
        {"1\u202f000", "1 000"},              // narrow no-break space as a thousands gap
        {"\uff11\uff10", "10"},               // full-width digits
        {"\uff0d\uff12\uff0e\uff15", "-2.5"}, // full-width sign and point
        {"\uff0b\uff11\uff45\uff13", "+1e3"}, // full-width plus and exponent
        {"10\uff2b\uff28\uff5a", "10KHz"},    // full-width letters
        {"10兆", "10兆"},                     // other characters stay
        {"\xff\xfe"
         "1\xe2\x80",
         "\xff\xfe"
         "1\xe2\x80"},                    // invalid UTF-8 stays byte for byte
        {"\xed\xa0\x80", "\xed\xa0\x80"}, // an encoded surrogate is not a character
        {"\xe3\x80", "\xe3\x80"},         // a cut sequence
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(rt::plainNumberText(c.text), c.plain) << c.text;
}

TEST(PlainNumberText, ReadsAsTheNumberItShows)
{
    const struct {
        const char* text;
        double value;
    } cases[] = {
        {"\u200b10", 10},     {"\u00a010", 10},     {"\u300010", 10}, {"\uff11\uff10", 10}, {"\uff12\uff10", 20},
        {"1\u3000000", 1000}, {"\uff0d\uff13", -3}, {"\u3000", 0},    {"\uff41\uff42", 0}, // no digit: zero, as for any
                                                                                           // such text
    };
    for (const auto& c : cases)
        EXPECT_EQ(rt::textToDouble(rt::plainNumberText(c.text)), c.value) << c.text;
}

} // namespace
