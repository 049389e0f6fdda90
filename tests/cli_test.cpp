// ad9851-word end to end: the built program, run through the shell.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr const char* decodeTakes =
    "--decode reads words; it takes only --mode, -c, --ref-hz, --ppm, --no-multiplier and --chip";
constexpr const char* spectrumTakes =
    "--spectrum shows what the chip puts out; it takes no --decode, --sweep, "
    "--c-array, --details, --load, --phase, --power-down, --mode or --emit";
constexpr const char* svgTakes = "--svg plots one FREQUENCY given on the command line, without --csv";
constexpr const char* spectrumOptions =
    "--images, --harmonics, --harmonic-dbc and --filter belong to --spectrum and --plan";
constexpr const char* filterForms =
    "--filter takes butterworth:ORDER:CUTOFF_HZ, chebyshev:ORDER:CUTOFF_HZ:RIPPLE_DB "
    "or elliptic:ORDER:CUTOFF_HZ:RIPPLE_DB:STOPBAND_DB";

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

// The program under test: the one built beside these tests, or another
// named by AD9851_WORD (the Windows .exe through Wine).
std::string program()
{
    const char* other = std::getenv("AD9851_WORD");
    return other && *other ? other : AD9851_WORD;
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
    Outcome run(const std::vector<std::string>& args, const std::string& input = "", const std::string& stdinPath = "")
    {
        const fs::path in = dir_ / "in", out = dir_ / "out", err = dir_ / "err";
        std::ofstream(in, std::ios::binary) << input;
        std::string cmd = quote(program());
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

    // Runs a shell command in which $W stands for ad9851-word; stdout and
    // stderr as the command leaves them.
    Outcome shell(const std::string& command)
    {
        const fs::path out = dir_ / "out", err = dir_ / "err";
        const std::string cmd =
            "W=" + quote(program()) + "; { " + command + " ; } >" + quote(out.string()) + " 2>" + quote(err.string());
        const int raw = std::system(("bash -c " + quote(cmd)).c_str());
        Outcome r;
        r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        r.out = slurp(out);
        r.err = slurp(err);
        return r;
    }

    fs::path dir_;
};

std::size_t lineCount(const std::string& text) { return std::size_t(std::count(text.begin(), text.end(), '\n')); }

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
        {{"-c", "30", "-u", "Hz", "1", "2"}, "{0x18,0x00,0x00,0x00},//1Hz\n{0x30,0x00,0x00,0x00},//2Hz\n"},
        {{"--", "-0.00001"}, "{0x00,0x00,0x00,0x00},//-0.00001KHz\n"},
        {{" 10 kHz"}, "{0x1A,0x76,0x05,0x00},// 10 kHzKHz\n"},
        {{"--details", "10"}, "{0x1A,0x76,0x05,0x00},//10KHz\t357914\t10000.002\t+0.002\t0.027940\n"},
        {{"--details", "-u", "MHz", "1"}, "{0x22,0x22,0x22,0x02},//1MHz\t35791394\t999999.996\t-0.004\t0.027940\n"},
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
    EXPECT_EQ(r.out,
              "{0x66,0x01,0x00,0x00},//10Hz\n"
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
    EXPECT_TRUE(r.out == expected) << "output differs; sizes " << r.out.size() << " vs " << expected.size();
}

TEST_F(Cli, UsageErrorsExitTwo)
{
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{"-x"},
                                               {"--unit", "GHz", "1"},
                                               {"-m", "diagonal", "1"},
                                               {"-c"},
                                               {"--bogus=1"},
                                               {"--c-array", "2x", "1"},
                                               {"--csv", "--c-array", "t", "1"},
                                               {"--sweep", "1:2:0"},
                                               {"--sweep", "2:1:1"},
                                               {"--sweep", "0:10000000:1"},
                                               {"--sweep", "1:2"},
                                               {"--sweep", "1:2:0.5", "3"},
                                               {"--chip", "ad9852", "1"},
                                               {"--phase", "east", "1"},
                                               {"--decode", "--csv", "1"},
                                               {"--spectrum", "--images", "0", "1"},
                                               {"--filter", "butterworth:3:1e6", "1"},
                                               {"--spectrum", "--sweep", "1:2:1"}}) {
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

TEST_F(Cli, SpectrumSvgIsThePlotOfTheOneFrequency)
{
    const Outcome r = run({"-c", "30", "-u", "MHz", "--spectrum", "--svg", "70"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(r.out.starts_with("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg ")) << r.out.substr(0, 80);
    EXPECT_TRUE(r.out.ends_with("</svg>\n"));
    EXPECT_NE(r.out.find(">输出 70000000.019 Hz · 时钟 180 MHz · 频率字 0x638E38E4</text>"), std::string::npos);
    EXPECT_EQ(r.out.find("\t"), std::string::npos); // no component lines
    // The warnings stay on standard error.
    EXPECT_NE(r.err.find("image -1 at 109999999.981 Hz is only 3.93 dB below the output"), std::string::npos) << r.err;

    // A filter adds its response; a frequency the chip cannot make writes nothing.
    const Outcome filtered =
        run({"-c", "30", "-u", "MHz", "--spectrum", "--filter", "butterworth:7:70e6", "--svg", "70"});
    EXPECT_EQ(filtered.status, 0) << filtered.err;
    EXPECT_NE(filtered.out.find("滤波器响应"), std::string::npos);
    EXPECT_EQ(r.out.find("滤波器响应"), std::string::npos);
    const Outcome tooHigh = run({"-c", "30", "-u", "MHz", "--spectrum", "--svg", "95"});
    EXPECT_NE(tooHigh.status, 0);
    EXPECT_EQ(tooHigh.out, "");
}

TEST_F(Cli, UsageErrorsSayWhatIsWrongFirst)
{
    // The shape of the command line is reported before any value, and
    // --help or --version before any value too; values in a fixed order.
    const struct {
        std::vector<std::string> args;
        const char* message;
    } cases[] = {
        {{"--unit", "GHz", "1"}, "unknown unit 'GHz' (use Hz, KHz or MHz)"},
        {{"-u", "", "1"}, "unknown unit '' (use Hz, KHz or MHz)"},
        {{"-u", "2", "1"}, "unknown unit '2' (use Hz, KHz or MHz)"},
        {{"-m", "1", "1"}, "unknown mode '1' (use serial or parallel)"},
        {{"--chip", "1", "1"}, "unknown chip '1' (use ad9851 or ad9850)"},
        {{"-u"}, "--unit needs a value"},
        {{"10", "--sweep"}, "--sweep needs a value"},
        {{"-u", "GHz", "-x"}, "unknown option '-x'"},
        {{"-u", "GHz", "-x", "-y"}, "unknown option '-x'"},
        {{"--bogus=1", "-u", "GHz"}, "unknown option '--bogus'"},
        {{"-u", "Hz", "-u", "GHz"}, "unknown unit 'GHz' (use Hz, KHz or MHz)"},
        {{"-u", "GHz", "-u", "Hz"}, "unknown unit 'GHz' (use Hz, KHz or MHz)"},
        {{"-u", "GHz", "--csv=x"}, "--csv takes no value ('x')"},
        {{"--chip", "x", "-m", "diag", "-u", "GHz"}, "unknown unit 'GHz' (use Hz, KHz or MHz)"},
        {{"--c-array", "1x", "--chip", "x"}, "unknown chip 'x' (use ad9851 or ad9850)"},
        {{"--c-array", "1x", "--csv"}, "--c-array: '1x' is not a C identifier"},
        {{"--decode", "--load", "--csv", "--c-array", "t"}, "--csv and --c-array cannot be used together"},
        {{"--decode", "--sweep", "1:2:1", "5"}, "--sweep and FREQUENCY arguments cannot be used together"},
        {{"--decode", "--phase", "east", "1"}, decodeTakes},
        {{"--phase", "east", "1"}, "--phase: phase \"east\" is not a number"},
        {{"-c", "0", "--ref-hz", "30e6", "10"}, "-c and --ref-hz cannot be used together"},
        {{"--ref-hz", "30e6", "--crystal=30", "10"}, "-c and --ref-hz cannot be used together"},
        {{"--decode", "--strict", "357914"}, decodeTakes},
        {{"--decode", "--truncate", "357914"}, decodeTakes},
        {{"--decode", "-u", "Hz", "357914"}, decodeTakes},
        // The spectrum's settings belong to it, and it takes no word's form.
        {{"--images", "3", "10"}, spectrumOptions},
        {{"--harmonics=3", "10"}, spectrumOptions},
        {{"--harmonic-dbc", "-60", "10"}, spectrumOptions},
        {{"--filter", "butterworth:7:70e6", "10"}, spectrumOptions},
        {{"--spectrum", "--decode", "10"}, spectrumTakes},
        {{"--spectrum", "--sweep", "1:2:1"}, spectrumTakes},
        {{"--spectrum", "--emit", "c", "10"}, spectrumTakes},
        {{"--spectrum", "--c-array", "t", "10"}, spectrumTakes},
        {{"--spectrum", "--details", "10"}, spectrumTakes},
        {{"--spectrum", "--load", "10"}, spectrumTakes},
        {{"--spectrum", "-m", "parallel", "10"}, spectrumTakes},
        // The plot: of one frequency, with --spectrum.
        {{"--svg", "70"}, "--svg belongs to --spectrum"},
        {{"--spectrum", "--svg", "70", "10"}, svgTakes},
        {{"--spectrum", "--svg"}, svgTakes},
        {{"--spectrum", "--svg", "--csv", "70"}, svgTakes},
        // Their values, each named.
        {{"--spectrum", "--images", "0", "10"}, "--images \"0\": the number of images must be from 1 to 100"},
        {{"--spectrum", "--images", "1e40", "10"}, "--images \"1e40\": the number of images must be from 1 to 100"},
        {{"--spectrum", "--images", "2.5", "10"}, "--images \"2.5\" is not a whole number"},
        {{"--spectrum", "--harmonics", "101", "10"},
         "--harmonics \"101\": the highest harmonic (1: none) must be from 1 to 100"},
        {{"--spectrum", "--harmonic-dbc", "3", "10"},
         "--harmonic-dbc \"3\": the harmonic level must be a number of dBc, 0 or below"},
        {{"--spectrum", "--harmonic-dbc", "-50dB", "10"}, "--harmonic-dbc \"-50dB\" is not a number"},
        {{"--spectrum", "--filter", "bessel:5:70e6", "10"},
         "--filter: unknown filter 'bessel' (use butterworth, chebyshev or elliptic)"},
        {{"--spectrum", "--filter", "elliptic:5:70e6:0.5", "10"}, filterForms},
        {{"--spectrum", "--filter", "chebyshev:5:70e6:0.5:60", "10"}, filterForms},
        {{"--spectrum", "--filter", "elliptic:5:70e6:11:60", "10"},
         "--filter: ripple \"11\": the filter ripple must be above 0 and at most 10 dB"},
        {{"--spectrum", "--filter", "elliptic:5:70e6:0.5:0.5", "10"},
         "--filter: stop band \"0.5\": the filter stop-band attenuation must be above the ripple and at most 200 dB"},
        {{"--spectrum", "--filter", "elliptic:5:70e6:0.5:60dB", "10"}, "--filter: stop band \"60dB\" is not a number"},
        // Order 20 passes alone; with 30 dB its stop band would begin
        // 1.0000001 times the cutoff.
        {{"--spectrum", "--filter", "elliptic:20:70e6:1:30", "10"},
         "--filter: stop band \"30\": the elliptic filter's stop band would begin less than 0.1 % above its cutoff: "
         "lower the order or raise the stop-band attenuation"},
        {{"--spectrum", "--filter", "butterworth:7", "10"}, filterForms},
        {{"--spectrum", "--filter", "chebyshev:7:70e6", "10"}, filterForms},
        {{"--spectrum", "--filter", "butterworth:7:70e6:1", "10"}, filterForms},
        {{"--spectrum", "--filter", "butterworth:21:70e6", "10"},
         "--filter: order \"21\": the filter order must be from 1 to 20"},
        {{"--spectrum", "--filter", "butterworth:x:70e6", "10"}, "--filter: order \"x\" is not a number"},
        {{"--spectrum", "--filter", "butterworth:7:0", "10"},
         "--filter: cutoff \"0\": the filter cutoff must be a number of Hz above 0"},
        {{"--spectrum", "--filter", "chebyshev:7:70e6:0", "10"},
         "--filter: ripple \"0\": the filter ripple must be above 0 and at most 10 dB"},
    };
    for (const auto& c : cases) {
        const Outcome r = run(c.args);
        SCOPED_TRACE(c.args.front() + " ... " + c.args.back());
        EXPECT_EQ(r.err,
                  "ad9851-word: " + std::string(c.message) + "\nTry 'ad9851-word --help' for more information.\n");
        EXPECT_EQ(r.status, 2);
    }
    // A flag set to false conflicts with nothing.
    EXPECT_EQ(run({"--csv=0", "--c-array", "t", "1"}).status, 0);
    EXPECT_EQ(run({"--decode", "--details=false", "357914"}).status, 0);
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"--help", "-u", "GHz"}, {"-u", "GHz", "-h"}, {"--version", "--chip", "x"}}) {
        const Outcome r = run(args);
        EXPECT_EQ(r.status, 0) << args.front();
        EXPECT_EQ(r.err, "") << args.front();
    }
}

