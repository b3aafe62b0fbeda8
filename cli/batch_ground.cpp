#include "cli/batch_ground.h"

#include <sys/stat.h>

#include <string>

#include "cli/clearance_run.h"
#include "cli/command_line.h"
#include "cli/io.h"
#include "planning/elevation.h"
#include "planning/terrain_csv.h"

namespace linkcalc::cli {

std::optional<GroundColumn> GroundColumnNamed(std::string_view name) {
    for (std::size_t i = 0; i < kGroundColumnNames.size(); ++i) {
        if (kGroundColumnNames[i] == name) return static_cast<GroundColumn>(i);
    }
    return std::nullopt;
}

std::string_view NameOf(GroundColumn column) {
    return kGroundColumnNames[static_cast<std::size_t>(column)];
}

std::optional<std::string> TakeGroundCell(GroundColumn column, std::string_view cell, bool sites,
                                          RowGround& ground) {
    if (cell.empty()) return std::nullopt;
    switch (column) {
        case GroundColumn::KFactor: {
            const std::optional<double> k = KFactorOf(cell);
            if (!k) return "k-factor \"" + std::string(cell) + "\" is not a positive number";
            ground.k = *k;
            return std::nullopt;
        }
        case GroundColumn::Dem:
            // Sampled between the sites of the row.
            if (!sites) {
                return std::string("dem: a DEM needs the two sites, site1 and site2");
            }
            ground.source.dem = std::string(cell);
            return std::nullopt;
        case GroundColumn::Terrain:
            // The system would take the name only up to the NUL: another file.
            if (cell.find('\0') != std::string_view::npos) {
                return std::string("terrain: a file name holds no NUL byte");
            }
            try {
                ground.source.terrain = ReadTerrainFile(std::string(cell));
            } catch (const IoError& error) {
                return std::string("terrain: ") + error.what();
            } catch (const DataError& error) {
                return std::string(error.what());
            }
            return std::nullopt;
    }
    return std::nullopt;
}

std::mutex& LargeGroundLock() {
    static std::mutex lock;
    return lock;
}

bool IsLargeTerrain(std::string_view cell) {
    constexpr off_t kLargeTerrainBytes = 256 * 1024;
    if (cell.empty()) return false;
    struct stat info {};
    if (cell == "-" || ::stat(std::string(cell).c_str(), &info) != 0) return cell == "-";
    return !S_ISREG(info.st_mode) || info.st_size > kLargeTerrainBytes;
}

bool IsLongPath(const RowGround& ground, const MemorySheet& sheet, const RunValues& values) {
    constexpr double kLongPath_m = 300000;
    try {
        const double length = ground.source.length_m ? *ground.source.length_m
                                                     : planning::PathOfRun(sheet, values).length_m;
        return !(length <= kLongPath_m);
    } catch (const std::exception&) {
        return false;  // no path: the clearance says why
    }
}

void TypeRowTerrainLength(const RowGround& ground, MemorySheet& sheet) {
    if (!ground.source.terrain || !sheet.TextRef(Field::TxtDM).empty()) return;
    if (sheet.TextRef(Field::Cmbmilekm).empty()) sheet.SetText(Field::Cmbmilekm, "Km");
    sheet.SetText(Field::TxtDM, planning::TypedDistance(ground.source.terrain->back().distance_m,
                                                        sheet.Text(Field::Cmbmilekm)));
}

std::optional<std::string> RowClearance(const RowGround& ground, const planning::EndsGiven& ends,
                                        const MemorySheet& sheet, const RunValues& values,
                                        planning::LinkClearance& link) {
    try {
        link = planning::ClearanceOfRun(sheet, values, ground.source, ends, ground.k);
    } catch (const planning::TerrainLengthError& error) {
        return std::string("terrain: ") + error.what();
    } catch (const planning::PathLengthError& error) {
        return error.what();
    } catch (const planning::ElevationError& error) {
        return std::string("dem: ") + error.what();
    }
    return std::nullopt;
}

}  // namespace linkcalc::cli
