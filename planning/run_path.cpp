#include "planning/run_path.h"

#include "linkcalc/numeric_text.h"

namespace linkcalc::planning {

RunPath PathOfRun(const MemorySheet& sheet, const RunValues& values) {
    RunPath path;
    path.length_m = values.DistanceMiles * kMetresPerMile;
    path.frequencyMHz = NumberOfText(sheet.TextRef(Field::CmbEFreq));
    const double height = NumberOfText(sheet.TextRef(Field::TxtSAH));
    path.metric = sheet.TextRef(Field::Lblft3) == "m";
    path.suggestedMast_m = path.metric ? height : height * kMetresPerFoot;
    return path;
}

}  // namespace linkcalc::planning
