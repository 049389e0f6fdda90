#include "calc/driver_code.h"

#include "calc/errors.h"
#include "calc/text_format.h"
#include "calc/units.h"

#include <algorithm>
#include <charconv>
#include <vector>

namespace calc {

namespace {

constexpr std::size_t longestName = 32;

// Keywords of C (to C23) and C++ (to C++20), and the alternative operator
// spellings of C++.
constexpr std::string_view cKeywords[] = {
    "alignas",
    "alignof",
    "and",
    "and_eq",
    "asm",
    "auto",
    "bitand",
    "bitor",
    "bool",
    "break",
    "case",
    "catch",
    "char",
    "char8_t",
    "char16_t",
    "char32_t",
    "class",
    "co_await",
    "co_return",
    "co_yield",
    "compl",
    "concept",
    "const",
    "const_cast",
    "consteval",
    "constexpr",
    "constinit",
    "continue",
    "decltype",
    "default",
    "delete",
    "do",
    "double",
    "dynamic_cast",
    "else",
    "enum",
    "explicit",
    "export",
    "extern",
    "false",
    "float",
    "for",
    "friend",
    "goto",
    "if",
    "inline",
    "int",
    "long",
    "mutable",
    "namespace",
    "new",
    "noexcept",
    "not",
    "not_eq",
    "nullptr",
    "operator",
    "or",
    "or_eq",
    "private",
    "protected",
    "public",
    "register",
    "reinterpret_cast",
    "requires",
    "restrict",
    "return",
    "short",
    "signed",
    "sizeof",
    "static",
    "static_assert",
    "static_cast",
    "struct",
    "switch",
    "template",
    "this",
    "thread_local",
    "throw",
    "true",
    "try",
    "typedef",
    "typeid",
    "typename",
    "typeof",
    "typeof_unqual",
    "union",
    "unsigned",
    "using",
    "virtual",
    "void",
    "volatile",
    "wchar_t",
    "while",
    "xor",
    "xor_eq",
    "_Alignas",
    "_Alignof",
    "_Atomic",
    "_BitInt",
    "_Bool",
    "_Complex",
    "_Decimal128",
    "_Decimal32",
    "_Decimal64",
    "_Generic",
    "_Imaginary",
    "_Noreturn",
    "_Static_assert",
    "_Thread_local",
};

// Keywords of Python 3 that are none of C or C++.
constexpr std::string_view pythonKeywords[] = {
    "as", "assert", "async",  "await",    "def",  "del",   "elif", "except", "finally", "from", "global", "import",
    "in", "is",     "lambda", "nonlocal", "pass", "raise", "with", "yield",  "False",   "None", "True",
};

bool isAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isAsciiDigit(char c) { return c >= '0' && c <= '9'; }

std::string upperCase(std::string_view text)
{
    std::string upper(text);
    for (char& c : upper)
        if (c >= 'a' && c <= 'z')
            c = char(c - 'a' + 'A');
    return upper;
}

[[noreturn]] void invalid(std::string what) { throw CalcError(Problem::InvalidSetting, std::move(what)); }

std::string_view trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// The signals in the order of the C enum.
struct Signal {
    std::string_view name;
    int DriverPins::*pin;
};
constexpr Signal signals[] = {
    {"W_CLK", &DriverPins::wClk},
    {"FQ_UD", &DriverPins::fqUd},
    {"DATA", &DriverPins::data},
    {"RESET", &DriverPins::reset},
};

void checkPins(const DriverPins& pins)
{
    for (std::size_t i = 0; i < std::size(signals); ++i) {
        const int pin = pins.*signals[i].pin;
        if (pin < 0 || pin > 255)
            invalid("pin " + std::to_string(pin) + " for " + std::string(signals[i].name) +
                    " is not a pin number from 0 to 255");
        for (std::size_t j = 0; j < i; ++j)
            if (pins.*signals[j].pin == pin)
                invalid(std::string(signals[j].name) + " and " + std::string(signals[i].name) + " are both on pin " +
                        std::to_string(pin));
    }
}

// How each language writes what the three files share.
struct Language {
    std::string_view commentOpen;  // the line before the header, if any
    std::string_view commentLine;  // the start of each header line
    std::string_view commentClose; // the line after the header, if any
    std::string_view rowOpen;      // around a row's bytes
    std::string_view rowClose;
    std::string_view rowComment; // before a row's comment
    std::string_view rowCommentEnd;
    std::string_view delayHook;   // how the code calls its delay hook
    std::string_view delayAdvice; // when to make it wait
    std::string_view body;        // the code after the header
};

// The header every file starts with, "@name" and "@NAME" standing for the prefix.
std::string header(const Language& language, std::size_t rowCount)
{
    const std::vector<std::string> lines = {
        "AD9851 / AD9850 serial loading: " + std::to_string(rowCount) + (rowCount == 1 ? " load" : " loads") +
            " and the routines that send them.",
        "",
        "Wiring: this code drives W_CLK, FQ_UD, DATA (to D7) and RESET.  D2, D1 and",
        "D0 must be strapped to 0, 1, 1, as the common modules do: after a reset,",
        "one W_CLK pulse and one FQ_UD pulse then enter serial mode.  Parallel",
        "loading is not covered: the modules wire the serial interface.",
        "",
        "A load is W0..W4 as the datasheet lists them: W0 the control byte (D7..D3",
        "phase in 11.25-degree steps, D2 power-down, D1 always 0, D0 the 6x",
        "multiplier), W1..W4 the tuning word, most significant byte first.  It is",
        "sent least significant bit first: W4 bit 0 first, W0 bit 7 last.",
        "",
        "Timing: the chip needs its W_CLK and FQ_UD pulses, and DATA before and",
        "after each W_CLK rise, to last a few nanoseconds, and RESET a few clock",
        "cycles.  This code relies on consecutive pin writes lying at least that",
        "far apart, and calls " + std::string(language.delayHook) + " after each write as a delay hook.",
        std::string(language.delayAdvice),
    };
    std::string out;
    if (!language.commentOpen.empty())
        out += std::string(language.commentOpen) + '\n';
    for (const std::string& line : lines) {
        out += language.commentLine;
        if (!line.empty())
            out += ' ' + line;
        out += '\n';
    }
    if (!language.commentClose.empty())
        out += std::string(language.commentClose) + '\n';
    return out;
}

// The rows of the table, one a line.
std::string tableRows(const Language& language, std::span<const DriverRow> rows)
{
    std::string out;
    for (const DriverRow& row : rows) {
        out += "    ";
        out += language.rowOpen;
        appendByteLiterals(out, row.load, ',');
        out += language.rowClose;
        out += ',';
        out += language.rowComment;
        out += commentSafe(row.frequency) + ": " + commentSafe(row.actual);
        out += language.rowCommentEnd;
        out += '\n';
    }
    return out;
}

constexpr std::string_view cCode = R"(
enum @name_pin { @NAME_W_CLK, @NAME_FQ_UD, @NAME_DATA, @NAME_RESET };

/* Supplied by the target: drives `pin` high (level 1) or low (level 0). */
void @name_write_pin(enum @name_pin pin, int level);

void @name_reset(void);
void @name_enter_serial(void);
void @name_load(const unsigned char entry[5]);
void @name_power_down(const unsigned char entry[5]);
void @name_start(void);

/* The delay hook: see the timing note above. */
#ifndef @NAME_DELAY
#define @NAME_DELAY() ((void)0)
#endif

/* Each row: W0, W1, W2, W3, W4. */
extern const unsigned char @name_loads[][5];
const unsigned char @name_loads[][5] = {
@ROWS};
#define @NAME_LOAD_COUNT (sizeof @name_loads / sizeof @name_loads[0])

static void @name_set(enum @name_pin pin, int level)
{
    @name_write_pin(pin, level);
    @NAME_DELAY();
}

static void @name_pulse(enum @name_pin pin)
{
    @name_set(pin, 1);
    @name_set(pin, 0);
}

/* Resets the chip into parallel mode, the other outputs low first. */
void @name_reset(void)
{
    @name_set(@NAME_W_CLK, 0);
    @name_set(@NAME_FQ_UD, 0);
    @name_set(@NAME_DATA, 0);
    @name_pulse(@NAME_RESET);
}

/* Right after a reset: W_CLK latches W0 = xxxxx011 from the strapped D2..D0,
   and FQ_UD switches the chip to serial mode. */
void @name_enter_serial(void)
{
    @name_pulse(@NAME_W_CLK);
    @name_pulse(@NAME_FQ_UD);
}

/* Sends one load, W4 bit 0 first and W0 bit 7 last, and applies it.  W0's D1
   goes out as 0 whatever the entry says: a 1 enters a factory test mode. */
void @name_load(const unsigned char entry[5])
{
    int i, bit;
    for (i = 4; i >= 0; --i) {
        const unsigned char byte = i == 0 ? (unsigned char)(entry[0] & 0xFD) : entry[i];
        for (bit = 0; bit < 8; ++bit) {
            @name_set(@NAME_DATA, (byte >> bit) & 1);
            @name_pulse(@NAME_W_CLK);
        }
    }
    @name_pulse(@NAME_FQ_UD);
}

/* Loads `entry` with W0's power-down bit D2 set: the output stops and the
   chip draws little current until @name_load() sends a load without it. */
void @name_power_down(const unsigned char entry[5])
{
    unsigned char off[5];
    int i;
    for (i = 0; i < 5; ++i)
        off[i] = entry[i];
    off[0] = (unsigned char)(off[0] | 0x04);
    @name_load(off);
}

/* The example entry point: reset, serial mode, the first load. */
void @name_start(void)
{
    @name_reset();
    @name_enter_serial();
    @name_load(@name_loads[0]);
}
)";

constexpr std::string_view arduinoCode = R"(
const int @NAME_W_CLK = @W_CLK_PIN;
const int @NAME_FQ_UD = @FQ_UD_PIN;
const int @NAME_DATA = @DATA_PIN;
const int @NAME_RESET = @RESET_PIN;

// Each row: W0, W1, W2, W3, W4.
const unsigned char @name_loads[][5] = {
@ROWS};
const unsigned @NAME_LOAD_COUNT = sizeof @name_loads / sizeof @name_loads[0];

// The delay hook: see the timing note above.
void @name_delay() {}

void @name_set(int pin, int level)
{
    digitalWrite(pin, level ? HIGH : LOW);
    @name_delay();
}

void @name_pulse(int pin)
{
    @name_set(pin, 1);
    @name_set(pin, 0);
}

// Resets the chip into parallel mode, the other outputs low first.
void @name_reset()
{
    @name_set(@NAME_W_CLK, 0);
    @name_set(@NAME_FQ_UD, 0);
    @name_set(@NAME_DATA, 0);
    @name_pulse(@NAME_RESET);
}

// Right after a reset: W_CLK latches W0 = xxxxx011 from the strapped D2..D0,
// and FQ_UD switches the chip to serial mode.
void @name_enter_serial()
{
    @name_pulse(@NAME_W_CLK);
    @name_pulse(@NAME_FQ_UD);
}

// Sends one load, W4 bit 0 first and W0 bit 7 last, and applies it.  W0's D1
// goes out as 0 whatever the entry says: a 1 enters a factory test mode.
void @name_load(const unsigned char entry[5])
{
    for (int i = 4; i >= 0; --i) {
        const unsigned char byte = i == 0 ? (unsigned char)(entry[0] & 0xFD) : entry[i];
        for (int bit = 0; bit < 8; ++bit) {
            @name_set(@NAME_DATA, (byte >> bit) & 1);
            @name_pulse(@NAME_W_CLK);
        }
    }
    @name_pulse(@NAME_FQ_UD);
}

// Loads `entry` with W0's power-down bit D2 set: the output stops and the
// chip draws little current until @name_load() sends a load without it.
void @name_power_down(const unsigned char entry[5])
{
    unsigned char off[5];
    for (int i = 0; i < 5; ++i)
        off[i] = entry[i];
    off[0] = (unsigned char)(off[0] | 0x04);
    @name_load(off);
}

// The example: reset, serial mode, the first load.
void setup()
{
    pinMode(@NAME_W_CLK, OUTPUT);
    pinMode(@NAME_FQ_UD, OUTPUT);
    pinMode(@NAME_DATA, OUTPUT);
    pinMode(@NAME_RESET, OUTPUT);
    @name_reset();
    @name_enter_serial();
    @name_load(@name_loads[0]);
}

void loop() {}
)";

