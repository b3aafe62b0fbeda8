// linkcalc-cli: the link calculation of the desktop program, for shells and scripts.
#include <malloc.h>
#include <unistd.h>

#include <exception>
#include <iostream>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "cli/batch.h"
#include "cli/clearance_report.h"
#include "cli/clearance_run.h"
#include "cli/command_line.h"
#include "cli/input_options.h"
#include "cli/io.h"
#include "cli/link_maps.h"
#include "cli/output_checks.h"
#include "cli/progress.h"
#include "cli/report.h"
#include "cli/site_options.h"
#include "cli/speed_table_output.h"
#include "linkcalc/calc_run.h"
#include "linkcalc/memory_sheet.h"
#include "planning/module_loader.h"
#include "planning/output_file.h"

namespace {

// sysexits statuses beside the outcomes of a run.
constexpr int kExitCompleted = 0;
constexpr int kExitStopped = 1;
constexpr int kExitFailed = 2;
constexpr int kExitUsage = 64;
constexpr int kExitDataError = 65;
constexpr int kExitNoInput = 66;
constexpr int kExitUnavailable = 69;
constexpr int kExitSoftware = 70;
constexpr int kExitOsError = 71;
constexpr int kExitIoError = 74;

constexpr const char* kUsage = R"(Usage: linkcalc-cli [INPUTS] [GROUND] [--json]
       linkcalc-cli --site1 POINT --site2 POINT [SITE OPTIONS] [INPUTS] [GROUND]
                    [--kml FILE] [--json]
       linkcalc-cli --speed-table [INPUTS] [--margin DB] [--json|--csv-out]
       linkcalc-cli --csv FILE [--delimiter SEP] [--kml FILE] [--quiet]
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

Sites (instead of --distance: the path length is the geodesic distance on WGS84
between them, written to the distance field in the unit of --unit, Km when
--unit is left out or empty, rounded to the metre):
  --site1 POINT     latitude and longitude of side 1, separated by a comma or
                    blanks: each in decimal degrees (-79.9959), as D:M or
                    D:M:S (40:26:46) or with marks (40d26'46", 40°26′46″,
                    40.4406°), only the last number with decimals, and a sign
                    or a hemisphere letter N S E W before or after it (letters
                    may put the longitude first): "40.4406,-79.9959",
                    "40:26:46N 79:58:56W", 79d58'56"W 40d26'46"N
  --site2 POINT     latitude and longitude of side 2
  --ground1 M       ground elevation of site 1 above sea level, metres, from
                    -11000 to 9000 (default 0)
  --ground2 M       ground elevation of site 2 above sea level, metres (the same)
  --mast1 M         antenna height above ground at site 1, metres, from 0 to 1000
                    (default: the suggested antenna height of the run, in metres)
  --mast2 M         antenna height above ground at site 2, metres (the same)
  --kml FILE        also writes a KML 2.2 map: a placemark per site and a line per
                    link, green for a fade margin of 10 dB or more, yellow from 0
                    to 10, red below 0 or for a run that stopped or failed; with
                    --csv, a line for each row run from its sites. Written to a
                    temporary name and renamed: a failed map or batch leaves none.
                    A link is followed to the file it names and kept; a file
                    keeps its mode and owner; a device or a FIFO is written in
                    place; a folder is refused
The report gains a "Sites" block (--json: "sites"): the points, the distance,
the true bearing of each antenna toward the other, and each antenna's tilt
toward the other antenna top over an earth of 4/3 its radius.

Ground and clearance (worked out when one of these is given):
  --terrain FILE    the ground along the path: a CSV ("-": standard input) with
                    the columns distance (metres from site 1) and elevation
                    (metres above sea level), optional obstruction (trees or
                    buildings on the ground, metres), in increasing distance
                    from 0. Without --distance its last distance is the path
                    length (in --unit, Km when left out); with it the two agree
                    within 1 %. Lines end in LF, CRLF or CR and hold at most
                    1 MiB; at most 1000000 rows; elevations from -11000 to 9000,
                    obstructions from 0 to 1000
  --dem PATH        the ground from a raster file GDAL reads or a folder of SRTM
                    tiles (N40W080.hgt), sampled every 30 m between the sites; a
                    point on a tile's edge is read from either tile, 180 and -180
                    are one meridian; a cell of no number is a hole, one beyond
                    -11000 to 9000 m an error
  --k-factor K      the effective earth radius factor, a number or a fraction
                    such as 4/3 (the default)
  --profile FILE    draws the path as SVG, PNG or PDF by the name's extension:
                    terrain, obstructions, earth bulge, masts, line of sight,
                    first Fresnel zone and its 60 % line, the worst point, and a
                    legend with the link's figures; written as --kml is
Without a terrain or a DEM the ground is a bare earth at sea level. A path is at
most 20015114.4 m long (half the earth's circumference), sampled every 30 m: at
most 667172 samples beside a terrain's rows. The masts
are --mast1 and --mast2, else the suggested antenna height in metres; they stand
on --ground1 and --ground2, else on the profile's ends (which the Sites block
then shows). The report gains a "Clearance" block (--json: "clearance"): the
worst point, whether 60 % of the first Fresnel zone is clear everywhere, and the
mast, the same at both ends, that clears 60 % and 100 % of it.

Output:
  (default)         the results laid out like the window; a notice or a failure
                    goes to standard error as one line naming the field to correct
  --json            one JSON object: outcome, notice, failure and all 29 fields
  --csv FILE        a batch, one link per row ("-": standard input); the header
                    names the input columns gain1, gain2, loss1, loss2, distance,
                    unit, band, speed, packet (any order, any subset), and for
                    links from sites site1 and site2 (or lat1, lon1, lat2, lon2),
                    ground1, ground2, mast1, mast2. Writes CSV: the input
                    columns, outcome, message, then Lblft1, Lblft2, Lblft3 and
                    the 17 result fields by control name, and with sites
                    distance_m, azimuth1_deg, azimuth2_deg, tilt1_deg, tilt2_deg.
                    A row that cannot be read comes out "invalid", its message
                    naming the line and the fault (or the column); the batch
                    goes on. For the ground of each row: terrain, dem and
                    k-factor; with any of them the output adds k, samples,
                    worst_distance_m, worst_clearance_m, worst_ratio, clear60,
                    mast60_m, mast100_m.
  --delimiter SEP   the separator of the batch, in and out: "," ";" or "tab"
                    (default: the first of them on the header line, else ",")
  --quiet           no progress line and no summary of a batch on a terminal
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
2 run failure, 64 usage error (a point that cannot be read, or an output that is
an input or the other output, included), 65 a terrain or DEM that does not hold
what it should or an input over its bounds (a path too long included), 66 input
that cannot be opened, 69 a module that cannot be loaded, 74 read or write error
(a map that cannot be written, or a closed pipe when SIGPIPE is ignored,
included). SIGINT, SIGTERM, SIGHUP and SIGPIPE remove the temporary files of
--kml and --profile, then end the tool as they would.
)";

