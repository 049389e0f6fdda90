#pragma once
// The window program's command line: --help and --version are answered
// without opening the window, and any argument the program does not take
// is refused, so that a mistyped option never opens the window silently.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace form {

// What the program prints instead of opening its window, and its status.
struct Reply {
    int status;      // 0 for help and version, 2 for a refused argument
    std::string out; // for standard output
    std::string err; // for standard error: one line
};

// The reply to -h, --help or --version anywhere in `args` (the arguments
// after the program's name), the first of them winning; nullopt when none
// is there.  `qtOptions` says whether the toolkit takes options of its own,
// which the help then mentions.
std::optional<Reply> helpOrVersion(const std::vector<std::string>& args, bool qtOptions);

// A refusal of the first of `args`, all of which are arguments nobody
// took; nullopt when there are none.
std::optional<Reply> refuseArguments(const std::vector<std::string>& args);

} // namespace form