TEST_F(Cli, RangeMessagesGiveTheRangeAndTheDirection)
{
    const struct {
        std::vector<std::string> args;
        const char* err;
        int status;
    } cases[] = {
        {{"--ref-hz", "30e6", "--ppm", "-1e6", "10"},
         "ppm \"-1e6\" is too small: it must be more than -1000000 and less than 1000000",
         1},
        {{"--ref-hz", "30e6", "--ppm", "1e6", "10"},
         "ppm \"1e6\" is too large: it must be more than -1000000 and less than 1000000",
         1},
        {{"--ref-hz", "1e12", "10"},
         "reference \"1e12\" is too large: it must be more than 0 and less than 1000000000000 Hz",
         1},
        {{"--phase", "1e30", "10"},
         "--phase: phase \"1e30\" is too large: it must be more than -1e30 and less than 1e30 degrees",
         2},
        {{"--phase=-1e31", "10"},
         "--phase: phase \"-1e31\" is too small: it must be more than -1e30 and less than 1e30 degrees",
         2},
        {{"--sweep", "1:2:0.0000000000000000001"},
         "--sweep: \"0.0000000000000000001\" has more than 18 decimal places",
         2},
        {{"--sweep", "1:99999999999999999999:1"},
         "--sweep: \"99999999999999999999\" is too large: at most 9223372036854775807",
         2},
        {{"--sweep", "1:9999999999999999:0.001"},
         "--sweep: \"9999999999999999\" is too large: at most 9223372036854775.807 with 3 decimal places",
         2},
        {{"--sweep", "-99999999999999999999:1:1"},
         "--sweep: \"-99999999999999999999\" is too small: at least -9223372036854775807",
         2},
        {{"--decode", "18446744073709551616"},
         "\"18446744073709551616\": the word is 2^31 or more, which no frequency below half the clock gives",
         1},
        {{"--decode", "0x10000000000000000"},
         "\"0x10000000000000000\": the word is 2^31 or more, which no frequency below half the clock gives",
         1},
    };
    for (const auto& c : cases) {
        const Outcome r = run(c.args);
        SCOPED_TRACE(c.args.front() + " " + c.args[1]);
        EXPECT_EQ(r.err, "ad9851-word: " + std::string(c.err) +
                             (c.status == 2 ? "\nTry 'ad9851-word --help' for more information.\n" : "\n"));
        EXPECT_EQ(r.status, c.status);
    }
}

