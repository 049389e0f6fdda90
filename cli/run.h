#pragma once
// The two things ad9851-word does with its inputs: words for frequencies,
// and frequencies for words.

#include "cli/io.h"
#include "cli/messages.h"
#include "cli/options.h"
#include "cli/sweep.h"

#include <optional>
#include <string>
#include <vector>

namespace cli {

// Where the inputs come from: a sweep, the FREQUENCY arguments or, with
// neither, standard input.
class Inputs {
public:
    // std::invalid_argument, in the command line's words, for a malformed
    // sweep.
    explicit Inputs(const Options& options);

    bool fromStdin() const { return !sweep_ && arguments_.empty(); }

    // Calls `each(source)` for every input, without a UTF-8 byte-order
    // mark; stops at the first failed write, and at a UTF-16 byte-order
    // mark at the start of standard input.  False when standard input
    // could not be read.
    template <class Each>
    bool forEach(Output& output, Messages& messages, Each&& each) const;

private:
    const std::vector<std::string>& arguments_;
    std::optional<Sweep> sweep_;
};

// Prints the word for each frequency; returns the exit status.
int tuneAll(const Options& options, const Inputs& inputs, Output& output, Messages& messages);

// Prints what the chip puts out for each frequency, and warns of what
// deserves it; returns the exit status.
int spectrumAll(const Options& options, const Inputs& inputs, Output& output, Messages& messages);

// Explains each word: a result line, a byte list or a number; returns the
// exit status.
int decodeAll(const Options& options, const Inputs& inputs, Output& output, Messages& messages);

// The candidate clocks for --plan's FREQUENCY, best first; returns the
// exit status.
int planClocks(const Options& options, Output& output, Messages& messages);

// The clock's error from --calibrate's measurement, and the corrected
// word; returns the exit status.
int calibrateClock(const Options& options, Output& output, Messages& messages);

} // namespace cli
