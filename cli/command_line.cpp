#include "cli/command_line.h"

#include <array>
#include <charconv>
#include <cmath>
#include <string>

#include "cli/options.h"
#include "planning/earth_bounds.h"

namespace linkcalc::cli {
namespace {

std::string BoundText(double metres) {
    std::array<char, 32> buffer{};
    const auto end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), metres).ptr;
    return std::string(buffer.data(), end);
}

void CheckSites(const CommandLine& line) {
    const bool heights = line.ground1 || line.ground2 || line.mast1 || line.mast2;
    if (line.csvPath) {
        if (line.HasSites() || heights) {
            throw UsageError("--csv takes the sites from the file: give no site option with it");
        }
        return;
    }
    if (!line.HasSites()) {
        if (heights)
            throw UsageError("--ground1, --ground2, --mast1 and --mast2 go with the sites");
        if (line.kmlPath) throw UsageError("--kml maps sites: give --site1 and --site2, or --csv");
        return;
    }
    if (!line.site1) throw UsageError("--site2 needs --site1: a link has two sites");
    if (!line.site2) throw UsageError("--site1 needs --site2: a link has two sites");
    for (const auto& input : line.inputs) {
        if (input.first == Field::TxtDM) {
            throw UsageError("--distance cannot go with the sites: they give the path length");
        }
    }
    if (line.speedTable && line.kmlPath) {
        throw UsageError("--kml cannot go with --speed-table");
    }
}

void CheckClearance(const CommandLine& line) {
    if (!line.WantsClearance()) return;
    const char* option = line.terrainPath ? "--terrain"
                         : line.demPath   ? "--dem"
                         : line.kFactor   ? "--k-factor"
                                          : "--profile";
    if (line.csvPath) {
        throw UsageError(std::string("--csv takes the terrain, the DEM and k from its columns: ") +
                         "give no " + option + " with it");
    }
    if (line.speedTable) {
        throw UsageError(std::string(option) + " goes with one link, not with --speed-table");
    }
    if (line.terrainPath && line.demPath) {
        throw UsageError("--terrain and --dem cannot go together: the ground comes from one");
    }
    if (line.demPath && !line.HasSites()) {
        throw UsageError("--dem needs the two sites, --site1 and --site2");
    }
}

void CheckSpeedTable(const CommandLine& line) {
    if (!line.speedTable) {
        if (line.margin) throw UsageError("--margin goes with --speed-table");
        if (line.csvOut) throw UsageError("--csv-out goes with --speed-table");
        return;
    }
    if (line.csvPath) throw UsageError("--speed-table and --csv cannot go together");
    if (line.json && line.csvOut) throw UsageError("--json and --csv-out cannot go together");
    for (const auto& input : line.inputs) {
        if (input.first == Field::CmbSlcSpeed) {
            throw UsageError("--speed-table runs every speed: give no --speed with it");
        }
    }
}

}  // namespace

std::optional<double> KFactorOf(std::string_view text) {
    // A fraction, as the report writes the standard 4/3.
    const std::size_t slash = text.find('/');
    std::optional<double> k = DecimalOf(text.substr(0, slash));
    if (k && slash != std::string_view::npos) {
        const std::optional<double> denominator = DecimalOf(text.substr(slash + 1));
        k = denominator && *denominator != 0 ? std::optional(*k / *denominator) : std::nullopt;
    }
    if (!k || !(*k > 0) || !std::isfinite(*k)) return std::nullopt;
    return k;
}

std::optional<double> MarginOf(std::string_view text) {
    return DecimalOf(text);
}

std::optional<std::string> HeightRefusal(std::string_view name, Height height,
                                         std::string_view text, std::optional<double>& metres) {
    metres = DecimalOf(text);
    const std::string shown = std::string(name) + " \"" + std::string(FirstCharacters(text, 40)) +
                              (text.size() > 40 ? "...\"" : "\"");
    if (!metres) return shown + " is not a number of metres";
    const auto refuse = [&](const std::string& why) {
        metres.reset();
        return shown + ": " + why;
    };
    if (height == Height::Mast) {
        if (*metres < 0) return refuse("an antenna height above the ground cannot be negative");
        if (*metres > planning::kHighestMast_m) {
            return refuse("an antenna height above the ground is at most " +
                          BoundText(planning::kHighestMast_m) + " m");
        }
    } else if (*metres < planning::kLowestGround_m || *metres > planning::kHighestGround_m) {
        return refuse("a ground elevation lies from " + BoundText(planning::kLowestGround_m) +
                      " to " + BoundText(planning::kHighestGround_m) + " m above sea level");
    }
    return std::nullopt;
}

std::optional<double> DecimalOf(std::string_view text) {
    // from_chars takes no "+", and a second sign after one must not slip through.
    if (text.size() > 1 && text[0] == '+' && text[1] != '-') text.remove_prefix(1);
    double value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
    CommandLine line;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg.rfind("--", 0) != 0) throw UsageError("unexpected argument \"" + arg + "\"");
        const std::size_t equals = arg.find('=');
        const std::string name =
            arg.substr(2, equals == std::string::npos ? std::string::npos : equals - 2);
        const auto option = OptionNamed(name);
        if (!option) throw UsageError("unknown option \"" + arg + "\"");
        if (option->IsFlag()) {
            if (equals != std::string::npos) throw UsageError("--" + name + " takes no value");
            line.*option->flag = true;
            continue;
        }
        if (equals != std::string::npos) {
            option->set(line, name, arg.substr(equals + 1));
        } else if (i + 1 < args.size()) {
            option->set(line, name, args[++i]);
        } else {
            throw UsageError("--" + name + " needs a value");
        }
    }
    if (line.csvPath && !line.inputs.empty()) {
        throw UsageError("--csv takes its inputs from the file: give no input option with it");
    }
    CheckSites(line);
    CheckSpeedTable(line);
    CheckClearance(line);
    if (line.csvPath && line.json) throw UsageError("--csv writes CSV: --json cannot go with it");
    if (line.delimiter && !line.csvPath) throw UsageError("--delimiter goes with --csv");
    return line;
}

}  // namespace linkcalc::cli
