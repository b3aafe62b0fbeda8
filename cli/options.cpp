#include "cli/options.h"

#include <array>
#include <stdexcept>
#include <string>
#include <utility>

#include "cli/command_line.h"
#include "cli/input_options.h"
#include "planning/picture.h"

namespace linkcalc::cli {
namespace {

// The value of an option that names a file: any text but the empty one.
std::string FileName(std::string_view name, const std::string& value) {
    if (value.empty()) throw UsageError("--" + std::string(name) + " needs a file name");
    return value;
}

// An input of the sheet; its row in kInputOptions gives the field.
void SetInput(CommandLine& line, std::string_view name, const std::string& value) {
    const auto option = InputOptionNamed(name);
    if (!option) throw std::logic_error("--" + std::string(name) + " sets no field");
    auto text = FieldTextOf(option->field, value);
    if (!text) throw UsageError(RefusalOf(*option, value));
    line.inputs.emplace_back(option->field, std::move(*text));
}

// A ground or a mast of one site, into its member of the command line.
template <std::optional<double> CommandLine::*kInto, Height kHeight>
void SetHeight(CommandLine& line, std::string_view name, const std::string& value) {
    std::optional<double> metres;
    if (const auto refusal = HeightRefusal("--" + std::string(name), kHeight, value, metres)) {
        throw UsageError(*refusal);
    }
    line.*kInto = metres;
}

void SetKFactor(CommandLine& line, std::string_view, const std::string& value) {
    line.kFactor = KFactorOf(value);
    if (!line.kFactor) throw UsageError("--k-factor \"" + value + "\" is not a positive number");
}

void SetProfile(CommandLine& line, std::string_view name, const std::string& value) {
    line.profilePath = FileName(name, value);
    if (!planning::PictureFormatOf(value)) {
        throw UsageError("--profile \"" + value +
                         "\": the picture's name ends in .svg, .png or .pdf");
    }
}

void SetBatch(CommandLine& line, std::string_view, const std::string& value) {
    if (value.empty()) throw UsageError("--csv needs a file name, or - for standard input");
    line.csvPath = value;
}

void SetMargin(CommandLine& line, std::string_view, const std::string& value) {
    line.margin = MarginOf(value);
    if (!line.margin) throw UsageError("--margin \"" + value + "\" is not a number of dB");
}

char DelimiterNamed(const std::string& value) {
    if (value == "," || value == ";" || value == "\t") return value[0];
    if (value == "tab") return '\t';
    throw UsageError("--delimiter takes \",\", \";\" or \"tab\", not \"" + value + "\"");
}

constexpr std::array<Option, 29> kOptions{{
    {"gain1", "TEXT", OptionGroup::Inputs, kSingleRun | kSites | kSpeedTable,
     "antenna gain of side 1, dBi", nullptr, SetInput},
    {"gain2", "TEXT", OptionGroup::Inputs, kSingleRun | kSites | kSpeedTable,
     "antenna gain of side 2, dBi", nullptr, SetInput},
    {"loss1", "TEXT", OptionGroup::Inputs, kSingleRun | kSites | kSpeedTable,
     "cable loss of side 1, dB (default \"0\")", nullptr, SetInput},
    {"loss2", "TEXT", OptionGroup::Inputs, kSingleRun | kSites | kSpeedTable,
     "cable loss of side 2, dB (default \"0\")", nullptr, SetInput},
    {"distance", "TEXT", OptionGroup::Inputs, kSingleRun | kSpeedTable,
     "path length, in the unit of --unit", nullptr, SetInput},
    {"unit", "TEXT", OptionGroup::Inputs, kSingleRun | kSites | kSpeedTable,
     "distance unit: \"Miles\" or \"Km\" (any text is taken, as the\n"
     "editable unit box takes it)",
     nullptr, SetInput},
    {"band", "BAND", OptionGroup::Inputs, kSingleRun | kSites | kSpeedTable,
     "4900, 5300, 5400 or 5800 (MHz)", nullptr, SetInput},
    {"speed", "SPEED", OptionGroup::Inputs, kSingleRun | kSites,
     "\" 6 Mbps\", \"12 Mbps\", \"18 Mbps\", \"24 Mbps\", \"36 Mbps\",\n"
     "\"48 Mbps\" or \"54 Mbps\", or the bare number (6, 12, ... 54)",
     nullptr, SetInput},
    {"packet", "TEXT", OptionGroup::Inputs, kSingleRun | kSites | kSpeedTable,
     "packet size, bytes (empty: 1518)", nullptr, SetInput},
    {"site1", "POINT", OptionGroup::Sites, kSites,
     "latitude and longitude of side 1, separated by a comma or\n"
     "blanks: each in decimal degrees (-79.9959), as D:M or\n"
     "D:M:S (40:26:46) or with marks (40d26'46\", 40°26′46″,\n"
     "40.4406°), only the last number with decimals, and a sign\n"
     "or a hemisphere letter N S E W before or after it (letters\n"
     "may put the longitude first): \"40.4406,-79.9959\",\n"
     "\"40:26:46N 79:58:56W\", 79d58'56\"W 40d26'46\"N",
     nullptr,
     [](CommandLine& line, std::string_view, const std::string& value) { line.site1 = value; }},
    {"site2", "POINT", OptionGroup::Sites, kSites, "latitude and longitude of side 2", nullptr,
     [](CommandLine& line, std::string_view, const std::string& value) { line.site2 = value; }},
    {"ground1", "M", OptionGroup::Sites, kSites,
     "ground elevation of site 1 above sea level, metres, from\n"
     "-11000 to 9000 (default 0)",
     nullptr, SetHeight<&CommandLine::ground1, Height::Ground>},
    {"ground2", "M", OptionGroup::Sites, kSites,
     "ground elevation of site 2 above sea level, metres (the same)", nullptr,
     SetHeight<&CommandLine::ground2, Height::Ground>},
    {"mast1", "M", OptionGroup::Sites, kSites,
     "antenna height above ground at site 1, metres, from 0 to 1000\n"
     "(default: the suggested antenna height of the run, in metres)",
     nullptr, SetHeight<&CommandLine::mast1, Height::Mast>},
    {"mast2", "M", OptionGroup::Sites, kSites,
     "antenna height above ground at site 2, metres (the same)", nullptr,
     SetHeight<&CommandLine::mast2, Height::Mast>},
    {"kml", "FILE", OptionGroup::Sites, kSites | kBatch,
     "also writes a KML 2.2 map: a placemark per site and a line per\n"
     "link, green for a fade margin of 10 dB or more, yellow from 0\n"
     "to 10, red below 0 or for a run that stopped or failed; with\n"
     "--csv, a line for each row run from its sites. Written to a\n"
     "temporary name and renamed: a failed map or batch leaves none.\n"
     "A link is followed to the file it names and kept; a file\n"
     "keeps its mode and owner; a device or a FIFO is written in\n"
     "place; a folder is refused",
     nullptr,
     [](CommandLine& line, std::string_view name, const std::string& value) {
         line.kmlPath = FileName(name, value);
     }},
    {"terrain", "FILE", OptionGroup::Ground, kSingleRun | kSites,
     "the ground along the path: a CSV (\"-\": standard input) with\n"
     "the columns distance (metres from site 1) and elevation\n"
     "(metres above sea level), optional obstruction (trees or\n"
     "buildings on the ground, metres), in increasing distance\n"
     "from 0. Without --distance its last distance is the path\n"
     "length (in --unit, Km when left out); with it the two agree\n"
     "within 1 %. Lines end in LF, CRLF or CR and hold at most\n"
     "1 MiB; at most 1000000 rows; elevations from -11000 to 9000,\n"
     "obstructions from 0 to 1000",
     nullptr,
     [](CommandLine& line, std::string_view name, const std::string& value) {
         line.terrainPath = FileName(name, value);
     }},
    {"dem", "PATH", OptionGroup::Ground, kSites,
     "the ground from a raster file GDAL reads or a folder of SRTM\n"
     "tiles (N40W080.hgt), sampled every 30 m between the sites; a\n"
     "point on a tile's edge is read from either tile, 180 and -180\n"
     "are one meridian; a cell of no number is a hole, one beyond\n"
     "-11000 to 9000 m an error",
     nullptr,
     [](CommandLine& line, std::string_view name, const std::string& value) {
         line.demPath = FileName(name, value);
     }},
    {"k-factor", "K", OptionGroup::Ground, kSingleRun | kSites,
     "the effective earth radius factor, a number or a fraction\n"
     "such as 4/3 (the default)",
     nullptr, SetKFactor},
    {"profile", "FILE", OptionGroup::Ground, kSingleRun | kSites,
     "draws the path as SVG, PNG or PDF by the name's extension:\n"
     "terrain, obstructions, earth bulge, masts, line of sight,\n"
     "first Fresnel zone and its 60 % line, the worst point, and a\n"
     "legend with the link's figures; written as --kml is",
     nullptr, SetProfile},
    {"json", "", OptionGroup::Output, kSingleRun | kSites | kSpeedTable,
     "one JSON object: outcome, notice, failure and all 29 fields", &CommandLine::json},
    {"csv", "FILE", OptionGroup::Output, kBatch,
     "a batch, one link per row (\"-\": standard input); the header\n"
     "names the input columns gain1, gain2, loss1, loss2, distance,\n"
     "unit, band, speed, packet (any order, any subset), and for\n"
     "links from sites site1 and site2 (or lat1, lon1, lat2, lon2),\n"
     "ground1, ground2, mast1, mast2. Writes CSV: the input\n"
     "columns, outcome, message, then Lblft1, Lblft2, Lblft3 and\n"
     "the 17 result fields by control name, and with sites\n"
     "distance_m, azimuth1_deg, azimuth2_deg, tilt1_deg, tilt2_deg.\n"
     "A row that cannot be read comes out \"invalid\", its message\n"
     "naming the line and the fault (or the column); the batch\n"
     "goes on. For the ground of each row: terrain, dem and\n"
     "k-factor; with any of them the output adds k, samples,\n"
     "worst_distance_m, worst_clearance_m, worst_ratio, clear60,\n"
     "mast60_m, mast100_m.",
     nullptr, SetBatch},
    {"delimiter", "SEP", OptionGroup::Output, kBatch,
     "the separator of the batch, in and out: \",\" \";\" or \"tab\"\n"
     "(default: the first of them on the header line, else \",\")",
     nullptr,
     [](CommandLine& line, std::string_view, const std::string& value) {
         line.delimiter = DelimiterNamed(value);
     }},
    {"quiet", "", OptionGroup::Output, kEveryForm,
     "no progress line and no summary of a batch on a terminal", &CommandLine::quiet},
    {"help", "", OptionGroup::Output, kEveryForm, "this text", &CommandLine::help},
    {"version", "", OptionGroup::Output, kEveryForm, "the version", &CommandLine::version},
    {"speed-table", "", OptionGroup::SpeedTable, kSpeedTable,
     "runs every speed of the list at the path, and finds each\n"
     "speed's reach: the longest path, in steps of 0.01 of the\n"
     "unit up to 1000, with a fade margin of at least DB; the last\n"
     "line names the fastest speed with that margin at the path",
     &CommandLine::speedTable},
    {"margin", "DB", OptionGroup::SpeedTable, kSpeedTable,
     "the fade margin the reach and the recommendation keep, dB\n"
     "(default 10)",
     nullptr, SetMargin},
    {"csv-out", "", OptionGroup::SpeedTable, kSpeedTable,
     "writes the table as CSV instead of text (--json: as JSON)", &CommandLine::csvOut},
}};

// What --help says before a group's option lines (its heading) and after them.
struct GroupText {
    OptionGroup group;
    std::string_view heading;
    std::string_view after;
};

constexpr std::string_view kHelpStart =
    R"(Usage: linkcalc-cli [INPUTS] [GROUND] [--json]
       linkcalc-cli --site1 POINT --site2 POINT [SITE OPTIONS] [INPUTS] [GROUND]
                    [--kml FILE] [--json]
       linkcalc-cli --speed-table [INPUTS] [--margin DB] [--json|--csv-out]
       linkcalc-cli --csv FILE [--delimiter SEP] [--kml FILE] [--quiet]
Calculates the link budget of a point-to-point 802.11a link, as the QUARN Link
Budget Calculator window does when Calc is pressed.

)";

constexpr std::array<GroupText, 5> kGroupTexts{{
    {OptionGroup::Inputs,
     R"(Inputs (each sets its field's text exactly as given; --opt=TEXT or --opt TEXT):
)",
     R"(An input left out stays as the window opens it; for the band and the speed the
empty text also means nothing chosen.

)"},
    {OptionGroup::Sites,
     R"(Sites (instead of --distance: the path length is the geodesic distance on WGS84
between them, written to the distance field in the unit of --unit, Km when
--unit is left out or empty, rounded to the metre):
)",
     R"(The report gains a "Sites" block (--json: "sites"): the points, the distance,
the true bearing of each antenna toward the other, and each antenna's tilt
toward the other antenna top over an earth of 4/3 its radius.

)"},
    {OptionGroup::Ground,
     R"(Ground and clearance (worked out when one of these is given):
)",
     R"(Without a terrain or a DEM the ground is a bare earth at sea level. A path is at
