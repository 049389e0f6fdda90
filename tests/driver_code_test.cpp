// Driver code: the model of the chip's load interface, the generator's
// inputs, and the generated code of each target compiled or run with its
// pin writes fed to the model.

#include "chip_model.h"

#include "calc/driver_code.h"
#include "calc/errors.h"
#include "calc/result_line.h"
#include "calc/text_format.h"
#include "calc/tuner.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <span>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using chip::Load;
using chip::Pin;

// Pin sequences written by hand, for the model's own tests.
struct Sequence {
    chip::LoadInterface chip;

    explicit Sequence(std::uint8_t straps = 0x03) : chip(straps) {}
    void pulse(Pin pin)
    {
        chip.write(pin, true);
        chip.write(pin, false);
    }
    void reset() { pulse(Pin::Reset); }
    void enterSerial()
    {
        pulse(Pin::WClk);
        pulse(Pin::FqUd);
    }
    // `count` bits of `bits`, bit 0 first, each clocked in.
    void sendBits(std::uint64_t bits, int count)
    {
        for (int i = 0; i < count; ++i) {
            chip.write(Pin::Data, (bits >> i) & 1);
            pulse(Pin::WClk);
        }
    }
    // Bytes in the order sent, each least significant bit first.
    void sendBytes(std::initializer_list<std::uint8_t> bytes)
    {
        for (const std::uint8_t b : bytes)
            sendBits(b, 8);
    }
};

bool anyErrorSays(const chip::LoadInterface& chip, std::string_view text)
{
    for (const std::string& e : chip.errors())
        if (e.find(text) != std::string::npos)
            return true;
    return false;
}

TEST(LoadInterface, TheDatasheetExampleSentSeriallyW0Last)
{
    Sequence s;
    s.reset();
    s.enterSerial();
    EXPECT_TRUE(s.chip.serialMode());
    s.sendBytes({0x8E, 0xE3, 0x38, 0x0E, 0x09});
    s.pulse(Pin::FqUd);
    EXPECT_EQ(s.chip.appliedLoads(), (std::vector<Load>{{0x09, 0x0E, 0x38, 0xE3, 0x8E}}));
    EXPECT_EQ(s.chip.serialEntries(), 1);
    EXPECT_TRUE(s.chip.errors().empty());

    // A reset returns to parallel mode: the next W_CLK latches W0 again.
    s.reset();
    EXPECT_FALSE(s.chip.serialMode());
    EXPECT_EQ(s.chip.serialEntries(), 0);
    EXPECT_EQ(s.chip.resets(), 2);
}

TEST(LoadInterface, AParallelLoadLatchesD7ToD0IntoW0ToW4)
{
    Sequence s(0x00); // D6..D0 strapped low: DATA alone decides each byte
    s.reset();
    for (const bool d7 : {true, false, true, true, false}) {
        s.chip.write(Pin::Data, d7);
        s.pulse(Pin::WClk);
    }
    s.pulse(Pin::FqUd);
    s.pulse(Pin::FqUd); // nothing new latched: nothing new applied
    EXPECT_EQ(s.chip.appliedLoads(), (std::vector<Load>{{0x80, 0x00, 0x80, 0x80, 0x00}}));
    EXPECT_FALSE(s.chip.serialMode());
    EXPECT_TRUE(s.chip.errors().empty());
}

