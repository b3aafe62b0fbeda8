// linkcalc-cli: the link calculation of the desktop program, for shells and scripts.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "cli/batch.h"
#include "cli/command_line.h"
#include "cli/report.h"
#include "cli/speed_table_output.h"
#include "linkcalc/calc_run.h"
#include "linkcalc/memory_sheet.h"

namespace {

constexpr int kExitCompleted = 0;
constexpr int kExitStopped = 1;
constexpr int kExitFailed = 2;
constexpr int kExitUsage = 64;

constexpr const char* kUsage = R"(Usage: linkcalc-cli [INPUTS] [--json]
       linkcalc-cli --speed-table [INPUTS] [--margin DB] [--json|--csv-out]
       linkcalc-cli --csv FILE
Calculates the link budget of a point-to-point 802.11a link, as the QUARN Link
Budget Calculator window does when Calc is pressed.

Inputs (each sets its field's text exactly as given; --opt=TEXT or --opt TEXT):
  --gain1 TEXT      antenna gain of side 1, dBi
  --gain2 TEXT      antenna gain of side 2, dBi
  --loss1 TEXT      cable loss of side 1, dB (default "0")
  --loss2 TEXT      cable loss of side 2, dB (default "0")
  --distance TEXT   path length, in the unit of --unit
  --unit TEXT       distance unit: "Miles" or "Km" (any text is taken, as the
                    editable unit box takes it)
  --band BAND       4900, 5300, 5400 or 5800 (MHz)
  --speed SPEED     " 6 Mbps", "12 Mbps", "18 Mbps", "24 Mbps", "36 Mbps",
                    "48 Mbps" or "54 Mbps", or the bare number (6, 12, ... 54)
  --packet TEXT     packet size, bytes (empty: 1518)
An input left out stays as the window opens it; for the band and the speed the
empty text also means nothing chosen.

Output:
  (default)         the results laid out like the window; a notice or a failure
                    goes to standard error as one line naming the field to correct
  --json            one JSON object: outcome, notice, failure and all 29 fields
  --csv FILE        a batch, one link per row ("-": standard input); the header
                    names the input columns gain1, gain2, loss1, loss2, distance,
                    unit, band, speed, packet (any order, any subset). Writes CSV:
                    the input columns, outcome, message, then Lblft1, Lblft2,
                    Lblft3 and the 17 result fields by control name.
  --help            this text
  --version         the version

Speed table (every input but --speed):
  --speed-table     runs every speed of the list at the path, and finds each
                    speed's reach: the longest path, in steps of 0.01 of the
                    unit up to 1000, with a fade margin of at least DB; the last
                    line names the fastest speed with that margin at the path
  --margin DB       the fade margin the reach and the recommendation keep, dB
                    (default 10)
  --csv-out         writes the table as CSV instead of text (--json: as JSON)

Exit status: 0 completed (or a batch or a speed table run), 1 stopped by a notice,
2 run failure, 64 usage error, 74 the speed table could not be written.
)";

int Usage(const std::string& error) {
    std::cerr << "linkcalc-cli: " << error << "\n"
              << "Try 'linkcalc-cli --help' for more information.\n";
    return kExitUsage;
}

std::string ReadAll(const std::string& path) {
    if (path == "-") {
        std::ostringstream data;
        data << std::cin.rdbuf();
        return data.str();
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) throw linkcalc::cli::UsageError("cannot read \"" + path + "\"");
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

int RunOne(const linkcalc::cli::CommandLine& line) {
    using namespace linkcalc;
    MemorySheet sheet;
    for (const auto& [field, text] : line.inputs) sheet.SetText(field, text);
    RunValues values;
    const RunResult result = CalcRun(sheet, values);
    if (line.json) {
        std::cout << cli::JsonReport(result, sheet);
    } else if (result.outcome == RunOutcome::Completed) {
        std::cout << cli::TextReport(sheet);
    } else {
        std::cerr << "linkcalc-cli: " << cli::ErrorLine(result) << "\n";
    }
    switch (result.outcome) {
        case RunOutcome::Completed:
            return kExitCompleted;
        case RunOutcome::Stopped:
            return kExitStopped;
        case RunOutcome::Failed:
            return kExitFailed;
    }
    return kExitFailed;
}

}  // namespace

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    try {
        const auto line =
            linkcalc::cli::ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
        if (line.help) {
            std::cout << kUsage;
            return kExitCompleted;
        }
        if (line.version) {
            std::cout << "linkcalc-cli " << LINKCALC_VERSION << "\n";
            return kExitCompleted;
        }
        if (line.speedTable) return linkcalc::cli::RunSpeedTable(line);
        if (line.csvPath) {
            const std::string data = ReadAll(*line.csvPath);
            linkcalc::cli::RunBatch(data, [](std::string_view chunk) {
                std::fwrite(chunk.data(), 1, chunk.size(), stdout);
            });
            return std::fflush(stdout) == 0 ? kExitCompleted : kExitFailed;
        }
        return RunOne(line);
    } catch (const linkcalc::cli::UsageError& error) {
        return Usage(error.what());
    }
}