constexpr std::string_view micropythonCode = R"(
from machine import Pin

@NAME_W_CLK = Pin(@W_CLK_PIN, Pin.OUT, value=0)
@NAME_FQ_UD = Pin(@FQ_UD_PIN, Pin.OUT, value=0)
@NAME_DATA = Pin(@DATA_PIN, Pin.OUT, value=0)
@NAME_RESET = Pin(@RESET_PIN, Pin.OUT, value=0)

# Each row: W0, W1, W2, W3, W4.
@name_loads = (
@ROWS)


def @name_delay():
    """The delay hook: see the timing note above."""


def @name_set(pin, level):
    pin.value(level)
    @name_delay()


def @name_pulse(pin):
    @name_set(pin, 1)
    @name_set(pin, 0)


def @name_reset():
    """Resets the chip into parallel mode, the other outputs low first."""
    @name_set(@NAME_W_CLK, 0)
    @name_set(@NAME_FQ_UD, 0)
    @name_set(@NAME_DATA, 0)
    @name_pulse(@NAME_RESET)


def @name_enter_serial():
    """Right after a reset: W_CLK latches W0 = xxxxx011 from the strapped
    D2..D0, and FQ_UD switches the chip to serial mode."""
    @name_pulse(@NAME_W_CLK)
    @name_pulse(@NAME_FQ_UD)


