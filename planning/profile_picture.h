#pragma once

#include <cstddef>
#include <vector>

#include "linkcalc/memory_sheet.h"
#include "planning/clearance.h"
#include "planning/picture.h"
#include "planning/run_path.h"

namespace linkcalc::planning {

// A picture shows no more of a profile than its columns can: far more than the plot's pixels.
inline constexpr std::size_t kDrawnColumns = 2048;

// The points of a profile the picture is drawn from, so that drawing a long path costs no more
// than a short one. A profile of up to four points a column is kept whole; a longer one keeps,
// in each column of the path, its first and last point, the lowest and highest ground, the
// highest top, the smallest clearance ratio, and the worst point of the path.
Clearance DrawnClearance(const Clearance& clearance, double pathLength_m);

// The picture of a completed run's path: its legend holds the texts the run wrote (distance,
// band, speed, free-space loss, expected RSSI, fade margin, bit rates), the lines given in
// `siteLines` (the bearings, when the path runs between sites), and the clearance figures.
ProfileDrawing DrawingOfRun(const MemorySheet& sheet, const RunPath& path,
                            const ClearanceInput& input, const Clearance& clearance,
                            const std::vector<LegendLine>& siteLines = {});

}  // namespace linkcalc::planning
