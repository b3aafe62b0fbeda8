#pragma once

#include "linkcalc/memory_sheet.h"
#include "linkcalc/run_values.h"

namespace linkcalc::planning {

inline constexpr double kMetresPerMile = 1609.34;  // the run's 1.60934 km a mile
inline constexpr double kMetresPerFoot = 0.3048;

// The path of a completed run as the clearance needs it, in metres and MHz.
struct RunPath {
    double length_m = 0;
    double frequencyMHz = 0;
    double suggestedMast_m = 0;  // the suggested antenna height the run shows, in metres
    // The run shows its path figures in metres for a path in kilometres, else in feet for miles.
    bool metric = false;
};

// Read from the band text, the path length the run kept and the suggested antenna height it
// wrote, in feet or metres as its unit label says. Throws NumericTextError when one of them
// is not a number.
RunPath PathOfRun(const MemorySheet& sheet, const RunValues& values);

}  // namespace linkcalc::planning