def @name_load(entry):
    """Sends one load, W4 bit 0 first and W0 bit 7 last, and applies it.  W0's
    D1 goes out as 0 whatever the entry says: a 1 enters a factory test mode."""
    for i in range(4, -1, -1):
        byte = entry[0] & 0xFD if i == 0 else entry[i]
        for bit in range(8):
            @name_set(@NAME_DATA, (byte >> bit) & 1)
            @name_pulse(@NAME_W_CLK)
    @name_pulse(@NAME_FQ_UD)


def @name_power_down(entry):
    """Loads entry with W0's power-down bit D2 set: the output stops and the
    chip draws little current until @name_load() sends a load without it."""
    @name_load((entry[0] | 0x04,) + tuple(entry[1:]))


def @name_start():
    """The example entry point: reset, serial mode, the first load."""
    @name_reset()
    @name_enter_serial()
    @name_load(@name_loads[0])


if __name__ == "__main__":
    @name_start()
)";

const Language& languageOf(DriverTarget target)
{
    static const Language c{"/*",
                            " *",
                            " */",
                            "{",
                            "}",
                            " /* ",
                            " */",
                            "@NAME_DELAY()",
                            "Where the target writes pins faster, define it to wait about 10 ns.",
                            cCode};
    static const Language arduino{"",
                                  "//",
                                  "",
                                  "{",
                                  "}",
                                  " // ",
                                  "",
                                  "@name_delay()",
                                  "digitalWrite takes microseconds; on a faster board, make it wait.",
                                  arduinoCode};
    static const Language micropython{"",
                                      "#",
                                      "",
                                      "(",
                                      ")",
                                      "  # ",
                                      "",
                                      "@name_delay()",
                                      "A pin write takes microseconds; on a faster target, make it wait.",
                                      micropythonCode};
    switch (target) {
    case DriverTarget::C:
        return c;
    case DriverTarget::Arduino:
        return arduino;
    case DriverTarget::MicroPython:
        break;
    }
    return micropython;
}