TEST_F(Cli, TheLastOfARepeatedOptionWins)
{
    const struct {
        std::vector<std::string> repeated, last;
    } cases[] = {
        {{"-c", "20", "-c", "30", "10"}, {"-c", "30", "10"}},
        {{"-u", "MHz", "-u", "Hz", "10"}, {"-u", "Hz", "10"}},
        {{"-m", "parallel", "--mode=serial", "10"}, {"-m", "serial", "10"}},
        {{"--sweep", "1:9:1", "--sweep", "1:2:1"}, {"--sweep", "1:2:1"}},
        {{"--phase", "90", "--phase", "45", "10"}, {"--phase", "45", "10"}},
        {{"--ref-hz", "1e6", "--ref-hz", "25e6", "10"}, {"--ref-hz", "25e6", "10"}},
        {{"--ref-hz", "25e6", "--ppm", "5", "--ppm", "-3", "10"}, {"--ref-hz", "25e6", "--ppm", "-3", "10"}},
        {{"--chip", "ad9850", "--chip", "ad9851", "10"}, {"--chip", "ad9851", "10"}},
        {{"--c-array", "a", "--c-array", "b", "10"}, {"--c-array", "b", "10"}},
        {{"--emit", "c", "--emit", "arduino", "--name", "x", "--name", "vfo", "--pins", "W_CLK=2", "--pins", "W_CLK=3",
          "10"},
         {"--emit", "arduino", "--name", "vfo", "--pins", "W_CLK=3", "10"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.repeated.front() + " " + c.repeated[1]);
        const Outcome repeated = run(c.repeated), last = run(c.last);
        EXPECT_EQ(repeated.status, 0) << repeated.err;
        EXPECT_EQ(repeated.out, last.out);
        EXPECT_EQ(repeated.err, last.err);
    }
}

TEST_F(Cli, FilesAndPipesGetUtf8Bytes)
{
    // A console shows the text as text; a file or pipe gets it byte for
    // byte, as the input gave it.
    EXPECT_EQ(run({"--", "10\xE5\x85\x86"}).out, "{0x1A,0x76,0x05,0x00},//10\xE5\x85\x86KHz\n");
    EXPECT_EQ(shell("$W -- 10\xE5\x85\x86 | cat").out, "{0x1A,0x76,0x05,0x00},//10\xE5\x85\x86KHz\n");
    EXPECT_EQ(run({"--strict", "10\xE5\x85\x86"}).err, "ad9851-word: \"10\xE5\x85\x86\": not a number (--strict)\n");
}

TEST_F(Cli, NoWindowsStyleOptions)
{
    // The same arguments mean the same everywhere: "/csv" is a frequency
    // text, on Windows too.
    const Outcome r = run({"10", "/csv", "/h", "/u:MHz"});
    EXPECT_EQ(r.out,
              "{0x1A,0x76,0x05,0x00},//10KHz\n{0x00,0x00,0x00,0x00},///csvKHz\n"
              "{0x00,0x00,0x00,0x00},///hKHz\n{0x00,0x00,0x00,0x00},///u:MHzKHz\n");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(run({"/?"}).out, "{0x00,0x00,0x00,0x00},///?KHz\n");
}

TEST_F(Cli, EmitRefusesWhatWouldNotMakeAWorkingFile)
{
    const struct {
        std::vector<std::string> args;
        const char* message;
    } usage[] = {
        {{"--emit", "pascal", "10"}, "unknown target 'pascal' (use c, arduino or micropython)"},
        {{"--pins", "W_CLK=1", "10"}, "--pins and --name belong to --emit"},
        {{"--name", "vfo", "10"}, "--pins and --name belong to --emit"},
        {{"--emit", "c", "--csv", "10"}, "--emit writes source code; it takes no --csv, --c-array or --details"},
        {{"--emit", "c", "--details", "10"}, "--emit writes source code; it takes no --csv, --c-array or --details"},
        {{"--emit", "c", "--decode", "10"}, decodeTakes},
        {{"--emit", "arduino", "--name", "while", "10"}, "--name: name \"while\" is a keyword"},
        {{"--emit", "arduino", "--pins", "W_CLK=9", "10"}, "--pins: W_CLK and FQ_UD are both on pin 9"},
        {{"--emit", "micropython", "--pins", "CLK=1", "10"},
         "--pins: unknown signal \"CLK\": the signals are W_CLK, FQ_UD, DATA and RESET"},
    };
    for (const auto& c : usage) {
        SCOPED_TRACE(c.message);
        const Outcome r = run(c.args);
        EXPECT_EQ(r.err,
                  "ad9851-word: " + std::string(c.message) + "\nTry 'ad9851-word --help' for more information.\n");
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.out, "");
    }
    // A frequency that gives no load: no file at all, never one that leaves
    // a row out.
    const Outcome failed = run({"--emit", "c", "10", "1e30"});
    EXPECT_EQ(failed.out, "");
    EXPECT_NE(failed.err.find("no code written"), std::string::npos) << failed.err;
    EXPECT_EQ(failed.status, 1);
    const Outcome none = run({"--emit", "c"}, "");
    EXPECT_EQ(none.out, "");
    EXPECT_EQ(none.err, "ad9851-word: no frequency to load\n");
    EXPECT_EQ(none.status, 1);
}

