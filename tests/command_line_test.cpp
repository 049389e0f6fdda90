// The window program's command line: help, version and refused arguments.

#include "form/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Args = std::vector<std::string>;

TEST(WindowCommandLine, HelpAndVersionNeedNoWindow)
{
    const struct {
        Args args;
        const char* starts;
    } cases[] = {
        {{"--version"}, "ad9851-calc " AD9851_VERSION_TEXT "\n"},
        {{"-h"}, "Usage: ad9851-calc [--help] [--version]"},
        {{"--bogus", "--help"}, "Usage: ad9851-calc"}, // help wins over a mistake
        {{"--version", "--help"}, "ad9851-calc "},     // the first wins
        {{"-platform", "offscreen", "--help"}, "Usage: ad9851-calc"},
    };
    for (const auto& c : cases) {
        const auto reply = form::helpOrVersion(c.args, true);
        ASSERT_TRUE(reply) << c.args.front();
        EXPECT_EQ(reply->status, 0);
        EXPECT_EQ(reply->out.rfind(c.starts, 0), 0u) << reply->out;
        EXPECT_TRUE(reply->err.empty());
    }
    for (const Args& none : {Args{}, Args{"-platform", "offscreen"}, Args{"--", "--help"}, Args{"--helpx"}})
        EXPECT_FALSE(form::helpOrVersion(none, true));
    // The help mentions the toolkit's options only where there are some.
    EXPECT_NE(form::helpOrVersion({"--help"}, true)->out.find("[Qt options]"), std::string::npos);
    EXPECT_EQ(form::helpOrVersion({"--help"}, false)->out.find("Qt"), std::string::npos);
}

TEST(WindowCommandLine, LeftoverArgumentsAreRefusedOnOneLine)
{
    const struct {
        Args args;
        const char* message;
    } cases[] = {
        {{"--bogus"}, "ad9851-calc: unknown option '--bogus' (see ad9851-calc --help)\n"},
        {{"-x", "--bogus"}, "ad9851-calc: unknown option '-x' (see ad9851-calc --help)\n"},
        {{"10"}, "ad9851-calc: unexpected argument '10' (see ad9851-calc --help)\n"},
        {{"-"}, "ad9851-calc: unexpected argument '-' (see ad9851-calc --help)\n"},
        {{"\x1b]0;x\a"}, "ad9851-calc: unexpected argument '\\x1B]0;x\\x07' (see ad9851-calc --help)\n"},
    };
    for (const auto& c : cases) {
        const auto reply = form::refuseArguments(c.args);
        ASSERT_TRUE(reply);
        EXPECT_EQ(reply->status, 2);
        EXPECT_TRUE(reply->out.empty());
        EXPECT_EQ(reply->err, c.message);
    }
    EXPECT_FALSE(form::refuseArguments({}));
}

} // namespace