// `text` with each "@KEY" of `values` replaced by its value.
std::string substituted(std::string_view text, std::span<const std::pair<std::string_view, std::string>> values)
{
    std::string out;
    out.reserve(text.size() + 1024);
    std::size_t i = 0;
    while (i < text.size()) {
        const std::string_view rest = text.substr(i);
        const auto value =
            std::find_if(values.begin(), values.end(), [&](const auto& v) { return rest.starts_with(v.first); });
        if (value != values.end()) {
            out += value->second;
            i += value->first.size();
        } else {
            out += text[i++];
        }
    }
    return out;
}

} // namespace

DriverPins defaultDriverPins(DriverTarget target) noexcept
{
    if (target == DriverTarget::MicroPython)
        return {18, 19, 21, 22};
    return {};
}

DriverPins parseDriverPins(std::string_view text, const DriverPins& defaults)
{
    DriverPins pins = defaults;
    bool given[std::size(signals)] = {};
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t comma = std::min(text.find(',', start), text.size());
        const std::string_view item = trimmed(text.substr(start, comma - start));
        start = comma + 1;
        const std::size_t equals = item.find('=');
        if (equals == std::string_view::npos)
            invalid("pin assignment \"" + std::string(item) + "\" is not SIGNAL=NUMBER");
        const std::string signal = upperCase(trimmed(item.substr(0, equals)));
        const std::string_view number = trimmed(item.substr(equals + 1));
        const auto known =
            std::find_if(std::begin(signals), std::end(signals), [&](const Signal& s) { return s.name == signal; });
        if (known == std::end(signals))
            invalid("unknown signal \"" + signal + "\": the signals are W_CLK, FQ_UD, DATA and RESET");
        const auto index = std::size_t(known - std::begin(signals));
        if (given[index])
            invalid("pin for " + signal + " given twice");
        given[index] = true;
        int value = -1;
        const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
        if (number.empty() || error != std::errc() || end != number.data() + number.size() || value > 255)
            invalid("pin \"" + std::string(number) + "\" for " + signal + " is not a pin number from 0 to 255");
        pins.*known->pin = value;
    }
    checkPins(pins);
    return pins;
}