TEST_F(Cli, HelpAndVersion)
{
    const Outcome help = run({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("Usage: ad9851-word"), std::string::npos);
    const Outcome version = run({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "ad9851-word " + std::string(AD9851_VERSION_TEXT) + "\n");
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

TEST_F(Cli, TheWholeLoadAndTheRealClock)
{
    const struct {
        std::vector<std::string> args;
        const char* out;
    } cases[] = {
        // The data sheet's example, in both orders.
        {{"--load", "-m", "parallel", "-c", "30", "-u", "MHz", "--phase", "11.25", "10"},
         "{0x09,0x0E,0x38,0xE3,0x8E},//10MHz\n"},
        {{"--load", "-c", "30", "-u", "MHz", "--phase", "11.25", "10"}, "{0x8E,0xE3,0x38,0x0E,0x09},//10MHz\n"},
        // --phase and --power-down imply --load; no phase and the multiplier bit alone.
        {{"-c", "30", "-u", "MHz", "--phase=-11.25", "-m", "parallel", "10"}, "{0xF9,0x0E,0x38,0xE3,0x8E},//10MHz\n"},
        {{"--power-down", "10"}, "{0x1A,0x76,0x05,0x00,0x05},//10KHz\n"},
        {{"--load", "10"}, "{0x1A,0x76,0x05,0x00,0x01},//10KHz\n"},
        // A 180001800 Hz clock: 30 MHz, 10 ppm fast, times six.
        {{"-u", "MHz", "--ref-hz", "30000000", "--ppm", "10", "--details", "10"},
         "{0x3C,0xDA,0x38,0x0E},//10MHz\t238606908\t9999999.994\t-0.006\t0.041910\n"},
        {{"-u", "MHz", "--ref-hz", "30000000", "--ppm=-10", "10"}, "{0xE0,0xEC,0x38,0x0E},//10MHz\n"},
        // The AD9850: its W0 has neither D1 nor D0.
        {{"--chip", "ad9850", "--ref-hz", "125000000", "-u", "MHz", "--load", "-m", "parallel", "10"},
         "{0x00,0x14,0x7A,0xE1,0x48},//10MHz\n"},
        {{"--chip", "AD9850", "--ref-hz", "125e6", "-u", "MHz", "--load", "-m", "parallel", "10"},
         "{0x00,0x14,0x7A,0xE1,0x48},//10MHz\n"},
        // Exact halves: a 2^32 Hz clock makes the word the frequency in Hz.
        {{"--no-multiplier", "--ref-hz", "4294967296", "-u", "Hz", "2.5"}, "{0x03,0x00,0x00,0x00},//2.5Hz\n"},
        {{"--no-multiplier", "--ref-hz", "4294967296", "-u", "Hz", "--truncate", "2.5"},
         "{0x02,0x00,0x00,0x00},//2.5Hz\n"},
        // Spellings that have always worked.
        {{"-c20", "--unit=mhz", "--mode=PARALLEL", "--", "1"}, "{0x02,0x22,0x22,0x22},//1MHz\n"},
        {{"--crystal=20", "-uKHz", "10"}, "{0x1A,0x76,0x05,0x00},//10KHz\n"},
    };
    for (const auto& c : cases) {
        const Outcome r = run(c.args);
        SCOPED_TRACE(c.args.front() + " ... " + c.args.back());
        EXPECT_EQ(r.out, c.out);
        EXPECT_EQ(r.status, 0);
    }
}

TEST_F(Cli, WarningsGoToStderrAndChangeNothingElse)
{
    const Outcome plain = run({"-c", "30", "-u", "MHz", "60", "80", "89"});
    EXPECT_EQ(plain.status, 0);
    EXPECT_EQ(plain.err,
              "ad9851-word: warning: 2 frequencies are above 40 % of the system clock, where the output gets poor\n");
    const Outcome fast = run({"-c", "31", "10"});
    EXPECT_EQ(fast.status, 0);
    EXPECT_EQ(fast.out, run({"-c", "31", "10"}).out);
    EXPECT_NE(fast.err.find("ad9851-word: warning: the system clock is above the AD9851's maximum of 180 MHz"),
              std::string::npos);
    EXPECT_NE(fast.err.find("ad9851-word: warning: with the 6x multiplier the reference should be from 5 to 30 MHz"),
              std::string::npos);
    const Outcome ad9850 = run({"--chip", "ad9850", "--ref-hz", "125000000", "-u", "MHz", "41.25", "41.26", "50"});
    EXPECT_EQ(ad9850.status, 0);
    EXPECT_EQ(lineCount(ad9850.out), 3u);
    EXPECT_NE(ad9850.err.find("2 frequencies are above 33 %"), std::string::npos) << ad9850.err;
}

TEST_F(Cli, TablesSweepArraysAndCsv)
{
    EXPECT_EQ(run({"--sweep", "1:2:0.5"}).out,
              "{0xCF,0x8B,0x00,0x00},//1KHz\n{0xB7,0xD1,0x00,0x00},//1.5KHz\n{0x9F,0x17,0x01,0x00},//2KHz\n");
    const Outcome tenths = run({"--sweep", "0:1:0.1", "-u", "MHz"});
    EXPECT_EQ(lineCount(tenths.out), 11u);
    EXPECT_TRUE(tenths.out.ends_with("{0x22,0x22,0x22,0x02},//1MHz\n")) << tenths.out;
    EXPECT_EQ(run({"--sweep", "2:1:-1"}).out, "{0x9F,0x17,0x01,0x00},//2KHz\n{0xCF,0x8B,0x00,0x00},//1KHz\n");
    // Its numbers are read as every other option's: exponents, blanks around.
    for (const char* same : {"1e3:2e3:5e2", " 1000 : 2000:500 ", "1.0E3:+2000.00:0.5D3", "10e2:2000:500"}) {
        const Outcome r = run({"--sweep", same, "-u", "Hz"});
        EXPECT_EQ(r.out, run({"--sweep", "1000:2000:500", "-u", "Hz"}).out) << same;
        EXPECT_EQ(r.status, 0) << same << r.err;
    }
    for (const char* bad : {"&H10:20:1", "1:2:1x", "1:2:"})
        EXPECT_EQ(run({"--sweep", bad}).status, 2) << bad;

    EXPECT_EQ(run({"--c-array", "words", "--load"}, "10\n20\n").out,
              "const unsigned char words[][5] = {\n"
              "    {0x1A,0x76,0x05,0x00,0x01},//10KHz\n"
              "    {0x34,0xEC,0x0A,0x00,0x01},//20KHz\n"
              "};\n");
    EXPECT_EQ(run({"--c-array", "_t9", "--sweep", "1:1:1"}).out,
              "const unsigned char _t9[][4] = {\n    {0xCF,0x8B,0x00,0x00},//1KHz\n};\n");
    // An array with nothing in it would not be C: nothing is written.
    const Outcome empty = run({"--c-array", "t", "--", "-1"});
    EXPECT_EQ(empty.out, "");
    EXPECT_EQ(empty.status, 1);

    EXPECT_EQ(run({"--csv", "10", "1,5", "\"x\""}).out,
              "frequency,unit,word,bytes,actual_hz,deviation_hz,step_hz\r\n"
              "10,KHz,357914,0x1A 0x76 0x05 0x00,10000.002,+0.002,0.027940\r\n"
              "\"1,5\",KHz,35791,0xCF 0x8B 0x00 0x00,999.989,-0.011,0.027940\r\n"
              "\"\"\"x\"\"\",KHz,0,0x00 0x00 0x00 0x00,0.000,+0.000,0.027940\r\n");
    EXPECT_EQ(run({"--csv", "--load", "-m", "parallel", "10"}).out,
              "frequency,unit,word,bytes,actual_hz,deviation_hz,step_hz\r\n"
              "10,KHz,357914,0x01 0x00 0x05 0x76 0x1A,10000.002,+0.002,0.027940\r\n");
}

TEST_F(Cli, SpectrumListsEveryComponentSortedByFrequency)
{
    const struct {
        std::vector<std::string> args;
        const char* out;
        const char* err;
    } cases[] = {
        // The word's actual output is 9999999.991 Hz: the images sit 9 mHz
        // off the round values.
        {{"-c", "30", "-u", "MHz", "--spectrum", "10"},
         "fundamental\t1\t9999999.991\t0.00\n"
         "harmonic\t2\t19999999.981\t-50.13\n"
         "harmonic\t3\t29999999.972\t-50.36\n"
         "harmonic\t4\t39999999.963\t-50.67\n"
         "harmonic\t5\t49999999.953\t-51.09\n"
         "image\t-1\t170000000.009\t-24.61\n"
         "image\t1\t189999999.991\t-25.58\n"
         "image\t-2\t350000000.009\t-30.88\n"
         "image\t2\t369999999.991\t-31.36\n",
         ""},
        // 70 MHz: its image at 110 MHz is only 3.93 dB below it.
        {{"-c", "30", "-u", "MHz", "--spectrum", "--images", "1", "--harmonics", "1", "70"},
         "fundamental\t1\t70000000.019\t0.00\n"
         "image\t-1\t109999999.981\t-3.93\n"
         "image\t1\t250000000.019\t-11.06\n",
         "ad9851-word: warning: \"70\": image -1 at 109999999.981 Hz is only 3.93 dB below the output\n"},
        // A 7th-order Butterworth at 70 MHz takes 27.49 dB off that image
        // and 3.01 dB off the output: 24.48 dB more below it.
        {{"-c", "30", "-u", "MHz", "--spectrum", "--images", "1", "--harmonics", "2", "--filter", "butterworth:7:70e6",
          "70"},
         "harmonic\t2\t39999999.963\t-48.44\t-45.43\n"
         "fundamental\t1\t70000000.019\t0.00\t0.00\n"
         "image\t-1\t109999999.981\t-3.93\t-28.40\n"
         "image\t1\t250000000.019\t-11.06\t-85.44\n",
         ""},
        // A 5th-order elliptic filter, 0.5 dB up to 70 MHz, 60 dB from
        // 1.777 times that (124.4 MHz): 110 MHz lies between, 250 MHz well
        // beyond, 62.96 dB down from the output (0.5 dB down itself).
        {{"-c", "30", "-u", "MHz", "--spectrum", "--images", "1", "--harmonics", "1", "--filter",
          "Elliptic:5:70e6:0.5:60", "70"},
         "fundamental\t1\t70000000.019\t0.00\t0.00\n"
         "image\t-1\t109999999.981\t-3.93\t-44.67\n"
         "image\t1\t250000000.019\t-11.06\t-74.02\n",
         ""},
        // A filter too wide leaves the warning, said after the filter.
        {{"-c", "30", "-u", "MHz", "--spectrum", "--images", "1", "--harmonics", "1", "--filter",
          "Chebyshev: 3 : 150e6 : 1", "70"},
         "fundamental\t1\t70000000.019\t0.00\t0.00\n"
         "image\t-1\t109999999.981\t-3.93\t-3.35\n"
         "image\t1\t250000000.019\t-11.06\t-26.91\n",
         "ad9851-word: warning: \"70\": image -1 at 109999999.981 Hz is only 3.35 dB below the output after the "
         "filter\n"},
        // 60 MHz, a third of the clock: harmonics 2 and 4 land on the
        // output, harmonic 3 near 0 Hz; the assumed level counts.
        {{"-c", "30", "-u", "MHz", "--spectrum", "--images", "1", "--harmonics", "4", "--harmonic-dbc", "-60", "60"},
         "harmonic\t3\t0.042\t-58.35\n"
         "harmonic\t4\t59999999.944\t-60.00\n"
         "fundamental\t1\t59999999.986\t0.00\n"
         "harmonic\t2\t60000000.028\t-60.00\n"
         "image\t-1\t120000000.014\t-6.02\n"
         "image\t1\t239999999.986\t-12.04\n",
         "ad9851-word: warning: \"60\": harmonic 4 at 59999999.944 Hz lands on the output at 59999999.986 Hz\n"
         "ad9851-word: warning: \"60\": harmonic 2 at 60000000.028 Hz lands on the output at 59999999.986 Hz\n"
         "ad9851-word: warning: \"60\": image -1 at 120000000.014 Hz is only 6.02 dB below the output\n"},
        // A harmonic within 1 % of the clock (1.8 MHz) of the output.
        {{"-c", "30", "-u", "MHz", "--spectrum", "--images", "1", "--harmonics", "3", "--filter", "butterworth:9:60e6",
          "44.7"},
         "fundamental\t1\t44699999.993\t0.00\t0.00\n"
         "harmonic\t3\t45900000.022\t-50.05\t-50.06\n"
         "harmonic\t2\t89399999.985\t-52.97\t-84.12\n"
         "image\t-1\t135300000.007\t-9.62\t-73.16\n"
         "image\t1\t224699999.993\t-14.03\t-117.23\n",
         "ad9851-word: warning: \"44.7\": harmonic 3 at 45900000.022 Hz lies 1200000.029 Hz from the output, within 1 "
         "% of the clock, where no filter can take it away\n"},
    };
    for (const auto& c : cases) {
        const Outcome r = run(c.args);
        SCOPED_TRACE(c.args.back());
        EXPECT_EQ(r.out, c.out);
        EXPECT_EQ(r.err, c.err);
        EXPECT_EQ(r.status, 0);
    }
}

TEST_F(Cli, ExtremeSpectraPrintNumbersOnly)
{
    // Clocks far below a microhertz, harmonics at -1e308 dBc: each field
    // is a name, a label or a plain number, never nan nor stray bytes.
    const std::regex field("[a-z]+|H?[-+]?[0-9]+(\\.[0-9]+)?");
    const std::vector<std::string> cases[] = {
        {"--ref-hz", "1e-9", "--no-multiplier", "-u", "Hz", "--spectrum", "1e-10"},
        {"--ref-hz", "1e-60", "--no-multiplier", "-u", "Hz", "--spectrum", "--filter", "chebyshev:20:1e-300:10",
         "1e-61"},
        {"-c", "30", "-u", "MHz", "--spectrum", "--harmonic-dbc", "-1e308", "70"},
        {"-u", "MHz", "--plan", "--harmonic-dbc", "-1e308", "--band", "0:100", "36.05"},
    };
    for (const auto& args : cases) {
        const Outcome r = run(args);
        SCOPED_TRACE(args.front() + " " + args[1] + " ... " + args.back());
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_GE(lineCount(r.out), 9U);
        std::istringstream lines(r.out);
        for (std::string line; std::getline(lines, line);) {
            std::istringstream fields(line);
            for (std::string f; std::getline(fields, f, '\t');)
                EXPECT_TRUE(std::regex_match(f, field)) << line;
        }
    }
}

TEST_F(Cli, SpectrumBlocksCsvAndFailingInputs)
{
    // A blank line between blocks; a frequency that gives no word fails
    // alone, and so does word 0, which puts out nothing.
    const Outcome r =
        run({"-c", "30", "-u", "MHz", "--spectrum", "--images", "1", "--harmonics", "1", "--", "10", "-1", "0", "20"});
    EXPECT_EQ(r.out,
              "fundamental\t1\t9999999.991\t0.00\n"
              "image\t-1\t170000000.009\t-24.61\n"
              "image\t1\t189999999.991\t-25.58\n"
              "\n"
              "fundamental\t1\t19999999.981\t0.00\n"
              "image\t-1\t160000000.019\t-18.06\n"
              "image\t1\t199999999.981\t-20.00\n");
    EXPECT_EQ(r.err,
              "ad9851-word: \"-1\": the output frequency must not be negative\n"
              "ad9851-word: \"0\": the word is 0: the chip puts out no signal to show\n");
    EXPECT_EQ(r.status, 1);

    // One CSV table, the frequency as given; a filter adds its column.
    EXPECT_EQ(
        run({"-c", "30", "-u", "MHz", "--spectrum", "--csv", "--images", "1", "--harmonics", "1", "10", "7e1"}).out,
        "frequency,unit,component,order,component_hz,level_dbc\r\n"
        "10,MHz,fundamental,1,9999999.991,0.00\r\n"
        "10,MHz,image,-1,170000000.009,-24.61\r\n"
        "10,MHz,image,1,189999999.991,-25.58\r\n"
        "7e1,MHz,fundamental,1,70000000.019,0.00\r\n"
        "7e1,MHz,image,-1,109999999.981,-3.93\r\n"
        "7e1,MHz,image,1,250000000.019,-11.06\r\n");
    EXPECT_EQ(run({"-c", "30", "--spectrum", "--csv", "--images", "1", "--harmonics", "1", "--filter",
                   "butterworth:7:70e6", "10000,0"})
                  .out,
              "frequency,unit,component,order,component_hz,level_dbc,filtered_dbc\r\n"
              "\"10000,0\",KHz,fundamental,1,9999999.991,0.00,0.00\r\n"
              "\"10000,0\",KHz,image,-1,170000000.009,-24.61,-78.56\r\n"
              "\"10000,0\",KHz,image,1,189999999.991,-25.58,-86.29\r\n");

    // From standard input the warnings name the line; every clock option
    // applies, and the share of the clock is still watched.
    const Outcome in =
        run({"--spectrum", "--ref-hz", "125e6", "--no-multiplier", "-u", "MHz", "--images", "1", "--harmonics", "1"},
            "52\n");
    EXPECT_EQ(in.out,
              "fundamental\t1\t51999999.996\t0.00\n"
              "image\t-1\t73000000.004\t-2.95\n"
              "image\t1\t176999999.996\t-10.64\n");
    EXPECT_EQ(in.err,
              "ad9851-word: warning: line 1: \"52\": image -1 at 73000000.004 Hz is only 2.95 dB below the output\n"
              "ad9851-word: warning: 1 frequency is above 40 % of the system clock, where the output gets poor\n");
    EXPECT_EQ(run({"--spectrum", "--strict", "10kHz"}).status, 1);
}

TEST_F(Cli, DecodesWhatItPrints)
{
    const Outcome r = run({"--decode", "{0x1A,0x76,0x05,0x00},//10KHz", "357914", "0x5761A"});
    EXPECT_EQ(r.out,
              "word=357914\tfrequency_hz=10000.002\nword=357914\tfrequency_hz=10000.002\n"
              "word=357914\tfrequency_hz=10000.002\n");
    EXPECT_EQ(r.status, 0);
    // Round trips through the tool: frequency -> line -> decode, every form.
    const struct {
        std::string print, decode;
    } forms[] = {
        {"", ""},
        {"-m parallel", "-m parallel"},
        {"--load --phase 90", ""},
        {"--load -m parallel --power-down", "-m parallel"},
        {"--no-multiplier --ref-hz 125000000 --load", "--ref-hz 125000000"},
    };
    for (const auto& [options, decodeOptions] : forms) {
        const Outcome back = shell("$W " + options + " -u MHz 1 7.5 | $W --decode " + decodeOptions);
        SCOPED_TRACE(options);
        EXPECT_EQ(back.status, 0) << back.err;
        const Outcome words = shell("$W " + options + " -u MHz --details 1 7.5 | cut -f2");
        std::istringstream decoded(back.out), expected(words.out);
        for (std::string d, w; std::getline(expected, w);) {
            ASSERT_TRUE(std::getline(decoded, d));
            EXPECT_TRUE(d.starts_with("word=" + w + "\t")) << d << " vs " << w;
            EXPECT_EQ(d.find("phase_deg") != std::string::npos, options.find("--load") != std::string::npos) << d;
        }
    }
    const Outcome bad = run({"--decode"}, "{0x1A,0x76,0x05}\n2147483648\n357914\n{0x0A,0,0,0,0}\n");
    EXPECT_EQ(bad.out, "word=357914\tfrequency_hz=10000.002\n");
    EXPECT_EQ(bad.status, 1);
    EXPECT_EQ(lineCount(bad.err), 3u) << bad.err;
    EXPECT_NE(bad.err.find("ad9851-word: line 1: "), std::string::npos) << bad.err;
    EXPECT_NE(bad.err.find("ad9851-word: line 4: "), std::string::npos) << bad.err;
}

TEST_F(Cli, AnArgumentHoldingALineBreakIsRefused)
{
    // An output line never breaks.
    const Outcome broken = run({"1\n2"});
    EXPECT_EQ(broken.out, "");
    EXPECT_EQ(broken.status, 1);
    EXPECT_NE(broken.err.find("\"1\\n2\": holds a line break"), std::string::npos) << broken.err;
}

TEST_F(Cli, ControlCharactersAreNeverEchoedRaw)
{
    // What a message quotes cannot retitle or recolour the terminal.  Bytes
    // that are not UTF-8 come through standard input: Windows replaces
    // them in arguments before the program sees them.
    const struct {
        std::string text, shown;
        bool utf8;
    } cases[] = {
        {"\x1B]0;x\a", "\\e]0;x\\x07", true},
        {"1\t2\v", "1\\t2\\x0b", true},
        {"\x7F\x01\x1F", "\\x7f\\x01\\x1f", true},
        {"\xC2\x9B"
         "31m",
         "\\xc2\\x9b31m", true},                                      // C1 CSI
        {"10\xE5\x85\x86 \xC2\xB5", "10\xE5\x85\x86 \xC2\xB5", true}, // 10兆 µ: text, kept
        {"\xFF"
         "10\xE5\x85",
         "\\xff10\\xe5\\x85", false},                                 // not UTF-8, and a sequence cut short
        {"\xC0\xAF\xED\xA0\x80", "\\xc0\\xaf\\xed\\xa0\\x80", false}, // overlong; a surrogate
    };
    for (const auto& c : cases) {
        const Outcome r = run({"--strict"}, c.text + "\n");
        EXPECT_EQ(r.err, "ad9851-word: line 1: \"" + c.shown + "\": not a number (--strict)\n") << c.shown;
        if (!c.utf8)
            continue;
        EXPECT_EQ(run({"--strict", "--", c.text}).err, "ad9851-word: \"" + c.shown + "\": not a number (--strict)\n");
        const Outcome usage = run({"-u", c.text, "1"});
        EXPECT_EQ(usage.err, "ad9851-word: unknown unit '" + c.shown +
                                 "' (use Hz, KHz or MHz)\nTry 'ad9851-word --help' for more information.\n");
    }
    EXPECT_EQ(run({"--\x1B[2J"}).err,
              "ad9851-word: unknown option '--\\e[2J'\nTry 'ad9851-word --help' for more information.\n");
    EXPECT_EQ(run({"--decode"}, "\x1B[2J\n").err,
              "ad9851-word: line 1: \"\\e[2J\": not a word: give a result line, a byte list, a decimal word or a "
              "hexadecimal one (0x...)\n");
}

TEST_F(Cli, CArrayNamesCompile)
{
    for (const char* name : {"int", "const", "while", "sizeof", "_Bool", "class", "restrict", "typeof", "bool"}) {
        const Outcome r = run({"--c-array", name, "10"});
        EXPECT_EQ(r.status, 2) << name;
        EXPECT_EQ(r.err, "ad9851-word: --c-array: '" + std::string(name) +
                             "' is a keyword of C or C++\nTry 'ad9851-word --help' for more information.\n");
    }
    // What is taken compiles, Python's keywords included.
    for (const char* name : {"words", "_t9", "pass", "lambda", "integer", "Int"}) {
        const Outcome r =
            shell(std::string("$W --c-array ") + name + " --load 10 20 > \"" + (dir_ / "t.c").string() +
                  "\" && cc -std=c99 -pedantic-errors -c -o /dev/null \"" + (dir_ / "t.c").string() + "\"");
        EXPECT_EQ(r.status, 0) << name << r.err;
    }
}

TEST_F(Cli, AByteOrderMarkIsSkippedAndUtf16IsRefused)
{
    // Notepad and PowerShell 5.1 start UTF-8 files with a byte-order mark.
    const std::string bom = "\xEF\xBB\xBF";
    EXPECT_EQ(run({}, bom + "10\n20\n").out, "{0x1A,0x76,0x05,0x00},//10KHz\n{0x34,0xEC,0x0A,0x00},//20KHz\n");
    EXPECT_EQ(run({"--strict", bom + "10"}).out, "{0x1A,0x76,0x05,0x00},//10KHz\n");
    EXPECT_EQ(run({"--decode"}, bom + "357914\n").out, "word=357914\tfrequency_hz=10000.002\n");
    // Later on, U+FEFF is the invisible no-break space it also is: read as a
    // blank, kept in the line's comment.
    EXPECT_EQ(run({"--strict"}, "10\n" + bom + "20\n").out,
              "{0x1A,0x76,0x05,0x00},//10KHz\n{0x34,0xEC,0x0A,0x00},//" + bom + "20KHz\n");

    // UTF-16 never reads as a word 0.
    const struct {
        std::string input;
        const char* err;
    } utf16[] = {
        {std::string("\xFF\xFE"
                     "1\0"
                     "0\0\n\0",
                     8),
         "ad9851-word: standard input is UTF-16 (little-endian) text: give UTF-8 or ASCII\n"},
        {std::string("\xFE\xFF"
                     "\0"
                     "1\0"
                     "0\0\n",
                     8),
         "ad9851-word: standard input is UTF-16 (big-endian) text: give UTF-8 or ASCII\n"},
        {std::string("1\0"
                     "0\0",
                     4),
         ": holds NUL bytes, as UTF-16 text does: give UTF-8 or ASCII\n"},
    };
    for (const auto& c : utf16) {
        for (const std::vector<std::string>& args : {std::vector<std::string>{}, {"--decode"}}) {
            const Outcome r = run(args, c.input);
            EXPECT_EQ(r.out, "") << args.size();
            EXPECT_TRUE(r.err.starts_with("ad9851-word: ")) << r.err;
            EXPECT_TRUE(r.err.ends_with(c.err)) << r.err;
            EXPECT_EQ(lineCount(r.err), 1u) << r.err;
            EXPECT_EQ(r.status, 1) << args.size();
        }
    }
}

TEST_F(Cli, CrAndLfAndCrLfEachEndALine)
{
    EXPECT_EQ(run({"-u", "Hz"}, "1\r2\n3\r\n4").out, run({"-u", "Hz", "1", "2", "3", "4"}).out);
}

TEST_F(Cli, ALineOverOneMiBIsAnErrorOfItsOwn)
{
    // The lines around it run.
    const Outcome longLine = run({}, "10\n" + std::string(2 << 20, '7') + "\n20\n");
    EXPECT_EQ(longLine.out, "{0x1A,0x76,0x05,0x00},//10KHz\n{0x34,0xEC,0x0A,0x00},//20KHz\n");
    EXPECT_EQ(longLine.err, "ad9851-word: line 2: longer than 1 MiB\n");
    EXPECT_EQ(longLine.status, 1);
}

TEST_F(Cli, ErrorsStandWhereTheirInputStood)
{
    const Outcome mixed = shell("printf '1\\nabc\\n60001\\n2\\n' | $W --strict 2>&1");
    EXPECT_EQ(mixed.out,
              "{0xCF,0x8B,0x00,0x00},//1KHz\n"
              "ad9851-word: line 2: \"abc\": not a number (--strict)\n"
              "ad9851-word: line 3: \"60001\": the output frequency is too high: at most 59999.999986 KHz\n"
              "{0x9F,0x17,0x01,0x00},//2KHz\n");
}

TEST_F(Cli, PastedSpacesAndFullWidthDigitsReadAsShown)
{
    // A zero-width space, a no-break space, the ideographic space and
    // full-width digits read as the plain characters they show; the line
    // keeps the text as given.
    const struct {
        const char* text;
        const char* line;
    } cases[] = {
        {"\u200b10", "{0x1A,0x76,0x05,0x00},//\u200b10KHz\n"},
        {"\u00a010", "{0x1A,0x76,0x05,0x00},//\u00a010KHz\n"},
        {"\u300010\u3000", "{0x1A,0x76,0x05,0x00},//\u300010\u3000KHz\n"},
        {"\uff11\uff10", "{0x1A,0x76,0x05,0x00},//\uff11\uff10KHz\n"},
        {"\uff11\uff10\uff0e\uff15", "{0x02,0xBC,0x05,0x00},//\uff11\uff10\uff0e\uff15KHz\n"},
    };
    for (const auto& c : cases) {
        const Outcome r = run({"--", c.text});
        EXPECT_EQ(r.out, c.line) << c.text;
        EXPECT_EQ(r.status, 0) << c.text;
        EXPECT_EQ(run({"--strict", "--", c.text}).status, 0) << c.text;
    }
}

TEST_F(Cli, StrictTakesOnlyNumbers)
{
    // Without --strict the classic reading stays.
    EXPECT_EQ(run({"10KHz"}).out, "{0x1A,0x76,0x05,0x00},//10KHzKHz\n");
    EXPECT_EQ(run({"10 5"}).out, "{0x10,0x58,0x39,0x00},//10 5KHz\n");
    EXPECT_EQ(run({"--strict", "10KHz"}).status, 1);
    // Blanks may stand around the number, never inside it.
    for (const char* text : {" 10 ", "\t10", "1e3 ", "-0", "+1.5e-2", "&H10"})
        EXPECT_EQ(run({"--strict", "--", text}).status, 0) << text;
    for (const char* text : {"10 5", "1\t2", "1 e 5", "1e 5", "- 1", "1 .5", "&H 10", ""}) {
        const Outcome r = run({"--strict", "--", text});
        EXPECT_EQ(r.status, 1) << text;
        EXPECT_EQ(r.out, "") << text;
        EXPECT_TRUE(r.err.ends_with(": not a number (--strict)\n")) << r.err;
    }
}

TEST_F(Cli, StrictHoldsForThePlanAndTheCalibrationToo)
{
    // Without --strict "3 6" reads as 36 there as everywhere.
    EXPECT_EQ(run({"-u", "MHz", "--plan", "--top", "1", "3 6"}).status, 0);
    EXPECT_EQ(run({"-u", "MHz", "-c", "30", "--calibrate", "1 0:10.000 1"}).status, 0);
    const struct {
        std::vector<std::string> args;
        const char* err;
    } cases[] = {
        {{"-u", "MHz", "--strict", "--plan", "3 6"}, "ad9851-word: \"3 6\": not a number (--strict)\n"},
        {{"-u", "MHz", "-c", "30", "--strict", "--calibrate", "1 0:10.0001"},
         "ad9851-word: --calibrate: \"1 0\": not a number (--strict)\n"},
        {{"-u", "MHz", "-c", "30", "--strict", "--calibrate", "10:10.000 1"},
         "ad9851-word: --calibrate: \"10.000 1\": not a number (--strict)\n"},
    };
    for (const auto& c : cases) {
        const Outcome r = run(c.args);
        SCOPED_TRACE(c.args.back());
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, c.err);
        EXPECT_EQ(r.status, 1);
    }
    EXPECT_EQ(run({"-u", "MHz", "-c", "30", "--strict", "--calibrate", " 10 : 10.0001 "}).status, 0);
}

TEST_F(Cli, EveryWriteIsChecked)
{
    for (const char* args : {"--help", "--version", "10", "--sweep 1:100000:1", "--bash-completion"}) {
        const Outcome full = shell(std::string("$W ") + args + " > /dev/full");
        EXPECT_EQ(full.status, 1) << args;
        EXPECT_EQ(full.err, "ad9851-word: write error: No space left on device\n") << args;
    }
}

TEST_F(Cli, AFailedWriteStopsTheReadingAtOnce)
{
    // An endless input: the run ends at the first failed write, or the
    // timeout's 124 shows it went on reading.
    const Outcome full = shell("yes 10 2>/dev/null | timeout 10 $W > /dev/full; echo \"${PIPESTATUS[1]}\"");
    EXPECT_EQ(full.out, "1\n");
    EXPECT_EQ(full.err, "ad9851-word: write error: No space left on device\n");
    // A reader that goes away: status 1 and no message, whether SIGPIPE
    // is ignored or not.
    for (const char* ignore : {"", "trap '' PIPE; "}) {
        const Outcome pipe =
            shell(std::string(ignore) + "yes 10 2>/dev/null | timeout 10 $W | head -n 1; echo \"${PIPESTATUS[1]}\"");
        EXPECT_EQ(pipe.out, "{0x1A,0x76,0x05,0x00},//10KHz\n1\n") << ignore;
        EXPECT_EQ(pipe.err, "") << ignore;
    }
}

TEST_F(Cli, AReaderThatGoesAwayEndsTheRunAtOnce)
{
    const Outcome pipe = shell("$W --sweep 0:9999999:1 | head -n 2; echo \"${PIPESTATUS[0]}\"");
    EXPECT_EQ(pipe.out, "{0x00,0x00,0x00,0x00},//0KHz\n{0xCF,0x8B,0x00,0x00},//1KHz\n1\n");
    EXPECT_EQ(pipe.err, "");
}

TEST_F(Cli, EmptyStandardInputIsNoInput)
{
    // Not a terminal, but empty.
    const Outcome none = shell("$W < /dev/null");
    EXPECT_EQ(none.status, 0);
    EXPECT_EQ(none.out, "");
}

// The tab-separated fields of a line.
std::vector<std::string> fieldsOf(const std::string& line)
{
    std::vector<std::string> fields;
    std::istringstream in(line);
    for (std::string field; std::getline(in, field, '\t');)
        fields.push_back(field);
    return fields;
}

TEST_F(Cli, CalibrateTenMegahertz)
{
    const Outcome r = run({"--ref-hz", "30e6", "-u", "Hz", "--calibrate", "10000000:10000043.2"});
    EXPECT_EQ(r.out, "ppm=4.320931\nclock_hz=180000777.768\nref_hz=30000129.628\n{0x87,0xDF,0x38,0x0E},//10000000Hz\n");
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.status, 0);
    // The ppm as printed: the word for 10 MHz now lands within a step of it.
    const Outcome now = run({"--ref-hz", "30e6", "--ppm", "4.320931", "-u", "Hz", "--details", "10000000"});
    const std::vector<std::string> fields = fieldsOf(now.out.substr(0, now.out.find('\n')));
    ASSERT_EQ(fields.size(), 5u) << now.out;
    EXPECT_LE(std::abs(std::stod(fields[2]) - 1e7), std::stod(fields[4]));
    // The window's crystal and MHz, with the details of the corrected word.
    EXPECT_EQ(run({"-c", "30", "-u", "MHz", "--details", "--calibrate", "10:9.9999568"}).out,
              "ppm=-4.319069\nclock_hz=179999222.568\nref_hz=29999870.428\n"
              "{0x95,0xE7,0x38,0x0E},//10MHz\t238610325\t10000000.009\t+0.009\t0.041909\n");
}

// Random clocks and errors through the command line: --ppm with the
// printed value and --details give MEASURED back to the mHz, with the word
// that was programmed.
TEST_F(Cli, CalibrateRoundTripsThroughPpm)
{
    std::srand(18);
    for (int i = 0; i < 12; ++i) {
        // Below 45 % of the clock, six times the reference.
        const int refHz = 5'000'000 + std::rand() % 25'000'000;
        const std::string ref = std::to_string(refHz) + "." + std::to_string(std::rand() % 1000);
        const std::string programmed = std::to_string(1 + std::rand() % (refHz / 10 * 27)) + ".5";
        const std::vector<std::string> clock{"--ref-hz", ref, "-u", "Hz"};
        auto with = [&](std::vector<std::string> more) {
            more.insert(more.begin(), clock.begin(), clock.end());
            return more;
        };
        const std::vector<std::string> loaded = fieldsOf(run(with({"--details", programmed})).out);
        ASSERT_EQ(loaded.size(), 5u);
        // A clock (rand() % 1801 - 900) / 1000 ppm off.
        const double actual = std::stod(loaded[2]);
        char measured[64];
        std::snprintf(measured, sizeof measured, "%.3f", actual * (1 + (std::rand() % 1801 - 900) * 1e-9));
        SCOPED_TRACE(ref + " " + programmed + " " + measured);

        const Outcome calibrated = run(with({"--calibrate", programmed + ":" + measured}));
        ASSERT_EQ(calibrated.status, 0) << calibrated.err;
        const std::string ppm = calibrated.out.substr(4, calibrated.out.find('\n') - 4);
        const std::vector<std::string> back = fieldsOf(run(with({"--ppm", ppm, "--details", measured})).out);
        ASSERT_EQ(back.size(), 5u);
        EXPECT_EQ(back[1], loaded[1]);
        EXPECT_EQ(back[2] + "\n", std::string(measured) + "\n");
    }
}

TEST_F(Cli, CalibrateRefusals)
{
    const struct {
        std::vector<std::string> args;
        const char* err;
        int status;
    } cases[] = {
        {{"-u", "Hz", "--calibrate", "10000000:10000"},
         "ad9851-word: --calibrate: measured \"10000\" is more than 1000 ppm from the word's output of "
         "9999999.991 Hz: a wrong unit is likelier than a clock that far off\n",
         1},
        {{"-u", "Hz", "--calibrate", "0:10"},
         "ad9851-word: --calibrate: programmed \"0\" gives the word 0: the chip puts out nothing\n",
         1},
        {{"--calibrate", "10:x"}, "ad9851-word: --calibrate: measured \"x\" is not a number\n", 1},
        {{"-c", "0", "--calibrate", "10:10"},
         "ad9851-word: crystal \"0\": the crystal frequency must be from 1 to 5461 MHz\n",
         1},
        {{"--calibrate", "10"},
         "ad9851-word: --calibrate needs PROGRAMMED:MEASURED, two frequencies and a colon\n"
         "Try 'ad9851-word --help' for more information.\n",
         2},
        {{"--calibrate", "10:10", "5"},
         "ad9851-word: --calibrate takes no FREQUENCY, --sweep, --decode, --spectrum, --emit, --csv or --c-array\n"
         "Try 'ad9851-word --help' for more information.\n",
         2},
        {{"--calibrate", "10:10", "--csv"},
         "ad9851-word: --calibrate takes no FREQUENCY, --sweep, --decode, --spectrum, --emit, --csv or --c-array\n"
         "Try 'ad9851-word --help' for more information.\n",
         2},
    };
    for (const auto& c : cases) {
        const Outcome r = run(c.args);
        SCOPED_TRACE(c.args.back());
        EXPECT_EQ(r.err, c.err);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.status, c.status);
    }
}

