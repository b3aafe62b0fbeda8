#pragma once

#include <vector>

#include "linkcalc/memory_sheet.h"
#include "planning/clearance.h"
#include "planning/picture.h"
#include "planning/run_path.h"

namespace linkcalc::planning {

// The picture of a completed run's path: its legend holds the texts the run wrote (distance,
// band, speed, free-space loss, expected RSSI, fade margin, bit rates), the lines given in
// `siteLines` (the bearings, when the path runs between sites), and the clearance figures.
ProfileDrawing DrawingOfRun(const MemorySheet& sheet, const RunPath& path,
                            const ClearanceInput& input, const Clearance& clearance,
                            const std::vector<LegendLine>& siteLines = {});

}  // namespace linkcalc::planning
