#pragma once
// What ad9851-word says on standard error: each message one line, one
// write, after standard output is flushed, so that with 2>&1 an input's
// error stands where its output would have stood.

#include "calc/spectrum.h"
#include "cli/io.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace cli {

// An input as messages name it: its text, and its line number when it came
// from standard input.
struct Source {
    std::string_view text;
    std::uint64_t line = 0;
};

// The text for a message, in double quotes, long texts cut.  Messages
// show control characters and bytes that are not UTF-8 as escapes.
std::string quotedText(std::string_view text);

class Messages {
public:
    explicit Messages(Output& output) : output_(output) {}

    // An input that gave no output; the run fails.
    void error(const Source& source, std::string_view what);
    void lineTooLong(std::uint64_t number);
    void warning(std::string_view what);
    // A warning about one input, named as errors name it.
    void warning(const Source& source, std::string_view what);
    // A fault that ends the run; the run fails.
    void fatal(std::string_view what);
    bool failed() const { return failed_; }

private:
    void say(std::string_view what);

    Output& output_;
    bool failed_ = false;
};

// What a spectrum's concern warns of: "image -1 at 109999999.981 Hz is only
// 3.93 dB below the output".
std::string concernText(const calc::Spectrum& spectrum, const calc::SpectrumConcern& concern);

// Writes the usage error and where to look for help; returns the exit
// status 2.
int usageError(std::string_view message);

// Writes all of `text` to standard output; the exit status: 0, or 1 when
// it could not be written.
int writeOut(std::string_view text);

// Ends the run: flushes standard output and says what went wrong with
// standard input or output; returns the exit status.
int finishRun(Output& output, const Messages& messages, bool inputRead);

} // namespace cli