TEST_F(Cli, PlanRanksTheWorkedFrequencies)
{
    const struct {
        std::vector<std::string> args;
        const char* out;
    } cases[] = {
        // H4 at 35.8 MHz, 250 kHz from 36.05 MHz at 180 MHz; 3.25 MHz away at 177 MHz.
        {{"-u", "MHz", "--plan", "--refs", "30e6,29.5e6", "36.05"},
         "29500000\t177000000\t874765938\t36050000.001\t+0.001\t32799999.995\tH4\t3250000.006\n"
         "30000000\t180000000\t860186506\t36050000.014\t+0.014\t35799999.945\tH4\t250000.069\n"},
        // H3 and H5 both 4 kHz from 45.001 MHz.
        {{"-u", "MHz", "--plan", "--refs", "30e6", "45.001"},
         "30000000\t180000000\t1073765685\t45001000.003\t+0.003\t44996999.991\tH3\t4000.012\n"},
        // H2 on 60 MHz at 180 MHz, one step off: last.
        {{"-u", "MHz", "--plan", "--refs", "30e6,29.5e6,25e6", "60"},
         "29500000\t177000000\t1455921117\t59999999.988\t-0.012\t57000000.024\tH2\t2999999.964\n"
         "25000000\t150000000\t1717986918\t59999999.986\t-0.014\t60000000.056\tH4\t0.070\n"
         "30000000\t180000000\t1431655765\t59999999.986\t-0.014\t60000000.028\tH2\t0.042\n"},
        {{"-u", "MHz", "--plan", "--csv", "--top", "1", "--band", "35:37", "--refs", "30e6,29.5e6", "36.05"},
         "ref_hz,clock_hz,word,actual_hz,deviation_hz,nearest_hz,nearest,distance_hz,worst_in_band_dbc\r\n"
         "29500000,177000000,874765938,36050000.001,+0.001,32799999.995,H4,3250000.006,-inf\r\n"},
    };
    for (const auto& c : cases) {
        const Outcome r = run(c.args);
        SCOPED_TRACE(c.args.back());
        EXPECT_EQ(r.out, c.out);
        EXPECT_EQ(r.err, "");
        EXPECT_EQ(r.status, 0);
    }
}