most 20015114.4 m long (half the earth's circumference), sampled every 30 m: at
most 667172 samples beside a terrain's rows. The masts
are --mast1 and --mast2, else the suggested antenna height in metres; they stand
on --ground1 and --ground2, else on the profile's ends (which the Sites block
then shows). The report gains a "Clearance" block (--json: "clearance"): the
worst point, whether 60 % of the first Fresnel zone is clear everywhere, and the
mast, the same at both ends, that clears 60 % and 100 % of it.

)"},
    {OptionGroup::Output,
     R"(Output:
  (default)         the results laid out like the window; a notice or a failure
                    goes to standard error as one line naming the field to correct
)",
     "\n"},
    {OptionGroup::SpeedTable,
     R"(Speed table (every input but --speed):
)",
     "\n"},
}};

constexpr std::string_view kHelpEnd =
    R"(Exit status: 0 completed (or a batch or a speed table run), 1 stopped by a notice,
2 run failure, 64 usage error (a point that cannot be read, or an output that is
an input or the other output, included), 65 a terrain or DEM that does not hold
what it should or an input over its bounds (a path too long included), 66 input
that cannot be opened, 69 a module that cannot be loaded, 74 read or write error
(a map that cannot be written, or a closed pipe when SIGPIPE is ignored,
included). SIGINT, SIGTERM, SIGHUP and SIGPIPE remove the temporary files of
--kml and --profile, then end the tool as they would.
)";

// The help of an option starts in this column; its further lines are indented to it.
constexpr std::size_t kHelpColumn = 20;

void AppendOptionLines(std::string& out, const Option& option) {
    std::string head = "  --";
    head += option.name;
    if (!option.IsFlag()) {
        head += ' ';
        head += option.argument;
    }
    out += head;
    if (head.size() + 1 > kHelpColumn) {
        out += '\n';
        head.clear();
    }
    out.append(kHelpColumn - head.size(), ' ');
    for (const char c : option.help) {
        out += c;
        if (c == '\n') out.append(kHelpColumn, ' ');
    }
    out += '\n';
}

}  // namespace

std::span<const Option> Options() {
    return kOptions;
}

std::optional<Option> OptionNamed(std::string_view name) {
    for (const Option& option : kOptions) {
        if (option.name == name) return option;
    }
    return std::nullopt;
}

std::string HelpText() {
    std::string out(kHelpStart);
    for (const GroupText& group : kGroupTexts) {
        out += group.heading;
        for (const Option& option : kOptions) {
            if (option.group == group.group) AppendOptionLines(out, option);
        }
        out += group.after;
    }
    out += kHelpEnd;
    return out;
}

}  // namespace linkcalc::cli
