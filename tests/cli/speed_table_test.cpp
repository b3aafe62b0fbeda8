// `linkcalc-cli --speed-table`: every row and reach is what a single run of the tool shows, in
// the three output forms; a stopped validation is reported like a single run; usage errors.
#include <sys/wait.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cli/csv.h"
#include "cli_runner.h"

namespace linkcalc::cli_test {
namespace {

using Args = std::vector<std::string>;

const std::vector<std::string> kSpeeds{" 6 Mbps", "12 Mbps", "18 Mbps", "24 Mbps",
                                       "36 Mbps", "48 Mbps", "54 Mbps"};

// The inputs of a link without its speed.
Inputs WithoutSpeed(Inputs inputs) {
    inputs.erase("speed");
    return inputs;
}

Args TableArgs(const Inputs& inputs, const Args& more = {}) {
    Args args{"--speed-table"};
    for (const std::string& arg : ArgsOf(WithoutSpeed(inputs))) args.push_back(arg);
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

nlohmann::json TableJson(const Inputs& inputs, const Args& more = {}) {
    Args args = TableArgs(inputs, more);
    args.push_back("--json");
    const CliRun run = RunCli(args);
    EXPECT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(run.err, "");
    return ParseJson(run.out);
}

// A single run of the tool at this speed and, when given, this distance.
JsonRun SingleRun(const Inputs& inputs, const std::string& speed,
                  const std::string* distance = nullptr) {
    Inputs single = inputs;
    single["speed"] = speed;
    if (distance) single["distance"] = *distance;
    return RunJson(single);
}

double NumberOf(const std::string& text) {
    return std::stod(text);
}

// The keys of an object, in the order the tool wrote them.
std::vector<std::string> KeysOf(const nlohmann::ordered_json& object) {
    std::vector<std::string> keys;
    for (const auto& item : object.items()) keys.push_back(item.key());
    return keys;
}

// One step of 0.01 beyond a distance text of the search.
std::string OneStepBeyond(const std::string& distance) {
    const long hundredths = std::lround(NumberOf(distance) * 100) + 1;
    std::string text = std::to_string(hundredths / 100);
    if (hundredths % 100 != 0) {
        text += '.' + std::to_string(hundredths % 100 / 10);
        if (hundredths % 10 != 0) text += std::to_string(hundredths % 10);
    }
    return text;
}

struct TableCase {
    Inputs inputs;
    Args more;
    double margin;
};

// The README's link, a metric one with cable losses and another margin, one that reaches the
// ceiling, and one that no speed carries.
const std::vector<TableCase>& TableCases() {
    static const std::vector<TableCase> cases{
        {CompleteLink(), {}, 10},
        {{{"gain1", "27"},
          {"gain2", "27"},
          {"loss1", "1.5"},
          {"loss2", "1.5"},
          {"distance", "16"},
          {"unit", "Km"},
          {"band", "5400"}},
         {"--margin", "7.5"},
         7.5},
        {CompleteLink({{"gain1", "40"},
                       {"gain2", "40"},
                       {"loss1", "1"},
                       {"loss2", "1"},
                       {"distance", "700"}}),
         {"--margin=12"},
         12},
        {MilesLink("5300", "", "200", "12", "3", "12", "3"), {}, 10},
    };
    return cases;
}

TEST(SpeedTableCli, JsonRowsAndReachesAreSingleRunsOfTheTool) {
    for (const TableCase& c : TableCases()) {
        SCOPED_TRACE(Describe(c.inputs));
        const Inputs inputs = WithoutSpeed(c.inputs);
        const nlohmann::json table = TableJson(inputs, c.more);
        ASSERT_TRUE(table.is_object());
        Args jsonArgs = TableArgs(inputs, c.more);
        jsonArgs.push_back("--json");
        const auto ordered = nlohmann::ordered_json::parse(RunCli(jsonArgs).out);
        EXPECT_EQ(KeysOf(ordered),
                  (std::vector<std::string>{"margin", "unit", "rows", "recommended"}));
        EXPECT_EQ(table.at("margin").get<double>(), c.margin);
        EXPECT_EQ(table.at("unit"), inputs.at("unit"));
        const nlohmann::json& rows = table.at("rows");
        ASSERT_EQ(rows.size(), kSpeeds.size());

        std::optional<std::string> fastest;
        for (std::size_t i = 0; i < kSpeeds.size(); ++i) {
            const nlohmann::json& row = rows[i];
            SCOPED_TRACE(kSpeeds[i]);
            EXPECT_EQ(KeysOf(ordered.at("rows")[i]),
                      (std::vector<std::string>{"speed", "outcome", "message", "fields", "reach",
                                                "ceiling"}));
            EXPECT_EQ(row.at("speed"), kSpeeds[i]);

            const JsonRun atPath = SingleRun(inputs, kSpeeds[i]);
            EXPECT_EQ(row.at("outcome"), atPath.Outcome());
            EXPECT_EQ(row.at("message"), nullptr);
            EXPECT_EQ(row.at("fields"), atPath.report.at("fields"));
            if (NumberOf(atPath.Field("TxtFM")) >= c.margin) fastest = kSpeeds[i];

            const nlohmann::json& reach = row.at("reach");
            if (reach.is_null()) {
                EXPECT_EQ(row.at("ceiling"), false);
                const std::string shortest = "0.01";
                EXPECT_LT(NumberOf(SingleRun(inputs, kSpeeds[i], &shortest).Field("TxtFM")),
                          c.margin);
                continue;
            }
            EXPECT_EQ(KeysOf(ordered.at("rows")[i].at("reach")),
                      (std::vector<std::string>{"distance", "fields"}));
            const std::string distance = reach.at("distance").get<std::string>();
            const JsonRun atReach = SingleRun(inputs, kSpeeds[i], &distance);
            EXPECT_EQ(reach.at("fields"), atReach.report.at("fields"));
            EXPECT_GE(NumberOf(atReach.Field("TxtFM")), c.margin) << distance;
            EXPECT_EQ(row.at("ceiling"), distance == "1000");
            if (distance != "1000") {
                const std::string beyond = OneStepBeyond(distance);
                EXPECT_LT(NumberOf(SingleRun(inputs, kSpeeds[i], &beyond).Field("TxtFM")), c.margin)
                    << beyond;
            }
        }
        if (fastest) {
            EXPECT_EQ(table.at("recommended"), *fastest);
        } else {
            EXPECT_EQ(table.at("recommended"), nullptr);
        }
    }
}

TEST(SpeedTableCli, TextTableOfTheReadmeLink) {
    const CliRun run = RunCli(TableArgs(CompleteLink()));
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(
        run.out,
        "Speed table at 10 Miles, 5800 MHz; reach: the longest path with a fade margin of "
        "at least 10 dB\n"
        "Speed    Sensitivity  Fade margin  Bit rates        Reach (Miles)   Bit rates there\n"
        " 6 Mbps  -92dBm       27.2 dB      5.34 / 5.55      72.48           4.13 / 4.24\n"
        "12 Mbps  -87dBm       20.2 dB      9.79 / 10.47     32.37           8.2 / 8.67\n"
        "18 Mbps  -85dBm       18.2 dB      13.55 / 14.89    25.71           11.4 / 12.33\n"
        "24 Mbps  -84dBm       16.2 dB      16.78 / 18.86    20.42           14.52 / 16.07\n"
        "36 Mbps  -80dBm       12.2 dB      22 / 25.75       12.89           20.84 / 24.15\n"
        "48 Mbps  -75dBm       6.2 dB       25.96 / 31.33    6.46            28.27 / 34.74\n"
        "54 Mbps  -73dBm       4.2 dB       27.62 / 33.77    5.13            31.36 / 39.53\n"
        "Bit rates in Mbit/s, one way / both ways.\n"
        "Recommended speed: 36 Mbps (the fastest with a fade margin of at least 10 dB at 10 "
        "Miles)\n");
}

TEST(SpeedTableCli, TextTableNamesCeilingsMissingReachesFailuresAndNoRecommendation) {
    // At 700 miles the slow speeds reach the ceiling; with a margin of 70 dB at 0.2 miles the
    // fast ones have no reach and none has the margin at the path.
    const CliRun far = RunCli(TableArgs(TableCases()[2].inputs));
    EXPECT_EQ(far.exitStatus, 0);
    EXPECT_NE(far.out.find(" 6 Mbps  -92dBm       24.3 dB      1.25 / 1.26      1000 (ceiling)"),
              std::string::npos)
        << far.out;
    EXPECT_NE(far.out.find("\n(ceiling): the search stops at 1000 Miles; the speed may reach "
                           "further.\n"),
              std::string::npos)
        << far.out;

    const CliRun near = RunCli(TableArgs(CompleteLink({{"distance", "0.2"}}), {"--margin", "70"}));
    EXPECT_EQ(near.exitStatus, 0);
    EXPECT_NE(near.out.find("\n54 Mbps  -73dBm       "), std::string::npos) << near.out;
    EXPECT_NE(near.out.find("none: below 70 dB at 0.01\n"), std::string::npos) << near.out;
    EXPECT_TRUE(
        near.out.ends_with("\nRecommended speed: none (no speed keeps a fade margin of "
                           "at least 70 dB at 0.2 Miles)\n"))
        << near.out;

    const CliRun zero = RunCli(TableArgs(CompleteLink({{"distance", "0"}})));
    EXPECT_EQ(zero.exitStatus, 0);
    EXPECT_NE(zero.out.find("\n 6 Mbps  failed       -            -                72.48"),
              std::string::npos)
        << zero.out;
    EXPECT_NE(zero.out.find("\nAt 0 Miles: The distance must be greater than zero. [TxtDM]\n"),
              std::string::npos)
        << zero.out;

    const CliRun noPacket = RunCli(TableArgs(CompleteLink({{"packet", "abc"}})));
    EXPECT_EQ(noPacket.exitStatus, 0);
    EXPECT_NE(noPacket.out.find("none: fails at 0.01\n"), std::string::npos) << noPacket.out;
}

TEST(SpeedTableCli, CsvHoldsTheJsonFiguresOneRecordPerSpeed) {
    for (const TableCase& c : TableCases()) {
        SCOPED_TRACE(Describe(c.inputs));
        Args args = TableArgs(c.inputs, c.more);
        args.push_back("--csv-out");
        const CliRun run = RunCli(args);
        EXPECT_EQ(run.exitStatus, 0);
        EXPECT_EQ(run.err, "");
        const nlohmann::json table = TableJson(c.inputs, c.more);

        const std::vector<cli::CsvRecord> records = cli::ReadCsv(run.out);
        ASSERT_EQ(records.size(), kSpeeds.size() + 1);
        EXPECT_TRUE(run.out.starts_with(
            "speed,outcome,message,distance,unit,TxtReqSS,TxtFM,TxtEBtRateUni,TxtEBRBi,reach,"
            "reach_TxtFM,reach_TxtEBtRateUni,reach_TxtEBRBi,ceiling,recommended\r\n"));
        for (std::size_t i = 0; i < kSpeeds.size(); ++i) {
            const nlohmann::json& row = table.at("rows")[i];
            const nlohmann::json& fields = row.at("fields");
            const nlohmann::json& reach = row.at("reach");
            const auto reachField = [&](const char* name) {
                return reach.is_null() ? std::string()
                                       : reach.at("fields").at(name).get<std::string>();
            };
            const std::vector<std::string> expected{
                kSpeeds[i],
                "completed",
                "",
                fields.at("TxtDM"),
                c.inputs.at("unit"),
                fields.at("TxtReqSS"),
                fields.at("TxtFM"),
                fields.at("TxtEBtRateUni"),
                fields.at("TxtEBRBi"),
                reach.is_null() ? std::string() : reach.at("distance").get<std::string>(),
                reachField("TxtFM"),
                reachField("TxtEBtRateUni"),
                reachField("TxtEBRBi"),
                row.at("ceiling") ? "true" : "false",
                table.at("recommended") == kSpeeds[i] ? "true" : "false"};
            EXPECT_EQ(records[i + 1].fields, expected) << kSpeeds[i];
        }
    }
}

TEST(SpeedTableCli, AFailureAtThePathIsARowWithItsMessage) {
    const nlohmann::json table = TableJson(CompleteLink({{"distance", "0"}}));
    ASSERT_EQ(table.at("rows").size(), kSpeeds.size());
    for (const nlohmann::json& row : table.at("rows")) {
        EXPECT_EQ(row.at("outcome"), "failed");
        EXPECT_EQ(row.at("message"), "The distance must be greater than zero.");
        EXPECT_EQ(row.at("fields").at("TxtFM"), "");
        EXPECT_TRUE(row.at("reach").is_object());
    }
    EXPECT_EQ(table.at("recommended"), nullptr);

    Args args = TableArgs(CompleteLink({{"distance", "0"}}));
    args.push_back("--csv-out");
    const std::vector<cli::CsvRecord> records = cli::ReadCsv(RunCli(args).out);
    ASSERT_EQ(records.size(), kSpeeds.size() + 1);
    EXPECT_EQ(records[1].fields[1], "failed");
    EXPECT_EQ(records[1].fields[2], "The distance must be greater than zero.");
}

TEST(SpeedTableCli, AStoppedValidationIsReportedOnceLikeASingleRun) {
    const std::vector<Inputs> stopping{
        CompleteLink({{"gain1", ""}}),                                    // no antenna 1
        CompleteLink({{"distance", "x"}}),                                // not a distance
        WithoutSpeed(MilesLink("5800", "", "10", "20", "0", "23", "0")),  // cable loss 0
    };
    for (const Inputs& inputs : stopping) {
        SCOPED_TRACE(Describe(inputs));
        Inputs single = inputs;
        single.insert_or_assign("speed", std::string("6"));
        const CliRun expected = RunCli(ArgsOf(single));
        ASSERT_EQ(expected.exitStatus, 1);

        for (const Args& form : {Args{}, Args{"--csv-out"}}) {
            const CliRun run = RunCli(TableArgs(inputs, form));
            EXPECT_EQ(run.exitStatus, 1);
            EXPECT_EQ(run.out, "");
            EXPECT_EQ(run.err, expected.err);
        }
        Args json = ArgsOf(single);
        json.push_back("--json");
        const CliRun expectedJson = RunCli(json);
        const CliRun run = RunCli(TableArgs(inputs, {"--json"}));
        EXPECT_EQ(run.exitStatus, 1);
        EXPECT_EQ(run.out, expectedJson.out);
        EXPECT_EQ(run.err, "");
    }
}

TEST(SpeedTableCli, MarginTakesADecimalNumber) {
    const std::map<std::string, double> accepted{
        {"10", 10}, {"7.5", 7.5}, {"+7.5", 7.5}, {"-3", -3}, {"1e1", 10}, {"0", 0}, {"12.", 12}};
    for (const auto& [text, value] : accepted) {
        SCOPED_TRACE(text);
        const nlohmann::json table = TableJson(CompleteLink(), {"--margin=" + text});
        ASSERT_TRUE(table.is_object());
        EXPECT_EQ(table.at("margin").get<double>(), value);
    }
}

// A unit text other than "Km" is taken as miles: every form labels the figures so, and its
// figures are those of the same link typed in miles.
TEST(SpeedTableCli, TheUnitShownIsTheOneTheRunsTook) {
    for (const std::string typed : {"km", "KM", "mi", "Km "}) {
        SCOPED_TRACE("[" + typed + "]");
        Inputs inputs = WithoutSpeed(CompleteLink({{"unit", typed}, {"distance", "12"}}));
        Inputs miles = inputs;
        miles["unit"] = "Miles";
        const CliRun text = RunCli(TableArgs(inputs));
        ASSERT_EQ(text.exitStatus, 0) << text.err;
        EXPECT_TRUE(text.out.starts_with("Speed table at 12 Miles, ")) << text.out;
        EXPECT_NE(text.out.find("Reach (Miles)"), std::string::npos) << text.out;
        EXPECT_EQ(text.out.find(typed), std::string::npos) << text.out;
        EXPECT_EQ(text.out, RunCli(TableArgs(miles)).out);

        const nlohmann::json table = TableJson(inputs);
        EXPECT_EQ(table.at("unit"), "Miles");
        const std::vector<cli::CsvRecord> records =
            cli::ReadCsv(RunCli(TableArgs(inputs, {"--csv-out"})).out);
        ASSERT_EQ(records.size(), kSpeeds.size() + 1);
        for (std::size_t i = 1; i < records.size(); ++i) EXPECT_EQ(records[i].fields[4], "Miles");
    }
}

TEST(SpeedTableCli, UsageErrors) {
    const Inputs link = CompleteLink();
    const std::vector<std::pair<Args, std::string>> cases{
        {TableArgs(link, {"--margin", "abc"}), "--margin \"abc\" is not a number of dB"},
        {TableArgs(link, {"--margin="}), "--margin \"\" is not a number of dB"},
        {TableArgs(link, {"--margin", " 10"}), "--margin \" 10\" is not a number of dB"},
        {TableArgs(link, {"--margin", "10dB"}), "--margin \"10dB\" is not a number of dB"},
        {TableArgs(link, {"--margin", "inf"}), "--margin \"inf\" is not a number of dB"},
        {TableArgs(link, {"--margin", "nan"}), "--margin \"nan\" is not a number of dB"},
        {TableArgs(link, {"--margin", "1e999"}), "--margin \"1e999\" is not a number of dB"},
        {TableArgs(link, {"--margin", "+-5"}), "--margin \"+-5\" is not a number of dB"},
        {TableArgs(link, {"--margin", "0x10"}), "--margin \"0x10\" is not a number of dB"},
        {TableArgs(link, {"--margin"}), "--margin needs a value"},
        {{"--margin", "10"}, "--margin goes with --speed-table"},
        {{"--csv-out"}, "--csv-out goes with --speed-table"},
        {TableArgs(link, {"--speed", "54"}), "--speed-table runs every speed: give no --speed"},
        {TableArgs(link, {"--json", "--csv-out"}), "--json and --csv-out cannot go together"},
        {{"--speed-table", "--csv", "-"}, "--speed-table and --csv cannot go together"},
        {{"--speed-table=yes"}, "--speed-table takes no value"},
        {{"--csv-out=x", "--speed-table"}, "--csv-out takes no value"},
    };
    for (const auto& [args, message] : cases) {
        std::string joined;
        for (const std::string& arg : args) joined += "[" + arg + "]";
        SCOPED_TRACE(joined);
        const CliRun run = RunCli(args);
        EXPECT_EQ(run.exitStatus, 64);
        EXPECT_EQ(run.out, "");
        EXPECT_TRUE(run.err.starts_with("linkcalc-cli: " + message)) << run.err;
    }
}

TEST(SpeedTableCli, AnOutputThatCannotBeWrittenIsAnIoError) {
    const std::string err = ::testing::TempDir() + "speed_table_err.txt";
    const std::string command = std::string(LINKCALC_CLI_PATH) +
                                " --speed-table --gain1 23 --gain2 23 --distance 10 --unit Miles "
                                "--band 5800 >/dev/full 2>" +
                                err;
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 74);
    std::ifstream file(err);
    std::string line;
    std::getline(file, line);
    EXPECT_EQ(line, "linkcalc-cli: cannot write standard output: No space left on device");
    std::remove(err.c_str());
}

TEST(SpeedTableCli, HelpNamesTheSpeedTable) {
    const CliRun run = RunCli({"--help"});
    EXPECT_EQ(run.exitStatus, 0);
    for (const char* line : {"linkcalc-cli --speed-table [INPUTS] [--margin DB] [--json|--csv-out]",
                             "\n  --speed-table ", "\n  --margin DB ", "\n  --csv-out "}) {
        EXPECT_NE(run.out.find(line), std::string::npos) << line;
    }
}

}  // namespace
}  // namespace linkcalc::cli_test