void Complain(const std::string& message) {
    std::cerr << "linkcalc-cli: " << message << "\n";
}

int Usage(const std::string& error) {
    Complain(error);
    std::cerr << "Try 'linkcalc-cli --help' for more information.\n";
    return kExitUsage;
}

// Where the report says the ground came from.
std::string GroundText(const linkcalc::cli::CommandLine& line) {
    if (line.terrainPath) {
        return *line.terrainPath == "-" ? "terrain from standard input"
                                        : "terrain \"" + *line.terrainPath + "\"";
    }
    if (line.demPath) return "DEM \"" + *line.demPath + "\"";
    return "bare earth at sea level";
}

// The inputs of the command line, for the map: "gain1=23, ..., site1=..., site2=...".
std::string InputsOf(const linkcalc::cli::CommandLine& line) {
    using namespace linkcalc::cli;
    std::string inputs;
    for (const auto& [field, text] : line.inputs) {
        for (const InputOption& option : kInputOptions) {
            if (option.field == field) AddInput(inputs, option.name, text);
        }
    }
    AddInput(inputs, "site1", line.site1.value_or(""));
    AddInput(inputs, "site2", line.site2.value_or(""));
    const auto height = [&](const char* name, const std::optional<double>& metres) {
        if (metres) AddInput(inputs, name, linkcalc::cli::Fixed(*metres, 2));
    };
    height("ground1", line.ground1);
    height("ground2", line.ground2);
    height("mast1", line.mast1);
    height("mast2", line.mast2);
    return inputs;
}

