#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace linkcalc::cli {

struct CommandLine;

// The forms of the tool, as --help's usage lines show them. A speed table may also take its path
// from the sites; the site options' rows name only the form of their own usage line.
enum Form : std::uint8_t {
    kSingleRun = 1,   // a typed distance
    kSites = 2,       // --site1 and --site2
    kSpeedTable = 4,  // --speed-table
    kBatch = 8,       // --csv
    kEveryForm = kSingleRun | kSites | kSpeedTable | kBatch,
};

enum class OptionGroup : std::uint8_t { Inputs, Sites, Ground, Output, SpeedTable };

// One option of linkcalc-cli: the parser recognises it by this row, and --help shows it from it.
// A flag has no argument name and sets `flag`; every other option hands its text to `set`,
// which throws UsageError for a text it cannot take.
struct Option {
    std::string_view name;      // without the leading "--"
    std::string_view argument;  // as --help names it, "TEXT"; empty for a flag
    OptionGroup group;
    std::uint8_t forms;     // the Form values of the command lines that take it
    std::string_view help;  // its lines, separated by '\n'
    bool CommandLine::*flag = nullptr;
    void (*set)(CommandLine& line, std::string_view name, const std::string& value) = nullptr;

    bool IsFlag() const { return argument.empty(); }
};

// Every option, in the order --help lists them.
std::span<const Option> Options();

std::optional<Option> OptionNamed(std::string_view name);

// The text of --help: the usage lines, each group's option lines between its paragraphs, and the
// exit statuses.
std::string HelpText();

}  // namespace linkcalc::cli