TEST_F(Cli, PlanSaysWhatItLeftOut)
{
    // The crystals 5..12 MHz make at most 72 MHz: too slow for 36.05 MHz.
    const Outcome crystals = run({"-u", "MHz", "--plan", "36.05"});
    EXPECT_EQ(std::count(crystals.out.begin(), crystals.out.end(), '\n'), 18);
    EXPECT_EQ(crystals.err,
              "ad9851-word: warning: left out 8 candidates whose clock is too slow for \"36.05\" MHz "
              "(it must stay below half the clock)\n");
    EXPECT_EQ(crystals.status, 0);
    const Outcome fast = run({"-u", "MHz", "--plan", "--refs", "30e6,31e6", "10"});
    EXPECT_EQ(std::count(fast.out.begin(), fast.out.end(), '\n'), 1);
    EXPECT_EQ(fast.err,
              "ad9851-word: warning: left out 1 candidate whose clock is above the AD9851's maximum of "
              "180 MHz\n");
    const Outcome none = run({"-u", "MHz", "--plan", "--chip", "ad9850", "36.05"});
    EXPECT_EQ(none.out, "");
    EXPECT_TRUE(none.err.ends_with("ad9851-word: no candidate clock can make \"36.05\"\n")) << none.err;
    EXPECT_EQ(none.status, 1);
    const Outcome coarse = run({"-u", "Hz", "--plan", "--refs", "30e6,5e6", "0.02"});
    EXPECT_EQ(coarse.out, "5000000\t30000000\t3\t0.021\t+0.001\t0.042\tH2\t0.021\n");
    EXPECT_EQ(coarse.err,
              "ad9851-word: warning: left out 1 candidate whose clock is too fast for \"0.02\" Hz (its word "
              "would be 0)\n");
    EXPECT_EQ(coarse.status, 0);
    const Outcome wrong = run({"-u", "MHz", "--plan", "--refs", "30e6,abc", "10"});
    EXPECT_EQ(wrong.err, "ad9851-word: \"10\": reference \"abc\" is not a number\n");
    EXPECT_EQ(wrong.status, 1);
}

