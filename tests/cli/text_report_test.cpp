// The readable report of a completed run: each figure on its line, with its unit.
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cli_runner.h"

namespace linkcalc::cli_test {
namespace {

// The words after the label on the report line that starts with it (after the indent).
std::vector<std::string> WordsAfter(const std::string& report, const std::string& label) {
    std::istringstream lines(report);
    std::string line;
    while (std::getline(lines, line)) {
        const std::size_t start = line.find_first_not_of(' ');
        if (start == std::string::npos || line.compare(start, label.size(), label) != 0) continue;
        std::istringstream rest(line.substr(start + label.size()));
        std::vector<std::string> words;
        for (std::string word; rest >> word;) words.push_back(word);
        return words;
    }
    ADD_FAILURE() << "no line \"" << label << "\" in:\n" << report;
    return {};
}

using Words = std::vector<std::string>;

TEST(TextReport, CompletedRunShowsFiguresWithUnits) {
    const CliRun run = RunCli(ArgsOf({{"band", "5300"},
                                      {"speed", "54"},
                                      {"distance", "5"},
                                      {"unit", "Miles"},
                                      {"gain1", "23"},
                                      {"gain2", "19"},
                                      {"loss2", "1"}}));
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(WordsAfter(run.out, "Free space loss"), (Words{"125", "dB"}));
    EXPECT_EQ(WordsAfter(run.out, "Suggested antenna height"), (Words{"38", "ft"}));
    EXPECT_EQ(WordsAfter(run.out, "Receiver sensitivity"), (Words{"-73dBm"}));
    EXPECT_EQ(WordsAfter(run.out, "EIRP"), (Words{"30", "dBm", "30", "dBm"}));
    EXPECT_EQ(WordsAfter(run.out, "Expected RSSI"), (Words{"-72", "dBm", "-77", "dBm"}));
    // As on the window, each side's column shows the floor worked out from the other side's
    // RSSI: side 1 shows -102 (from -77), side 2 shows -97 (from -72).
    EXPECT_EQ(WordsAfter(run.out, "Maximum noise floor"), (Words{"-102", "dBm", "-97", "dBm"}));
    EXPECT_EQ(WordsAfter(run.out, "Bit rate unidirectional"), (Words{"31.48", "Mbit/s"}));
    EXPECT_EQ(WordsAfter(run.out, "Fade margin"), (Words{"-3", "dB"}));
}

TEST(TextReport, LengthsAreInMetresForKilometres) {
    const CliRun run = RunCli(ArgsOf(CompleteLink({{"distance", "16.0934"}, {"unit", "Km"}})));
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(WordsAfter(run.out, "Fresnel radius"), (Words{"14", "m"}));
    EXPECT_EQ(WordsAfter(run.out, "Earth curvature"), (Words{"4", "m"}));
    EXPECT_EQ(WordsAfter(run.out, "Suggested antenna height"), (Words{"18", "m"}));
    EXPECT_EQ(WordsAfter(run.out, "Free space loss"), (Words{"132", "dB"}));
}

}  // namespace
}  // namespace linkcalc::cli_test