void checkDriverName(std::string_view name)
{
    const bool identifier =
        !name.empty() && isAsciiLetter(name.front()) &&
        std::all_of(name.begin(), name.end(), [](char c) { return isAsciiLetter(c) || isAsciiDigit(c) || c == '_'; });
    if (!identifier || name.size() > longestName)
        invalid("name \"" + commentSafe(name) + "\" is not a letter followed by at most " +
                std::to_string(longestName - 1) + " letters, digits and underscores");
    if (isCKeyword(name) ||
        std::find(std::begin(pythonKeywords), std::end(pythonKeywords), name) != std::end(pythonKeywords))
        invalid("name \"" + std::string(name) + "\" is a keyword");
}

bool isCKeyword(std::string_view name)
{
    return std::find(std::begin(cKeywords), std::end(cKeywords), name) != std::end(cKeywords);
}

DriverRow driverRow(const Tuner& tuner, const Tuned& tuned, std::string_view frequency)
{
    DriverRow row;
    row.load = loadBytes(tuner.controlByte(), tuned.word, Parallel);
    row.frequency = std::string(frequency) + std::string(tuner.unitCaption());
    row.actual = formatHz(tuner.details(tuned).actualMilliHz) + " Hz";
    return row;
}

std::string emitDriverCode(DriverTarget target, const DriverPins& pins, std::string_view name,
                           std::span<const DriverRow> rows)
{
    checkDriverName(name);
    checkPins(pins);
    if (rows.empty())
        invalid("no frequency to load");
    const Language& language = languageOf(target);
    const std::pair<std::string_view, std::string> values[] = {
        {"@name", std::string(name)},
        {"@NAME", upperCase(name)},
        {"@W_CLK_PIN", std::to_string(pins.wClk)},
        {"@FQ_UD_PIN", std::to_string(pins.fqUd)},
        {"@DATA_PIN", std::to_string(pins.data)},
        {"@RESET_PIN", std::to_string(pins.reset)},
        {"@ROWS", tableRows(language, rows)},
    };
    return substituted(header(language, rows.size()) + std::string(language.body), values);
}

std::string commentSafe(std::string_view text)
{
    static constexpr char hexDigits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte > 0x7E || c == '*' || c == '/' || c == '\\' || c == '?') {
            out += "\\x";
            out += hexDigits[byte >> 4];
            out += hexDigits[byte & 0xF];
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace calc
