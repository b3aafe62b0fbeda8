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
#include "cli/options.h"
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
        out.Write(linkcalc::cli::HelpText());
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
