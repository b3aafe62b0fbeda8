#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "linkcalc/field.h"

namespace linkcalc::cli {

// A command line that cannot be carried out; exit status 64.
class UsageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

struct CommandLine {
    std::vector<std::pair<Field, std::string>> inputs;  // field texts, in the order given
    bool json = false;
    std::optional<std::string> csvPath;  // "-": standard input
    bool speedTable = false;             // every speed at the path, and its reach
    std::optional<double> margin;        // the fade margin a reach keeps, dB
    bool csvOut = false;                 // the speed table as CSV
    std::optional<char> delimiter;       // of the batch; detected from its header when not given
    bool quiet = false;                  // no progress line or summary for a batch
    bool help = false;
    bool version = false;

    // The ground under the path, the earth's radius factor and the picture of the path.
    std::optional<std::string> terrainPath;  // "-": standard input
    std::optional<std::string> demPath;      // a raster file or a folder of SRTM tiles
    std::optional<double> kFactor;
    std::optional<std::string> profilePath;  // .svg, .png or .pdf

    // The clearance is worked out only when something of it is asked for.
    bool WantsClearance() const { return terrainPath || demPath || kFactor || profilePath; }
};

// The --k-factor value: a positive decimal number; nothing otherwise.
std::optional<double> KFactorOf(std::string_view text);

// The --margin value: a decimal number, as "10", "7.5", "-3" or "1e1"; nothing otherwise.
std::optional<double> MarginOf(std::string_view text);

// Options take their text as "--name=TEXT" or as the next argument, whatever it holds.
CommandLine ParseCommandLine(const std::vector<std::string>& args);

}  // namespace linkcalc::cli
