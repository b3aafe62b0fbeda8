// The table of linkcalc-cli's options: the parser and --help both read it, and each row says
// which forms of the tool take its option.
#include <map>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cli/command_line.h"
#include "cli/input_options.h"
#include "cli/options.h"

namespace linkcalc::cli {
namespace {

using Args = std::vector<std::string>;

TEST(OptionTable, EveryRowIsFoundByItsNameAndHasItsLinesInTheHelp) {
    const std::string help = HelpText();
    std::set<std::string_view> names;
    for (const Option& option : Options()) {
        EXPECT_TRUE(names.insert(option.name).second) << "--" << option.name << " twice";
        const auto found = OptionNamed(option.name);
        ASSERT_TRUE(found) << option.name;
        EXPECT_EQ(found->name, option.name);
        // A flag sets a member, any other option hands its text on: never both, never neither.
        EXPECT_EQ(option.IsFlag(), option.flag != nullptr) << option.name;
        EXPECT_EQ(option.IsFlag(), option.set == nullptr) << option.name;
        EXPECT_NE(option.forms, 0) << option.name;

        std::string head = "\n  --";
        head += option.name;
        if (!option.IsFlag()) {
            head += ' ';
            head += option.argument;
        }
        const std::size_t at = help.find(head + " ");
        ASSERT_NE(at, std::string::npos) << head;
        const std::string firstLine(option.help.substr(0, option.help.find('\n')));
        EXPECT_EQ(help.substr(at + 21, firstLine.size()), firstLine) << option.name;
    }
    EXPECT_FALSE(OptionNamed(""));
    EXPECT_FALSE(OptionNamed("gain"));
    EXPECT_FALSE(OptionNamed("--gain1"));
}

TEST(OptionTable, EveryInputOfTheSheetIsARowOfTheInputs) {
    for (const InputOption& input : kInputOptions) {
        const auto option = OptionNamed(input.name);
        ASSERT_TRUE(option) << input.name;
        EXPECT_EQ(option->group, OptionGroup::Inputs) << input.name;
        EXPECT_FALSE(option->IsFlag()) << input.name;
    }
}

// A command line of each form, with what an option needs beside it, and a text each option
// takes.
const std::map<Form, Args> kFormLines{
    {kSingleRun, {}},
    {kSites, {"--site1", "40,-80", "--site2", "41,-80"}},
    {kSpeedTable, {"--speed-table"}},
    {kBatch, {"--csv", "links.csv"}},
};

const std::map<std::string_view, std::string> kValues{
    {"gain1", "23"},      {"gain2", "23"},     {"loss1", "1"},      {"loss2", "1"},
    {"distance", "5"},    {"unit", "Km"},      {"band", "5800"},    {"speed", "6"},
    {"packet", "1518"},   {"site1", "40,-80"}, {"site2", "41,-80"}, {"ground1", "10"},
    {"ground2", "10"},    {"mast1", "10"},     {"mast2", "10"},     {"kml", "map.kml"},
    {"terrain", "t.csv"}, {"dem", "tiles"},    {"k-factor", "4/3"}, {"profile", "p.svg"},
    {"delimiter", ";"},   {"margin", "10"},
};

bool Parses(const Args& args) {
    try {
        ParseCommandLine(args);
        return true;
    } catch (const UsageError&) {
        return false;
    }
}

// The forms of a row are the ones whose command lines take the option; --csv and
// --speed-table are left out, as each makes the command line the form it names.
TEST(OptionTable, TheFormsOfARowAreTheCommandLinesThatTakeIt) {
    for (const Option& option : Options()) {
        if (option.name == "csv" || option.name == "speed-table") continue;
        for (const auto& [form, base] : kFormLines) {
            Args args = base;
            args.push_back("--" + std::string(option.name));
            if (!option.IsFlag()) {
                const auto value = kValues.find(option.name);
                ASSERT_NE(value, kValues.end()) << "no value for --" << option.name;
                args.push_back(value->second);
            }
            EXPECT_EQ(Parses(args), (option.forms & form) != 0)
                << "--" << option.name << " in form " << static_cast<int>(form);
        }
    }
}

TEST(OptionTable, EveryFormHasItsOwnOption) {
    EXPECT_EQ(OptionNamed("csv")->forms, kBatch);
    EXPECT_EQ(OptionNamed("speed-table")->forms, kSpeedTable);
    EXPECT_EQ(OptionNamed("site1")->forms & (kSites | kSingleRun | kBatch), kSites);
}

}  // namespace
}  // namespace linkcalc::cli
