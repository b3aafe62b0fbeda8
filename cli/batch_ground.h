#pragma once

#include <array>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "linkcalc/memory_sheet.h"
#include "planning/link_clearance.h"

namespace linkcalc::cli {

// The batch columns of the ground under a link; with any of them each completed row gets its
// clearance.
enum class GroundColumn : std::uint8_t { Terrain, Dem, KFactor };
inline constexpr std::array<std::string_view, 3> kGroundColumnNames{"terrain", "dem", "k-factor"};

std::optional<GroundColumn> GroundColumnNamed(std::string_view name);
std::string_view NameOf(GroundColumn column);

// One row's ground, from its cells; an empty cell leaves its default.
struct RowGround {
    planning::GroundSource source;
    double k = planning::kDefaultKFactor;
};

// Takes one cell into the row's ground (a terrain file is read here); why not, naming the
// column, when it cannot. A DEM needs the row to have sites.
std::optional<std::string> TakeGroundCell(GroundColumn column, std::string_view cell, bool sites,
                                          RowGround& ground);

// Without a typed distance the terrain's length is the path's, in the unit of the row (Km when
// it has none).
void TypeRowTerrainLength(const RowGround& ground, MemorySheet& sheet);

// The ground of a row can take up to some 200 MB for the largest terrain or the longest path:
// the workers of a batch take such rows one at a time, under this lock, so that the batch's
// memory stays that of one run. A terrain cell names a large one when its file is over 256 KiB
// or not a regular file (a pipe, a device); a path is long over 300 km.
std::mutex& LargeGroundLock();
bool IsLargeTerrain(std::string_view cell);
bool IsLongPath(const RowGround& ground, const MemorySheet& sheet, const RunValues& values);

// The clearance of a completed run, or why it cannot be had, naming the column. Throws
// ModuleError when a module cannot be loaded: no row could have it.
std::optional<std::string> RowClearance(const RowGround& ground, const planning::EndsGiven& ends,
                                        const MemorySheet& sheet, const RunValues& values,
                                        planning::LinkClearance& link);

}  // namespace linkcalc::cli