TEST(LoadInterface, RejectsWhatTheChipPunishes)
{
    const std::uint64_t someLoad = 0x090E38E38E;
    const struct {
        const char* label;
        std::uint8_t straps;
        std::function<void(Sequence&)> run;
        const char* error;
    } cases[] = {
        {"39 bits, then FQ_UD", 0x03,
         [&](Sequence& s) {
             s.reset();
             s.enterSerial();
             s.sendBits(someLoad, 39);
             s.pulse(Pin::FqUd);
         },
         "serial load of 39 bits"},
        {"41 bits, then FQ_UD", 0x03,
         [&](Sequence& s) {
             s.reset();
             s.enterSerial();
             s.sendBits(someLoad, 41);
             s.pulse(Pin::FqUd);
         },
         "serial load of 41 bits"},
        {"W0's D1 set in a serial load", 0x03,
         [](Sequence& s) {
             s.reset();
             s.enterSerial();
             s.sendBytes({0x8E, 0xE3, 0x38, 0x0E, 0x0B});
             s.pulse(Pin::FqUd);
         },
         "W0 = 0x0B: D1 set"},
        {"DATA changing at a W_CLK rising edge", 0x03,
         [](Sequence& s) {
             s.reset();
             s.enterSerial();
             s.chip.write(Pin::Data, false);
             s.chip.write(Pin::WClk, true);
             s.chip.write(Pin::Data, true);
             s.chip.write(Pin::WClk, false);
         },
         "DATA changed while W_CLK was high"},
        {"a partial parallel load applied", 0x03,
         [](Sequence& s) {
             s.reset();
             s.pulse(Pin::WClk);
             s.pulse(Pin::WClk);
             s.pulse(Pin::WClk);
             s.pulse(Pin::FqUd);
         },
         "partial parallel load of 3 of 5 bytes"},
        {"W0 alone without D2..D0 = 011", 0x01,
         [](Sequence& s) {
             s.reset();
             s.enterSerial();
         },
         "partial parallel load of 1 of 5 bytes"},
        {"a sixth parallel byte", 0x00,
         [](Sequence& s) {
             s.reset();
             for (int i = 0; i < 6; ++i)
                 s.pulse(Pin::WClk);
         },
         "sixth byte"},
        {"W_CLK before any reset", 0x03, [](Sequence& s) { s.pulse(Pin::WClk); }, "W_CLK rose before any reset"},
        {"FQ_UD while RESET is high", 0x03,
         [](Sequence& s) {
             s.chip.write(Pin::Reset, true);
             s.pulse(Pin::FqUd);
         },
         "FQ_UD rose while RESET was high"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        Sequence s(c.straps);
        c.run(s);
        EXPECT_TRUE(anyErrorSays(s.chip, c.error)) << (s.chip.errors().empty() ? "no error" : s.chip.errors()[0]);
        EXPECT_EQ(s.chip.errors().size(), 1u);
    }
}

TEST(LoadInterface, ReadsATraceOfPinWrites)
{
    chip::LoadInterface model;
    const auto pinOf = [](std::string_view name) -> std::optional<Pin> {
        if (name == "0")
            return Pin::WClk;
        if (name == "1")
            return Pin::FqUd;
        if (name == "3")
            return Pin::Reset;
        return std::nullopt;
    };
    const auto unreadable = chip::feedTrace(model, "3 1\n3 0\n0 1\n0 0\n1 1\n1 0\n7 1\n0 2\nerror: x\n", pinOf);
    EXPECT_EQ(unreadable, (std::vector<std::string>{"7 1", "0 2", "error: x"}));
    EXPECT_EQ(model.serialEntries(), 1);
}

std::optional<calc::Problem> problemOf(auto&& call)
{
    try {
        call();
    } catch (const calc::CalcError& e) {
        return e.problem();
    }
    return std::nullopt;
}

TEST(DriverPins, AssignmentsAndTheirMistakes)
{
    const calc::DriverPins arduino = calc::defaultDriverPins(calc::DriverTarget::Arduino);
    EXPECT_EQ(arduino, (calc::DriverPins{8, 9, 10, 11}));
    const struct {
        const char* text;
        calc::DriverPins pins;
    } good[] = {
        {"W_CLK=8,FQ_UD=9,DATA=10,RESET=11", {8, 9, 10, 11}},
        {"RESET=2, data = 3,w_clk=4,Fq_Ud=5", {4, 5, 3, 2}},
        {"DATA=12", {8, 9, 12, 11}},
        {"W_CLK=0,FQ_UD=255", {0, 255, 10, 11}},
        {"DATA=8,W_CLK=10", {10, 9, 8, 11}},
    };
    for (const auto& c : good)
        EXPECT_EQ(calc::parseDriverPins(c.text, arduino), c.pins) << c.text;
    for (const char* bad : {"", "DATA", "DATA=", "DATA=x", "DATA=-1", "DATA=256", "DATA=1.5", "DATA=0x10", "CLK=3",
                            "DATA=3,DATA=4", "DATA=8", "W_CLK=1,FQ_UD=1", "DATA=3,", ",DATA=3"})
        EXPECT_EQ(problemOf([&] { calc::parseDriverPins(bad, arduino); }), calc::Problem::InvalidSetting) << bad;
}

TEST(DriverName, OnlyIdentifiersThatAreNoKeyword)
{
    for (const char* good : {"ad9851", "dds", "Vfo_2", "a", "match", "print", "abcdefghijklmnopqrstuvwxyz012345"})
        EXPECT_NO_THROW(calc::checkDriverName(good)) << good;
    for (const char* bad : {"", "9dds", "_dds", "dds-1", "dds 1", "d\xC3\xA9", "int", "class", "def", "None", "lambda",
                            "_Bool", "and", "abcdefghijklmnopqrstuvwxyz0123456", "a*/"})
        EXPECT_EQ(problemOf([&] { calc::checkDriverName(bad); }), calc::Problem::InvalidSetting) << bad;
}

TEST(DriverCode, TextsInCommentsCannotEndThem)
{
    const struct {
        std::string_view text;
        const char* safe;
    } cases[] = {
        {"10", "10"},
        {"14070.5 kHz, +3", "14070.5 kHz, +3"},
        {"1*/x", "1\\x2A\\x2Fx"},
        {"1/*x", "1\\x2F\\x2Ax"},
        {"1\n#x", "1\\x0A#x"},
        {"1\r", "1\\x0D"},
        {"1\\", "1\\x5C"},
        {"1?\?/", "1\\x3F\\x3F\\x2F"},
        {std::string_view("1\0\x7F", 3), "1\\x00\\x7F"},
        {"\xC3\xA9", "\\xC3\\xA9"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(calc::commentSafe(c.text), c.safe) << c.text;
}

calc::DriverRow someRow() { return {{0x09, 0x0E, 0x38, 0xE3, 0x8E}, "10MHz", "9999999.991 Hz"}; }

TEST(DriverCode, RefusesWhatCannotBeEmitted)
{
    const calc::DriverRow row = someRow();
    const calc::DriverPins pins;
    const std::span<const calc::DriverRow> one(&row, 1);
    EXPECT_EQ(problemOf([&] { calc::emitDriverCode(calc::DriverTarget::C, pins, "ad9851", {}); }),
              calc::Problem::InvalidSetting);
    EXPECT_EQ(problemOf([&] { calc::emitDriverCode(calc::DriverTarget::C, pins, "for", one); }),
              calc::Problem::InvalidSetting);
    EXPECT_EQ(problemOf([&] {
                  calc::emitDriverCode(calc::DriverTarget::Arduino, {1, 2, 1, 3}, "ad9851", one);
              }),
              calc::Problem::InvalidSetting);
    EXPECT_EQ(problemOf([&] {
                  calc::emitDriverCode(calc::DriverTarget::MicroPython, {1, 2, 3, 300}, "ad9851", one);
              }),
              calc::Problem::InvalidSetting);
}

TEST(DriverCode, TheNamePrefixesEveryDefinedName)
{
    const calc::DriverRow row = someRow();
    for (const auto target : {calc::DriverTarget::C, calc::DriverTarget::Arduino, calc::DriverTarget::MicroPython}) {
        const std::string code = calc::emitDriverCode(target, calc::defaultDriverPins(target), "vfo", {&row, 1});
        SCOPED_TRACE(code);
        for (const char* defined : {"vfo_reset(", "vfo_enter_serial(", "vfo_load(", "vfo_power_down(", "vfo_loads",
                                    "VFO_W_CLK", "VFO_FQ_UD", "VFO_DATA", "VFO_RESET"})
            EXPECT_NE(code.find(defined), std::string::npos) << defined;
        EXPECT_EQ(code.find("ad9851_"), std::string::npos);
        EXPECT_EQ(code.find("AD9851_"), std::string::npos);
    }
    const std::string c = calc::emitDriverCode(calc::DriverTarget::C, {}, "vfo", {&row, 1});
    EXPECT_NE(c.find("enum vfo_pin { VFO_W_CLK, VFO_FQ_UD, VFO_DATA, VFO_RESET };"), std::string::npos);
    EXPECT_NE(c.find("void vfo_write_pin(enum vfo_pin pin, int level);"), std::string::npos);
    EXPECT_NE(c.find("void vfo_load(const unsigned char entry[5])"), std::string::npos);
    EXPECT_NE(c.find("#define VFO_DELAY()"), std::string::npos);
}

TEST(DriverRow, TheDatasheetExample)
{
    // 10 MHz from a 30 MHz reference times six, phase 11.25 degrees.
    calc::TunerSettings s;
    s.unit = calc::MHz;
    s.clock.crystalMHz = "30";
    s.phaseSteps = 1;
    for (const auto mode : {calc::Serial, calc::Parallel}) {
        s.mode = mode;
        calc::Tuner tuner(s);
        const calc::DriverRow row = calc::driverRow(tuner, tuner.tune("10"), "10");
        EXPECT_EQ(row.load, (Load{0x09, 0x0E, 0x38, 0xE3, 0x8E}));
        EXPECT_EQ(row.frequency, "10MHz");
        EXPECT_EQ(row.actual, "9999999.991 Hz");
    }
}

// ---- The generated code of each target, against the model ------------

std::string quote(const std::string& s)
{
    std::string q = "'";
    for (const char c : s)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

// Appends a blank and the argument, quoted for the shell.
void appendArgument(std::string& command, const std::string& argument)
{
    command += ' ';
    command += quote(argument);
}

std::string slurp(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void writeFile(const fs::path& p, std::string_view text) { std::ofstream(p, std::ios::binary) << text; }

// Runs a shell command with its output in `out`; its exit status.
int run(const std::string& command, const fs::path& out)
{
    const int raw = std::system((command + " >" + quote(out.string()) + " 2>&1").c_str());
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

std::string hexBytes(const Load& load)
{
    std::string s;
    calc::appendByteList(s, load);
    return s;
}

// A frequency: its text for the generator, and for ad9851-word when that
// refuses the first (a line break).
struct Frequency {
    std::string text;
    std::string commandLineText;
};

struct ProofCase {
    std::string label;
    std::vector<std::string> options;              // ad9851-word's word and clock options
    std::function<calc::TunerSettings()> settings; // the same, as settings
    std::vector<Frequency> frequencies;
    std::string name = "ad9851";
    std::string pins; // --pins, or empty
};

// The loads `ad9851-word --load` prints, as W0..W4.
std::vector<Load> loadsFromTheCommandLine(const ProofCase& c, const fs::path& dir)
{
    std::string command = quote(AD9851_WORD) + " --load";
    for (const std::string& o : c.options)
        appendArgument(command, o);
    for (const Frequency& f : c.frequencies)
        appendArgument(command, f.commandLineText.empty() ? f.text : f.commandLineText);
    const fs::path out = dir / "load.txt";
    const int status = std::system((command + " >" + quote(out.string()) + " 2>/dev/null").c_str());
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << command;
    std::vector<Load> loads;
    std::istringstream lines(slurp(out));
    for (std::string line; std::getline(lines, line);) {
        Load serialOrder{};
        unsigned b[5];
        EXPECT_EQ(std::sscanf(line.c_str(), "{0x%2X,0x%2X,0x%2X,0x%2X,0x%2X}", &b[0], &b[1], &b[2], &b[3], &b[4]), 5)
            << line;
        for (int i = 0; i < 5; ++i)
            serialOrder[std::size_t(i)] = std::uint8_t(b[i]);
        // Serial: W4 first, W0 last.
        loads.push_back({serialOrder[4], serialOrder[3], serialOrder[2], serialOrder[1], serialOrder[0]});
    }
    return loads;
}

std::vector<ProofCase> proofCases()
{
    return {
        {"datasheet",
         {"-c", "30", "-u", "MHz", "--phase", "11.25"},
         [] {
             calc::TunerSettings s;
             s.unit = calc::MHz;
             s.clock.crystalMHz = "30";
             s.phaseSteps = 1;
             return s;
         },
         {{"10", ""}},
         "ad9851",
         ""},
        {"power_down_rows",
         {"--power-down", "-u", "KHz"},
         [] {
             calc::TunerSettings s;
             s.unit = calc::KHz;
             s.powerDown = true;
             return s;
         },
         {{"10", ""}, {"7000", ""}, {"14070.5", ""}, {"0", ""}, {"59999.999", ""}},
         "ad9851",
         ""},
        {"ad9850_named_pins",
         {"--chip", "ad9850", "--ref-hz", "125000000", "-u", "MHz"},
         [] {
             calc::TunerSettings s;
             s.unit = calc::MHz;
             s.clock.chip = calc::Chip::AD9850;
             s.clock.referenceHz = "125000000";
             s.clock.multiplier = false;
             return s;
         },
         {{"10", ""}, {"1.5", ""}, {"40", ""}},
         "dds",
         "data=4, W_CLK=2,FQ_UD=3,RESET=5"},
        {"phase_texts_to_escape",
         {"--ref-hz", "100000000", "--no-multiplier", "--phase", "348.75", "-u", "Hz"},
         [] {
             calc::TunerSettings s;
             s.unit = calc::Hz;
             s.clock.referenceHz = "100000000";
             s.clock.multiplier = false;
             s.phaseSteps = 31;
             return s;
         },
         {{"1000000", ""}, {"5e6 */ x", ""}, {"&H10 ?\\", ""}, {"1e6\r\n*/ # \"\"\" x = 1 \\", "1e6"}},
         "Vfo_2",
         "RESET=0"},
    };
}

// How one target's code is built, run and read.
struct TargetRun {
    std::string trace;   // the pin writes, one a line
    std::string failure; // what went wrong building or running it, if anything
};

class DriverProof : public ::testing::TestWithParam<calc::DriverTarget> {
protected:
    void SetUp() override;
    // Writes the generated code, builds it if it must, and runs the example
    // entry point (start or setup), every row's load and a power-down of the
    // first row.
    TargetRun build(const ProofCase& c, const std::string& code, const fs::path& dir, std::size_t rows);
    std::optional<Pin> pinOf(std::string_view text, const calc::DriverPins& pins) const;
    void prove(const ProofCase& c, const std::string& code, const std::vector<Load>& printed, const fs::path& dir);
    fs::path workDir(const ProofCase& c) const;
};

TargetRun DriverProof::build(const ProofCase& c, const std::string& code, const fs::path& dir, std::size_t rows)
{
    const std::string& n = c.name;
    const std::string count = std::to_string(rows);
    TargetRun r;
    const fs::path log = dir / "build.log", trace = dir / "trace.txt";
    const auto fail = [&](const std::string& what) {
        r.failure = what + ":\n" + slurp(log);
        return r;
    };
    switch (GetParam()) {
    case calc::DriverTarget::C: {
        writeFile(dir / "driver.c", code);
        writeFile(dir / "main.c",
                  "#include <stdio.h>\n"
                  "enum " +
                      n +
                      "_pin { P0, P1, P2, P3 };\n"
                      "extern const unsigned char " +
                      n +
                      "_loads[][5];\n"
                      "void " +
                      n +
                      "_start(void);\n"
                      "void " +
                      n +
                      "_load(const unsigned char entry[5]);\n"
                      "void " +
                      n +
                      "_power_down(const unsigned char entry[5]);\n"
                      "void " +
                      n + "_write_pin(enum " + n +
                      "_pin pin, int level);\n"
                      "void " +
                      n + "_write_pin(enum " + n +
                      "_pin pin, int level)\n"
                      "{\n    printf(\"%d %d\\n\", (int)pin, level);\n}\n"
                      "int main(void)\n{\n    int i;\n    " +
                      n +
                      "_start();\n"
                      "    for (i = 0; i < " +
                      count + "; ++i)\n        " + n + "_load(" + n +
                      "_loads[i]);\n"
                      "    " +
                      n + "_power_down(" + n + "_loads[0]);\n    return 0;\n}\n");
        const std::string flags =
            " -std=c99 -Wall -Wextra -Werror -pedantic -Wmissing-prototypes -Wstrict-prototypes"
            " -Wconversion -Wshadow";
        const std::string cc = quote(DRIVER_CC);
        if (run(cc + flags + " -c " + quote((dir / "driver.c").string()) + " -o " + quote((dir / "driver.o").string()),
                log) != 0)
            return fail("cc driver.c");
        if (run(cc + flags + " " + quote((dir / "main.c").string()) + " " + quote((dir / "driver.o").string()) +
                    " -o " + quote((dir / "driver").string()),
                log) != 0)
            return fail("cc main.c");
        if (run(quote((dir / "driver").string()), trace) != 0)
            return fail("running it");
        break;
    }
    case calc::DriverTarget::Arduino: {
        writeFile(dir / "driver.ino", code);
        writeFile(dir / "main.cpp",
                  "#include <Arduino.h>\n#include \"driver.ino\"\n"
                  "int main()\n{\n    setup();\n    loop();\n"
                  "    for (int i = 0; i < " +
                      count + "; ++i)\n        " + n + "_load(" + n +
                      "_loads[i]);\n"
                      "    " +
                      n + "_power_down(" + n + "_loads[0]);\n}\n");
        const std::string stub = std::string(DRIVER_STUBS) + "/arduino_stub";
        if (run(quote(DRIVER_CXX) + " -std=gnu++11 -Wall -Wextra -Werror -I" + quote(stub) + " " +
                    quote((dir / "main.cpp").string()) + " " + quote(stub + "/Arduino.cpp") + " -o " +
                    quote((dir / "driver").string()),
                log) != 0)
            return fail("g++ driver.ino");
        if (run(quote((dir / "driver").string()), trace) != 0)
            return fail("running it");
        break;
    }
    case calc::DriverTarget::MicroPython: {
        writeFile(dir / "driver.py", code);
        // The module run as a board runs its main.py, which calls the example
        // entry point; then its routines.
        writeFile(dir / "run.py",
                  "import runpy, sys\n"
                  "d = runpy.run_path(sys.argv[1], run_name='__main__')\n"
                  "for row in d['" +
                      n + "_loads']:\n    d['" + n +
                      "_load'](row)\n"
                      "d['" +
                      n + "_power_down'](d['" + n + "_loads'][0])\n");
        const std::string python = quote(DRIVER_PYTHON);
        const std::string path =
            "PYTHONDONTWRITEBYTECODE=1 PYTHONPATH=" + quote(std::string(DRIVER_STUBS) + "/micropython_stub") + " ";
        if (run(python + " -m py_compile " + quote((dir / "driver.py").string()), log) != 0)
            return fail("py_compile");
        if (run(path + python + " " + quote((dir / "run.py").string()) + " " + quote((dir / "driver.py").string()),
                trace) != 0)
            return fail("running it");
        break;
    }
    }
    r.trace = slurp(trace);
    return r;
}

std::optional<Pin> DriverProof::pinOf(std::string_view text, const calc::DriverPins& pins) const
{
    int number = -1;
    std::from_chars(text.data(), text.data() + text.size(), number);
    if (GetParam() == calc::DriverTarget::C) // the enum's order
        return number >= 0 && number <= 3 ? std::optional<Pin>(Pin(number)) : std::nullopt;
    if (number == pins.wClk)
        return Pin::WClk;
    if (number == pins.fqUd)
        return Pin::FqUd;
    if (number == pins.data)
        return Pin::Data;
    if (number == pins.reset)
        return Pin::Reset;
    return std::nullopt;
}

void DriverProof::SetUp()
{
    if (GetParam() == calc::DriverTarget::MicroPython && std::string_view(DRIVER_PYTHON).empty())
        GTEST_SKIP() << "no python3 found when configuring";
}

// Builds and runs `code` and feeds its pin writes to the model: one reset,
// one entry into serial mode, then the example entry point's load, each
// row's and the first row's with power-down set, exactly the `printed` loads.
void DriverProof::prove(const ProofCase& c, const std::string& code, const std::vector<Load>& printed,
                        const fs::path& dir)
{
    const calc::DriverTarget target = GetParam();
    const calc::DriverPins defaults = calc::defaultDriverPins(target);
    const calc::DriverPins pins = c.pins.empty() ? defaults : calc::parseDriverPins(c.pins, defaults);
    const TargetRun r = build(c, code, dir, printed.size());
    ASSERT_EQ(r.failure, "") << code;

    chip::LoadInterface model;
    const auto unreadable = chip::feedTrace(model, r.trace, [&](std::string_view text) { return pinOf(text, pins); });
    EXPECT_EQ(unreadable, std::vector<std::string>{});
    EXPECT_EQ(model.errors(), std::vector<std::string>{});
    EXPECT_EQ(model.resets(), 1);
    EXPECT_EQ(model.serialEntries(), 1);
    std::vector<std::string> expected{hexBytes(printed[0])};
    for (const Load& l : printed)
        expected.push_back(hexBytes(l));
    Load off = printed[0];
    off[0] |= 0x04;
    expected.push_back(hexBytes(off));
    std::vector<std::string> applied;
    for (const Load& l : model.appliedLoads()) {
        applied.push_back(hexBytes(l));
        EXPECT_EQ(l[0] & 0x02, 0) << "W0's D1 set in " << applied.back();
    }
    EXPECT_EQ(applied, expected);
}

fs::path DriverProof::workDir(const ProofCase& c) const
{
    const fs::path dir =
        fs::path(DRIVER_WORK) / ::testing::UnitTest::GetInstance()->current_test_info()->name() / c.label;
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

TEST_P(DriverProof, LoadsWhatTheCommandLinePrints)
{
    const calc::DriverTarget target = GetParam();
    for (const ProofCase& c : proofCases()) {
        SCOPED_TRACE(c.label);
        const fs::path dir = workDir(c);
        calc::Tuner tuner(c.settings());
        std::vector<calc::DriverRow> rows;
        for (const Frequency& f : c.frequencies)
            rows.push_back(calc::driverRow(tuner, tuner.tune(f.text), f.text));
        const std::vector<Load> printed = loadsFromTheCommandLine(c, dir);
        ASSERT_EQ(printed.size(), rows.size());
        for (std::size_t i = 0; i < rows.size(); ++i)
            EXPECT_EQ(hexBytes(rows[i].load), hexBytes(printed[i])) << c.frequencies[i].text;

        const calc::DriverPins defaults = calc::defaultDriverPins(target);
        const calc::DriverPins pins = c.pins.empty() ? defaults : calc::parseDriverPins(c.pins, defaults);
        prove(c, calc::emitDriverCode(target, pins, c.name, rows), printed, dir);
    }
}

// The file `ad9851-word --emit` writes, built and run against the model.
TEST_P(DriverProof, TheCommandLineEmitsCodeThatLoadsItsWords)
{
    const char* targetName[] = {"c", "arduino", "micropython"};
    for (const ProofCase& c : proofCases()) {
        SCOPED_TRACE(c.label);
        const fs::path dir = workDir(c);
        std::string command =
            quote(AD9851_WORD) + " --emit " + targetName[int(GetParam())] + " --name " + quote(c.name);
        if (!c.pins.empty()) {
            command += " --pins";
            appendArgument(command, c.pins);
        }
        for (const std::string& o : c.options)
            appendArgument(command, o);
        for (const Frequency& f : c.frequencies)
            appendArgument(command, f.commandLineText.empty() ? f.text : f.commandLineText);
        const fs::path out = dir / "emitted.txt", err = dir / "emitted.err";
        ASSERT_EQ(run("( " + command + " 2>" + quote(err.string()) + " )", out), 0) << command << "\n" << slurp(err);
        prove(c, slurp(out), loadsFromTheCommandLine(c, dir), dir);
    }
}

INSTANTIATE_TEST_SUITE_P(Targets, DriverProof,
                         ::testing::Values(calc::DriverTarget::C, calc::DriverTarget::Arduino,
                                           calc::DriverTarget::MicroPython),
                         [](const auto& info) {
                             switch (info.param) {
                             case calc::DriverTarget::C:
                                 return std::string("C");
                             case calc::DriverTarget::Arduino:
                                 return std::string("Arduino");
                             case calc::DriverTarget::MicroPython:
                                 break;
                             }
                             return std::string("MicroPython");
                         });

} // namespace
