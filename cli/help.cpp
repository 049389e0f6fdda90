#include "cli/help.h"

#include <algorithm>

namespace cli {

namespace {

constexpr std::size_t descriptionColumn = 24;

std::vector<const CLI::Option*> optionsOf(const CLI::App& app, const std::string& group)
{
    std::vector<const CLI::Option*> options;
    for (const CLI::Option* option : app.get_options())
        if (option->get_group() == group)
            options.push_back(option);
    return options;
}

bool takesValue(const CLI::Option& option) { return option.get_expected_max() > 0; }

// "  -u, --unit UNIT", "      --load"
std::string namesColumn(const CLI::Option& option)
{
    std::string text = "  ";
    for (const std::string& name : option.get_snames())
        text += "-" + name + ", ";
    text.resize(std::max<std::size_t>(text.size(), 6), ' ');
    for (const std::string& name : option.get_lnames())
        text += "--" + name;
    if (takesValue(option))
        text += " " + option.get_option_text();
    return text;
}

std::string optionHelp(const CLI::Option& option)
{
    std::string text = namesColumn(option);
    if (text.size() + 2 <= descriptionColumn)
        text.resize(descriptionColumn, ' ');
    else
        text += "\n" + std::string(descriptionColumn, ' ');
    for (const char c : option.get_description()) {
        text += c;
        if (c == '\n')
            text.append(descriptionColumn, ' ');
    }
    return text + "\n";
}

// "-u|--unit"
std::string casePattern(const CLI::Option& option)
{
    std::string pattern;
    for (const std::string& name : option.get_snames())
        pattern += (pattern.empty() ? "-" : "|-") + name;
    for (const std::string& name : option.get_lnames())
        pattern += (pattern.empty() ? "--" : "|--") + name;
    return pattern;
}

std::string joined(const std::vector<std::string>& words)
{
    std::string text;
    for (const std::string& word : words)
        text += (text.empty() ? "" : " ") + word;
    return text;
}

} // namespace

std::string HelpFormatter::make_help(const CLI::App* app, std::string, CLI::AppFormatMode) const
{
    std::string text = page_.usage + "\n" + page_.intro;
    for (const HelpSection& section : page_.sections) {
        text += "\n";
        if (section.titled)
            text += section.group + ":\n";
        for (const CLI::Option* option : optionsOf(*app, section.group))
            text += optionHelp(*option);
        if (!section.after.empty())
            text += "\n" + section.after;
    }
    return text + "\n" + page_.footer;
}

std::string bashCompletion(const CLI::App& app, const HelpPage& page,
                           const std::vector<std::pair<const CLI::Option*, std::vector<std::string>>>& choices)
{
    std::vector<std::string> names, freeValues;
    std::string cases;
    for (const HelpSection& section : page.sections) {
        for (const CLI::Option* option : optionsOf(app, section.group)) {
            for (const std::string& name : option->get_lnames())
                names.push_back("--" + name);
            if (!takesValue(*option))
                continue;
            const auto choice =
                std::ranges::find(choices, option, &std::pair<const CLI::Option*, std::vector<std::string>>::first);
            if (choice == choices.end()) {
                freeValues.push_back(casePattern(*option));
                continue;
            }
            // The names in any case, as the option takes them.
            cases += "        " + casePattern(*option) +
                     ")\n"
                     "            for word in " +
                     joined(choice->second) +
                     "; do\n"
                     "                if [[ ${word,,} == \"${cur,,}\"* ]]; then COMPREPLY+=(\"$word\"); fi\n"
                     "            done\n"
                     "            return ;;\n";
        }
    }
    std::string function = "_" + app.get_name();
    std::ranges::replace(function, '-', '_');
    std::string freePattern;
    for (const std::string& pattern : freeValues)
        freePattern += (freePattern.empty() ? "" : "|") + pattern;
    return "# bash completion for " + app.get_name() + "\n" + function +
           "()\n"
           "{\n"
           "    local cur prev word i\n"
           "    cur=${COMP_WORDS[COMP_CWORD]}\n"
           "    prev=${COMP_WORDS[COMP_CWORD-1]}\n"
           "    # After \"--\" every word is a frequency.\n"
           "    for ((i = 1; i < COMP_CWORD; i++)); do\n"
           "        if [[ ${COMP_WORDS[i]} == -- ]]; then return; fi\n"
           "    done\n"
           "    # --unit=VALUE: bash splits the word at \"=\".\n"
           "    if [[ $cur == = ]]; then\n"
           "        cur=\n"
           "    elif [[ $prev == = ]]; then\n"
           "        prev=${COMP_WORDS[COMP_CWORD-2]}\n"
           "    fi\n"
           "    case $prev in\n" +
           cases + "        " + freePattern +
           ")\n"
           "            return ;;\n"
           "    esac\n"
           "    if [[ $cur == -* ]]; then\n"
           "        COMPREPLY=($(compgen -W '" +
           joined(names) +
           "' -- \"$cur\"))\n"
           "    fi\n"
           "}\n"
           "complete -F " +
           function + " " + app.get_name() + "\n";
}

} // namespace cli
