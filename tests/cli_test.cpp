// ad9851-word end to end: the built program, run through the shell.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct Outcome {
    std::string out;
    std::string err;
    int status = -1;
};

std::string quote(const std::string& s)
{
    std::string q = "'";
    for (char c : s) {
        if (c == '\'')
            q.append("'\\''");
        else
            q.push_back(c);
    }
    q.push_back('\'');
    return q;
}

std::string slurp(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

class Cli : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir_ = fs::temp_directory_path() / ("ad9851-cli-" + std::to_string(::getpid()));
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    // Runs ad9851-word with `args`; stdin from `input`, or from `stdinPath`.
    Outcome run(const std::vector<std::string>& args, const std::string& input = "",
                const std::string& stdinPath = "")
    {
        const fs::path in = dir_ / "in", out = dir_ / "out", err = dir_ / "err";
        std::ofstream(in, std::ios::binary) << input;
        std::string cmd = quote(AD9851_WORD);
        for (const auto& a : args)
            cmd.append(" ").append(quote(a));
        cmd.append(" <").append(quote(stdinPath.empty() ? in.string() : stdinPath));
        cmd.append(" >").append(quote(out.string()));
        cmd.append(" 2>").append(quote(err.string()));
        const int raw = std::system(cmd.c_str());
        Outcome r;
        r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        r.out = slurp(out);
        r.err = slurp(err);
        return r;
    }

    fs::path dir_;
};

TEST_F(Cli, StartUpExampleAndTheWorkedLines)
{
    const struct {
        std::vector<std::string> args;
        const char* out;
    } cases[] = {
        {{"10"}, "{0x1A,0x76,0x05,0x00},//10KHz\n"},
        {{"-m", "parallel", "10"}, "{0x00,0x05,0x76,0x1A},//10KHz\n"},
        {{"-m", "parallel", "-u", "MHz", "1"}, "{0x02,0x22,0x22,0x22},//1MHz\n"},
        {{"--unit=mhz", "--mode=Serial", "1"}, "{0x22,0x22,0x22,0x02},//1MHz\n"},
        {{"-uMHz", "-mparallel", "1"}, "{0x02,0x22,0x22,0x22},//1MHz\n"},
        {{"--crystal", "20.5", "10"}, "{0x1A,0x76,0x05,0x00},//10KHz\n"},
        {{"-c", "30", "-u", "Hz", "1", "2"},
         "{0x18,0x00,0x00,0x00},//1Hz\n{0x30,0x00,0x00,0x00},//2Hz\n"},
        {{"--", "-0.00001"}, "{0x00,0x00,0x00,0x00},//-0.00001KHz\n"},
        {{" 10 kHz"}, "{0x1A,0x76,0x05,0x00},// 10 kHzKHz\n"},
        {{"--details", "10"}, "{0x1A,0x76,0x05,0x00},//10KHz\t357914\t10000.002\t+0.002\t0.027940\n"},
        {{"--details", "-u", "MHz", "1"},
         "{0x22,0x22,0x22,0x02},//1MHz\t35791394\t999999.996\t-0.004\t0.027940\n"},
    };
    for (const auto& c : cases) {
        const Outcome r = run(c.args);
        EXPECT_EQ(r.out, c.out) << c.args.back();
        EXPECT_EQ(r.err, "") << c.args.back();
        EXPECT_EQ(r.status, 0) << c.args.back();
    }
}

TEST_F(Cli, FailingInputsGoToStderrAndTheRestStillRun)
{
    const Outcome r = run({"-u", "MHz", "1", "60", "1e999", "--", "-1", "2"});
    EXPECT_EQ(r.out, "{0x22,0x22,0x22,0x02},//1MHz\n{0x44,0x44,0x44,0x04},//2MHz\n");
    EXPECT_EQ(r.status, 1);
    std::istringstream lines(r.err);
    std::string l1, l2, l3, extra;
    std::getline(lines, l1);
    std::getline(lines, l2);
    std::getline(lines, l3);
    EXPECT_FALSE(std::getline(lines, extra));
    EXPECT_NE(l1.find("\"60\""), std::string::npos) << l1;
    EXPECT_NE(l1.find("too high: at most 59.999999986 MHz"), std::string::npos) << l1;
    EXPECT_NE(l2.find("\"1e999\""), std::string::npos) << l2;
    EXPECT_NE(l2.find("too large a number"), std::string::npos) << l2;
    EXPECT_NE(l3.find("\"-1\""), std::string::npos) << l3;
    EXPECT_NE(l3.find("must not be negative"), std::string::npos) << l3;
}

