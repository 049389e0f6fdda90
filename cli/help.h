#pragma once
// The help page and the bash completion, both made from the options as
// they are declared.

#include <CLI/CLI.hpp>

#include <string>
#include <utility>
#include <vector>

namespace cli {

// A group of options in the help, and the paragraph that follows it.
struct HelpSection {
    std::string group;
    bool titled = true;
    std::string after;
};

// The page around the options: every text ends with a line break.
struct HelpPage {
    std::string usage;
    std::string intro;
    std::vector<HelpSection> sections;
    std::string footer;
};

// Lays out the help as the page says: each option's names and value in a
// column of 24, its description, written with its own line breaks, beside.
class HelpFormatter : public CLI::Formatter {
public:
    explicit HelpFormatter(HelpPage page) : page_(std::move(page)) {}
    std::string make_help(const CLI::App* app, std::string name, CLI::AppFormatMode mode) const override;

private:
    HelpPage page_;
};

// The options' names and values to offer, by the options of the page's
// sections: `choices` are the names an option's value may take.
std::string bashCompletion(const CLI::App& app, const HelpPage& page,
                           const std::vector<std::pair<const CLI::Option*, std::vector<std::string>>>& choices);

} // namespace cli