TEST_F(Cli, PlanUsageErrors)
{
    const char* const planTakes =
        "--plan chooses the clock; it takes no -c, --ref-hz, --ppm, --spectrum, --decode, "
        "--calibrate, --sweep, --emit, --c-array, --details, --load, --phase, --power-down "
        "or --mode";
    const struct {
        std::vector<std::string> args;
        const char* message;
    } cases[] = {
        {{"--plan"}, "--plan takes one FREQUENCY"},
        {{"--plan", "10", "20"}, "--plan takes one FREQUENCY"},
        {{"--plan", "-c", "30", "10"}, planTakes},
        {{"--plan", "--ppm", "3", "10"}, planTakes},
        {{"--plan", "--spectrum", "10"}, planTakes},
        {{"--plan", "--details", "10"}, planTakes},
        {{"--refs", "30e6", "10"}, "--refs, --band and --top belong to --plan"},
        {{"--top", "3", "10"}, "--refs, --band and --top belong to --plan"},
        {{"--images", "3", "10"}, "--images, --harmonics, --harmonic-dbc and --filter belong to --spectrum and --plan"},
        {{"--plan", "--band", "2:1", "10"}, "--band: band \"2:1\" ends below its start"},
        {{"--plan", "--band", "2", "10"}, "--band: band \"2\" must be LO:HI"},
        {{"--plan", "--refs", "30e6,", "10"}, "--refs: an empty reference in \"30e6,\""},
        {{"--plan", "--top", "0", "10"}, "--top \"0\" must be 1 or more"},
        {{"--plan", "--top", "1.5", "10"}, "--top \"1.5\" is not a whole number"},
        {{"--plan", "--images", "0", "10"}, "--images \"0\": the number of images must be from 1 to 100"},
    };
    for (const auto& c : cases) {
        const Outcome r = run(c.args);
        SCOPED_TRACE(c.args.front() + " ... " + c.args.back());
        EXPECT_EQ(r.err,
                  "ad9851-word: " + std::string(c.message) + "\nTry 'ad9851-word --help' for more information.\n");
        EXPECT_EQ(r.status, 2);
    }
}

} // namespace