TEST_F(Cli, BadCrystalIsReportedOnce)
{
    for (const char* crystal : {"0", "", "0.4", "5462", "40000", "-5462", "abc", "-5"}) {
        const Outcome r = run({"-c", crystal, "10", "20"});
        EXPECT_EQ(r.out, "") << crystal;
        EXPECT_EQ(r.status, 1) << crystal;
        EXPECT_NE(r.err.find("1 to 5461 MHz"), std::string::npos) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    }
    EXPECT_EQ(run({"-c", "5461", "10"}).status, 0);
    // A negative crystal fails whatever the frequency, and is said once.
    const Outcome negative = run({"-c", "-5", "--", "-10"});
    EXPECT_EQ(negative.out, "");
    EXPECT_EQ(negative.status, 1);
    EXPECT_NE(negative.err.find("crystal"), std::string::npos) << negative.err;
    std::string thousand;
    for (int i = 1; i <= 1000; ++i)
        thousand += std::to_string(i) + "\n";
    const Outcome many = run({"-c", "-5"}, thousand);
    EXPECT_EQ(many.out, "");
    EXPECT_EQ(std::count(many.err.begin(), many.err.end(), '\n'), 1) << many.err;
}

TEST_F(Cli, TooHighNamesTheTrueLimit)
{
    const Outcome r = run({"-u", "Hz", "59999999.987", "59999999.986"});
    EXPECT_EQ(r.out, "{0xFF,0xFF,0xFF,0x7F},//59999999.986Hz\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("at most 59999999.986 Hz"), std::string::npos) << r.err;
}

TEST_F(Cli, ReadsFrequenciesFromStandardInput)
{
    const Outcome r = run({"-u", "Hz"}, "10\r\n20\n\n 30 \n40");
    EXPECT_EQ(r.out, "{0x66,0x01,0x00,0x00},//10Hz\n"
                     "{0xCC,0x02,0x00,0x00},//20Hz\n"
                     "{0x00,0x00,0x00,0x00},//Hz\n"
                     "{0x32,0x04,0x00,0x00},// 30 Hz\n"
                     "{0x98,0x05,0x00,0x00},//40Hz\n");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(run({}, "").out, "");
    EXPECT_EQ(run({}, "").status, 0);
}

TEST_F(Cli, ManyLinesKeepTheirOrderAcrossReadBlocks)
{
    std::string input, expected;
    for (int i = 0; i < 30000; ++i) {
        input += std::to_string(i % 3) + "\n";
        expected += i % 3 == 0   ? "{0x00,0x00,0x00,0x00},//0KHz\n"
                    : i % 3 == 1 ? "{0xCF,0x8B,0x00,0x00},//1KHz\n"
                                 : "{0x9F,0x17,0x01,0x00},//2KHz\n";
    }
    // one very long line straddles several read blocks
    input += std::string(200000, '0') + "1\n";
    expected += "{0xCF,0x8B,0x00,0x00},//" + std::string(200000, '0') + "1KHz\n";
    const Outcome r = run({}, input);
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(r.out == expected) << "output differs; sizes " << r.out.size() << " vs "
                                   << expected.size();
}

TEST_F(Cli, UsageErrorsExitTwo)
{
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{"-x"}, {"--unit", "GHz", "1"}, {"-m", "diagonal", "1"},
                                               {"-c"}, {"--bogus=1"}, {"--c-array", "2x", "1"},
                                               {"--csv", "--c-array", "t", "1"}, {"--sweep", "1:2:0"},
                                               {"--sweep", "2:1:1"}, {"--sweep", "0:10000000:1"},
                                               {"--sweep", "1:2"}, {"--sweep", "1:2:0.5", "3"},
                                               {"--chip", "ad9852", "1"}, {"--phase", "east", "1"},
                                               {"--decode", "--csv", "1"}}) {
        const Outcome r = run(args);
        SCOPED_TRACE(args.front() + (args.size() > 1 ? " " + args[1] : ""));
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.out, "");
        // One line saying what is wrong, one saying where to look.
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 2) << r.err;
        EXPECT_TRUE(r.err.starts_with("ad9851-word: ")) << r.err;
        EXPECT_TRUE(r.err.ends_with("\nTry 'ad9851-word --help' for more information.\n")) << r.err;
    }
}

TEST_F(Cli, HelpAndVersion)
{
    const Outcome help = run({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("Usage: ad9851-word"), std::string::npos);
    const Outcome version = run({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "ad9851-word " + std::string(AD9851_VERSION_TEXT) + "\n");
    EXPECT_EQ(std::string(AD9851_VERSION_TEXT), "1.0.0.0");
}

TEST_F(Cli, TerminalInputWithoutFrequenciesShowsUsage)
{
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    ASSERT_EQ(::grantpt(master), 0);
    ASSERT_EQ(::unlockpt(master), 0);
    const std::string slave = ::ptsname(master);
    const Outcome r = run({}, "", slave);
    ::close(master);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("standard input is a terminal"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("ad9851-word --help"), std::string::npos) << r.err;
}

} // namespace
