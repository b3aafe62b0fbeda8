// Numbers far beyond any mast or path: every text the tool writes of them is whole, or the
// input is refused with a whole message; never a NUL byte, never a message cut short.
#include <cmath>
#include <regex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cli_runner.h"

namespace linkcalc::cli_test {
namespace {

const std::vector<std::string> kLink{"--gain1=23", "--gain2=23", "--band=5800", "--speed=6"};

std::vector<std::string> With(std::vector<std::string> more) {
    std::vector<std::string> args = kLink;
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

// No NUL anywhere, and a message is one line that ends with its last word (a usage error
// adds the pointer to --help on a line of its own).
void ExpectWhole(const CliRun& run) {
    EXPECT_EQ(run.out.find('\0'), std::string::npos) << run.out;
    EXPECT_EQ(run.err.find('\0'), std::string::npos) << run.err;
    std::string message = run.err;
    const std::string hint = "Try 'linkcalc-cli --help' for more information.\n";
    if (run.exitStatus == 64 && message.ends_with(hint))
        message.resize(message.size() - hint.size());
    if (message.empty()) return;
    EXPECT_TRUE(message.starts_with("linkcalc-cli: ")) << run.err;
    EXPECT_EQ(message.find('\n'), message.size() - 1) << run.err;
    EXPECT_NE(message.substr(message.size() - 2, 1), " ") << run.err;
}

TEST(LargeNumbers, MastsOfAnyHeightArePrintedWholeOrRefused) {
    for (const std::string text : {"1e66", "1e100", "1e300"}) {
        SCOPED_TRACE(text);
        const double mast = std::stod(text);
        const CliRun run = RunCli(With({"--site1=0,0", "--site2=0,0.1", "--mast1=" + text,
                                        "--mast2=" + text, "--terrain=-"}),
                                  "distance,elevation\n0,0\n11132,0\n");
        ExpectWhole(run);
        if (run.exitStatus != 0) {
            // Refused before any figure: a data or usage error that names the mast.
            EXPECT_TRUE(run.exitStatus == 64 || run.exitStatus == 65) << run.exitStatus;
            EXPECT_NE(run.err.find("mast"), std::string::npos) << run.err;
            EXPECT_EQ(run.out, "");
            continue;
        }
        std::smatch match;
        const std::regex heights(
            "\n  Antenna heights +([0-9]+)\\.[0-9] m at site 1, ([0-9]+)\\.[0-9] m at site 2\n");
        ASSERT_TRUE(std::regex_search(run.out, match, heights)) << run.out;
        // Every digit: the text reads back as the mast.
        for (const std::size_t i : {1u, 2u}) {
            EXPECT_NE(match[i].str().front(), '0');
            EXPECT_EQ(std::stod(match[i]), mast) << match[i];
        }
        const std::regex worst(
            "\n  Worst point +[0-9.]+ km from site 1, clearance -?[0-9]+\\.[0-9] "
            "m, -?[0-9]+\\.[0-9]{2} of the zone radius\n");
        EXPECT_TRUE(std::regex_search(run.out, worst)) << run.out;
    }
}

// Lengths from those whose text used to cut the message to those whose distance text was NUL
// bytes.
TEST(LargeNumbers, TerrainLengthsBeyondTheEarthGiveWholeTexts) {
    for (const char* length :
         {"1e32", "1e40", "1e66", "1e67", "1e100", "1e200", "1e300", "1e308"}) {
        SCOPED_TRACE(length);
        const std::string terrain = std::string("distance,elevation\n0,0\n") + length + ",0\n";
        const std::vector<std::string> args = With({"--unit=Km", "--terrain=-"});
        const CliRun text = RunCli(args, terrain);
        ExpectWhole(text);
        EXPECT_NE(text.exitStatus, 0);
        EXPECT_NE(text.exitStatus, -1);
        const std::size_t path = text.err.find("a path of ");
        if (path != std::string::npos) {
            // The path's length in whole metres, every digit of it.
            const std::size_t start = path + 10;
            const std::size_t end = text.err.find(" m ", start);
            ASSERT_NE(end, std::string::npos) << text.err;
            const std::string metres = text.err.substr(start, end - start);
            EXPECT_EQ(metres.find_first_not_of("0123456789"), std::string::npos) << metres;
            // As the run read it back from the distance typed in kilometres.
            EXPECT_NEAR(std::stod(metres) / std::stod(length), 1, 1e-15) << metres;
        }

        std::vector<std::string> jsonArgs = args;
        jsonArgs.push_back("--json");
        const CliRun json = RunCli(jsonArgs, terrain);
        ExpectWhole(json);
        if (json.out.empty()) continue;  // refused, with a whole message
        const nlohmann::json report = ParseJson(json.out);
        ASSERT_TRUE(report.is_object());
        // The terrain's length typed as the distance, in kilometres to the metre.
        const std::string distance = report.at("fields").at("TxtDM");
        EXPECT_EQ(distance.find_first_not_of("0123456789."), std::string::npos) << distance;
        EXPECT_EQ(distance.find('.'), std::string::npos) << distance;
        EXPECT_NEAR(std::stod(distance) / (std::stod(length) / 1000), 1, 1e-15) << distance;
    }
}

}  // namespace
}  // namespace linkcalc::cli_test
