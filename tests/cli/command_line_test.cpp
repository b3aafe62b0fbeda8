// The command line of linkcalc-cli: option forms, values, usage errors, exit statuses, the
// one-line messages on standard error, the JSON report's shape, --help and --version.
#include <map>
#include <regex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cli_runner.h"

namespace linkcalc::cli_test {
namespace {

using Args = std::vector<std::string>;

std::string Joined(const Args& args) {
    std::string out;
    for (const std::string& arg : args) out += "[" + arg + "]";
    return out;
}

struct FieldCase {
    Args args;
    std::string field;
    std::string text;
};

// Every case stops at an early check or completes; either way the report shows the field's text.
TEST(CommandLine, OptionsSetTheirFieldToTheTextAsGiven) {
    const std::vector<FieldCase> cases{
        {{"--gain1=20"}, "TxtAntG", "20"},
        {{"--gain1", "20"}, "TxtAntG", "20"},
        {{"--gain1=a=b"}, "TxtAntG", "a=b"},
        {{"--gain2", " 2 0 "}, "TxtAntG2", " 2 0 "},
        {{"--distance", "-12"}, "TxtDM", "-12"},
        {{"--distance", " 12 "}, "TxtDM", " 12 "},
        {{"--unit", "Km "}, "Cmbmilekm", "Km "},
        {{"--unit=miles"}, "Cmbmilekm", "miles"},
        {{"--packet", "--json"}, "Txtepksz", "--json"},
        {{"--packet", ""}, "Txtepksz", ""},
        {{"--packet="}, "Txtepksz", ""},
        {{"--loss2", "-2.5"}, "TxtCblLoss2", "-2.5"},
        {{"--loss2="}, "TxtCblLoss2", ""},
        // Side 1's cable loss is rewritten by the first check of every run.
        {{"--loss1", "-2.5"}, "TxtCblLss1", "2.5"},
        {{"--loss1=2.50-"}, "TxtCblLss1", "2.5"},
        {{"--band=5800"}, "CmbEFreq", "5800"},
        {{"--band", "4900"}, "CmbEFreq", "4900"},
        {{"--band="}, "CmbEFreq", ""},
        {{"--speed", " 6 Mbps"}, "CmbSlcSpeed", " 6 Mbps"},
        {{"--speed=54 Mbps"}, "CmbSlcSpeed", "54 Mbps"},
        {{"--speed", ""}, "CmbSlcSpeed", ""},
        {{"--speed", "6"}, "CmbSlcSpeed", " 6 Mbps"},
        {{"--speed=12"}, "CmbSlcSpeed", "12 Mbps"},
        {{"--speed", "18"}, "CmbSlcSpeed", "18 Mbps"},
        {{"--speed", "24"}, "CmbSlcSpeed", "24 Mbps"},
        {{"--speed", "36"}, "CmbSlcSpeed", "36 Mbps"},
        {{"--speed", "48"}, "CmbSlcSpeed", "48 Mbps"},
        {{"--speed", "54"}, "CmbSlcSpeed", "54 Mbps"},
        // The last value given wins, the empty one included.
        {{"--gain1", "20", "--gain1=23"}, "TxtAntG", "23"},
        {{"--band", "4900", "--band", "5800", "--band", ""}, "CmbEFreq", ""},
        {{"--speed", "6", "--speed", "54 Mbps"}, "CmbSlcSpeed", "54 Mbps"},
    };
    for (const FieldCase& c : cases) {
        SCOPED_TRACE(Joined(c.args));
        const JsonRun run = RunJson(c.args);
        ASSERT_TRUE(run.report.is_object()) << run.err;
        EXPECT_EQ(run.Field(c.field), c.text);
    }
}

TEST(CommandLine, InputsLeftOutStayAsTheWindowOpens) {
    const JsonRun run = RunJson(Args{});
    ASSERT_TRUE(run.report.is_object());
    // Both cable losses "0", the unit labels "ft", every other field empty.
    const std::map<std::string, std::string> notEmpty{{"TxtCblLss1", "0"},
                                                      {"TxtCblLoss2", "0"},
                                                      {"Lblft1", "ft"},
                                                      {"Lblft2", "ft"},
                                                      {"Lblft3", "ft"}};
    EXPECT_EQ(run.report.at("fields").size(), 29u);
    for (const auto& [name, text] : run.report.at("fields").items()) {
        const auto expected = notEmpty.find(name);
        EXPECT_EQ(text.get<std::string>(), expected == notEmpty.end() ? "" : expected->second)
            << name;
    }
}

TEST(CommandLine, JsonReportNamesOutcomeNoticeFailureAllFieldsAndSites) {
    // Parsed keeping the order of the keys as written.
    Args args = ArgsOf(CompleteLink());
    args.push_back("--json");
    const auto report = nlohmann::ordered_json::parse(RunCli(args).out, nullptr, false);
    ASSERT_TRUE(report.is_object());
    std::vector<std::string> keys;
    for (const auto& [key, value] : report.items()) keys.push_back(key);
    EXPECT_EQ(keys, (std::vector<std::string>{"outcome", "notice", "failure", "fields", "sites",
                                              "clearance"}));
    EXPECT_TRUE(report.at("sites").is_null());
    EXPECT_TRUE(report.at("clearance").is_null());

    const std::vector<std::string> controls{
        "TxtAntG",   "TxtAntG2", "TxtCblLss1",    "TxtCblLoss2", "TxtDM",    "Txtepksz",
        "Cmbmilekm", "CmbEFreq", "CmbSlcSpeed",   "Lblft1",      "Lblft2",   "Lblft3",
        "TxtFSL",    "TxtFR",    "TxtEC",         "TxtSAH",      "TxtReqSS", "TxtRECI",
        "TxtEIRP1",  "TxtEIRP2", "TxtMTP",        "TxtMTP2",     "TxtERSSI", "TxtERSSI2",
        "TxtRNFL",   "TxtRNFL2", "TxtEBtRateUni", "TxtEBRBi",    "TxtFM"};
    std::vector<std::string> names;
    for (const auto& [name, text] : report.at("fields").items()) {
        names.push_back(name);
        EXPECT_TRUE(text.is_string()) << name;
    }
    EXPECT_EQ(names, controls);
}

struct UsageCase {
    Args args;
    std::string complaint;  // part of the message on standard error
};

TEST(CommandLine, UsageErrorsExit64WithAMessageAndNoOutput) {
    const std::vector<UsageCase> cases{
        {{"--frequency", "5800"}, "unknown option \"--frequency\""},
        {{"--Gain1=23"}, "unknown option \"--Gain1=23\""},
        {{"--gain1"}, "--gain1 needs a value"},
        {{"--json", "--band"}, "--band needs a value"},
        {{"5800"}, "unexpected argument \"5800\""},
        {{"-g", "23"}, "unexpected argument \"-g\""},
        {{"--json=yes"}, "--json takes no value"},
        {{"--version=2"}, "--version takes no value"},
        {{"--band", "5000"}, "band \"5000\" is not in the list"},
        {{"--band", "4900 "}, "band \"4900 \" is not in the list"},
        {{"--band=5.8"}, "band \"5.8\" is not in the list"},
        {{"--speed", "9"}, "speed \"9\" is not in the list"},
        {{"--speed", "6 Mbps"}, "speed \"6 Mbps\" is not in the list"},
        {{"--speed", "54 mbps"}, "speed \"54 mbps\" is not in the list"},
        {{"--speed", " 6"}, "speed \" 6\" is not in the list"},
        {{"--speed=54Mbps", "--json"}, "speed \"54Mbps\" is not in the list"},
        {{"--csv", "links.csv", "--gain1", "23"}, "give no input option with it"},
        {{"--gain1", "23", "--csv", "links.csv"}, "give no input option with it"},
        {{"--csv", "links.csv", "--json"}, "--json cannot go with it"},
        {{"--csv="}, "--csv needs a file name"},
        {{"--csv", "links.csv", "--delimiter", "|"}, "--delimiter takes \",\", \";\" or \"tab\""},
        {{"--delimiter=;"}, "--delimiter goes with --csv"},
        {{"--csv", "links.csv", "--delimiter"}, "--delimiter needs a value"},
        {{"--quiet=yes"}, "--quiet takes no value"},
    };
    for (const UsageCase& c : cases) {
        SCOPED_TRACE(Joined(c.args));
        const CliRun run = RunCli(c.args);
        EXPECT_EQ(run.exitStatus, 64);
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err.find(c.complaint), std::string::npos) << run.err;
        EXPECT_NE(run.err.find("--help"), std::string::npos) << run.err;
    }
}

TEST(CommandLine, RefusedBandOrSpeedListsWhatIsOffered) {
    const CliRun band = RunCli({"--band", "5000"});
    EXPECT_NE(band.err.find("\"4900\", \"5300\", \"5400\", \"5800\""), std::string::npos)
        << band.err;
    const CliRun speed = RunCli({"--speed", "9"});
    EXPECT_NE(speed.err.find("\" 6 Mbps\", \"12 Mbps\""), std::string::npos) << speed.err;
    EXPECT_NE(speed.err.find("\"54 Mbps\""), std::string::npos) << speed.err;
}

struct StatusCase {
    const char* name;
    Inputs inputs;
    int exitStatus;
    std::string errorLine;  // the whole of standard error
};

TEST(CommandLine, ExitStatusAndOneLineOnStandardError) {
    const std::vector<StatusCase> cases{
        {"completed", CompleteLink(), 0, ""},
        {"stopped", {}, 1, "linkcalc-cli: Invalid Input!: Select an antenna. [TxtAntG]\n"},
        {"stopped, two-line message", CompleteLink({{"loss1", "abc"}}), 1,
         "linkcalc-cli: Invalid Input!: Enter a numeric value for the cable loss. e.i -1, 0, 1, "
         "etc... [TxtCblLss1]\n"},
        {"stopped, application title", CompleteLink({{"gain1", "-3"}, {"loss1", "1"}}), 1,
         "linkcalc-cli: ZIDORER: Enter a none negative numeric value for antenna 1. Invalid "
         "Input! [TxtAntG]\n"},
        {"failed", CompleteLink({{"distance", "0"}}), 2,
         "linkcalc-cli: The distance must be greater than zero. [TxtDM]\n"},
    };
    for (const StatusCase& c : cases) {
        SCOPED_TRACE(c.name);
        const CliRun text = RunCli(ArgsOf(c.inputs));
        EXPECT_EQ(text.exitStatus, c.exitStatus);
        EXPECT_EQ(text.err, c.errorLine);
        EXPECT_EQ(text.out.empty(), c.exitStatus != 0) << text.out;

        // With --json the report goes to standard output whatever the outcome, and nothing to
        // standard error.
        const JsonRun json = RunJson(c.inputs);
        EXPECT_EQ(json.exitStatus, c.exitStatus);
        EXPECT_EQ(json.err, "");
        EXPECT_TRUE(json.report.is_object());
    }
}

TEST(CommandLine, HelpDescribesEveryOption) {
    for (const Args& args : {Args{"--help"}, Args{"--gain1", "23", "--help", "--json"}}) {
        SCOPED_TRACE(Joined(args));
        const CliRun run = RunCli(args);
        EXPECT_EQ(run.exitStatus, 0);
        EXPECT_EQ(run.err, "");
        EXPECT_EQ(run.out.rfind("Usage: linkcalc-cli", 0), 0u) << run.out;
        for (const char* option : {"--gain1", "--gain2", "--loss1", "--loss2", "--distance",
                                   "--unit", "--band", "--speed", "--packet", "--json", "--csv",
                                   "--delimiter", "--quiet", "--help", "--version"}) {
            EXPECT_NE(run.out.find(option), std::string::npos) << option;
        }
    }
}

TEST(CommandLine, VersionPrintsNameAndVersion) {
    const CliRun run = RunCli({"--version"});
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_TRUE(std::regex_match(run.out, std::regex("linkcalc-cli [0-9]+\\.[0-9]+\\.[0-9]+\n")))
        << run.out;
}

}  // namespace
}  // namespace linkcalc::cli_test