int RunOne(const linkcalc::cli::CommandLine& line, linkcalc::cli::ByteSink& out) {
    using namespace linkcalc;
    // The map is started first: one that cannot be written costs no run.
    std::unique_ptr<planning::MapWriter> map;
    if (line.kmlPath) map = cli::CreateMap(*line.kmlPath);
    MemorySheet sheet;
    for (const auto& [field, text] : line.inputs) sheet.SetText(field, text);
    planning::GroundSource ground;
    if (line.terrainPath) {
        ground.terrain = cli::ReadTerrainFile(*line.terrainPath);
        if (!line.HasSites()) cli::TypeTerrainLength(*ground.terrain, line, sheet);
    }
    ground.dem = line.demPath;
    RunValues values;
    std::optional<planning::SiteRun> sites;
    if (line.HasSites()) sites = cli::RunFromSites(line, sheet, values);
    const RunResult result = sites ? sites->result : CalcRun(sheet, values);
    planning::LinkGeometry* geometry = sites ? &sites->geometry : nullptr;
    std::optional<planning::LinkClearance> clearance;
    if (line.WantsClearance() && result.outcome == RunOutcome::Completed) {
        if (geometry) {
            ground.site1 = geometry->site1;
            ground.site2 = geometry->site2;
            ground.length_m = geometry->distance_m;
        }
        clearance = cli::ClearanceOfLink(sheet, values, ground,
                                         {line.ground1, line.ground2, line.mast1, line.mast2},
                                         line.kFactor.value_or(planning::kDefaultKFactor));
        if (geometry) cli::TakeProfileGround(*clearance, sheet, *geometry);
        if (line.profilePath) {
            cli::WriteProfile(
                *line.profilePath, sheet, *clearance,
                geometry ? cli::BearingLines(*geometry) : std::vector<planning::LegendLine>{});
        }
    }
    if (line.json) {
        out.Write(
            cli::JsonReport(result, sheet, geometry, clearance ? &clearance->clearance : nullptr));
    } else if (result.outcome == RunOutcome::Completed) {
        out.Write(cli::TextReport(sheet, geometry) +
                  (clearance ? cli::ClearanceBlock(*clearance, GroundText(line)) : ""));
    } else {
        Complain(cli::ErrorLine(result));
    }
    if (map) {
        map->Add(
            cli::MapLineOf("Link", InputsOf(line), result, sheet, *geometry, cli::GeodesyModule()));
        map->Finish();
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

int RunBatch(const linkcalc::cli::CommandLine& line, linkcalc::cli::ByteSink& out) {
    using namespace linkcalc::cli;
    // The buffers of a block of long rows go back to the system when freed, and the threads'
    // heaps give back what they no longer use: the batch's memory stays flat.
    ::mallopt(M_MMAP_THRESHOLD, 1 << 20);
    ::mallopt(M_TRIM_THRESHOLD, 1 << 20);
    std::unique_ptr<linkcalc::planning::MapWriter> map;
    if (line.kmlPath) map = CreateMap(*line.kmlPath);
    FileSource input(*line.csvPath);
    std::optional<TerminalProgress> progress;
    if (!line.quiet && ::isatty(STDERR_FILENO)) progress.emplace();
    BatchOptions options;
    options.separator = line.delimiter;
    options.observer = progress ? &*progress : nullptr;
    options.map = map.get();
    try {
        const BatchCounts counts = linkcalc::cli::RunBatch(input, out, options);
        if (progress) progress->Finish(counts);
    } catch (...) {
        if (progress) progress->Clear();
        throw;
    }
    return kExitCompleted;
}

int Main(const std::vector<std::string>& args) {
    const auto line = linkcalc::cli::ParseCommandLine(args);
    linkcalc::cli::StandardOutput out;
    if (line.help) {
        out.Write(kUsage);
        return kExitCompleted;
    }
    if (line.version) {
        out.Write(std::string("linkcalc-cli ") + LINKCALC_VERSION + "\n");
        return kExitCompleted;
    }
    linkcalc::cli::CheckOutputsAreNotInputs(line);
    if (line.speedTable) {
        if (!line.HasSites()) return linkcalc::cli::RunSpeedTable(line, out);
        auto withDistance = line;
        linkcalc::cli::AddSiteDistance(withDistance);
        return linkcalc::cli::RunSpeedTable(withDistance, out);
    }
    if (line.csvPath) return RunBatch(line, out);
    return RunOne(line, out);
}

}  // namespace

int main(int argc, char** argv) {
    linkcalc::planning::RemoveTemporaryFilesOnSignals();
    try {
        return Main(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const linkcalc::cli::UsageError& error) {
        return Usage(error.what());
    } catch (const linkcalc::cli::IoError& error) {
        Complain(error.what());
        return error.WhatFailed() == linkcalc::cli::IoError::Kind::CannotOpen ? kExitNoInput
                                                                              : kExitIoError;
    } catch (const linkcalc::cli::DataError& error) {
        Complain(error.what());
        return kExitDataError;
    } catch (const linkcalc::planning::MapError& error) {
        Complain(error.what());
        return kExitIoError;
    } catch (const linkcalc::planning::ModuleError& error) {
        Complain(error.what());
        return kExitUnavailable;
    } catch (const std::bad_alloc&) {
        Complain("out of memory");
        return kExitOsError;
    } catch (const std::exception& error) {
        Complain(std::string("internal error: ") + error.what());
        return kExitSoftware;
    } catch (...) {
        Complain("internal error");
        return kExitSoftware;
    }
}
