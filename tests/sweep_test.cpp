// The sweep of --sweep: counted in exact decimals.

#include "cli/sweep.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace {

TEST(Sweep, CountsInExactDecimals)
{
    const struct {
        const char* range;
        std::vector<std::string> texts;
    } cases[] = {
        {"1:2:0.5", {"1", "1.5", "2"}},
        {"1:2:0.3", {"1", "1.3", "1.6", "1.9"}}, // cannot land on STOP
        {"2:1:-0.25", {"2", "1.75", "1.5", "1.25", "1"}},
        {"-0.1:0.1:0.1", {"-0.1", "0", "0.1"}},
        {"5:5:1", {"5"}},
        {"+1.50:2.5:1", {"1.5", "2.5"}},
    };
    for (const auto& c : cases) {
        const cli::Sweep sweep(c.range);
        std::vector<std::string> texts;
        for (std::uint64_t i = 0; i < sweep.size(); ++i)
            texts.push_back(sweep.text(i));
        EXPECT_EQ(texts, c.texts) << c.range;
    }
    const cli::Sweep tenths("0:1:0.1");
    ASSERT_EQ(tenths.size(), 11u);
    EXPECT_EQ(tenths.text(10), "1"); // no drift
    EXPECT_EQ(tenths.text(3), "0.3");
    EXPECT_EQ(cli::Sweep("0:9999999:1").size(), 10'000'000u);
    for (const char* bad : {"1:2:0", "2:1:1", "1:2:-1", "0:10000000:1", "1:2", "1:2:3:4", "a:2:1", "1::1", "1e3:2:1",
                            "0:1:0.0000000000000000001", "0:99999999999999999999:1"})
        EXPECT_THROW(cli::Sweep{bad}, std::invalid_argument) << bad;
}

} // namespace
