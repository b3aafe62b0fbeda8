#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "linkcalc/calc_run.h"
#include "linkcalc/memory_sheet.h"

namespace linkcalc::planning {

// Which speed a path carries: every speed of the speed list run at the path, and how far each
// would reach. Every figure is the text of a run on a sheet typed as the window would be; the
// table computes nothing of its own.

inline constexpr double kDefaultMinimumMargin = 10;  // dB
inline constexpr int kReachStepsPerUnit = 100;       // the reach is searched at 0.01 of the unit
inline constexpr int kReachCeilingSteps = 1000 * kReachStepsPerUnit;

// One run and the sheet as it left it.
struct LinkRun {
    RunResult result;
    MemorySheet sheet;
};

// The longest path a speed carries with the minimum margin, as a typed distance text.
struct Reach {
    std::string distance;
    LinkRun run;  // completed, at that distance
};

struct SpeedRow {
    std::string_view speed;
    LinkRun atPath;
    // Nothing when even 0.01 of the unit gives a margin below the minimum, or no completed run.
    std::optional<Reach> reach;
    bool ceiling = false;        // the reach is the ceiling: longer paths were not tried
    bool shortestFails = false;  // no reach because the run at 0.01 of the unit does not complete
};

struct SpeedTable {
    double minimumMargin = kDefaultMinimumMargin;
    std::string unit;  // RunUnit of the unit text: every distance is in it
    // Validation stopped the run at the path: this is that run, and there are no rows.
    std::optional<LinkRun> stopped;
    std::vector<SpeedRow> rows;  // in the speed list's order
    // The fastest row whose margin at the path is at least the minimum.
    std::optional<std::size_t> recommended;
};

// The unit a run takes its distance in, whatever the unit text says: "Km" for exactly "Km" and
// "Miles" for any other text ("km" too); empty for none, which stops the run.
std::string RunUnit(std::string_view unitText);

// The distance text typed for a number of hundredths of the unit: 1 gives "0.01", 1230 "12.3".
std::string DistanceText(int hundredths);

// A run on a copy of `inputs` with the speed chosen and, when given, the distance typed.
LinkRun RunAt(const MemorySheet& inputs, std::string_view speed,
              std::optional<std::string_view> distance = std::nullopt);

// The run completed and the fade margin it shows is at least `minimumMargin`.
bool MeetsMargin(const LinkRun& run, double minimumMargin);

// `inputs` holds every input of a run except the speed, which each row sets.
SpeedTable MakeSpeedTable(const MemorySheet& inputs, double minimumMargin = kDefaultMinimumMargin);

}  // namespace linkcalc::planning
