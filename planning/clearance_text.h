#pragma once

#include <string>

#include "planning/clearance.h"
#include "planning/number_text.h"

namespace linkcalc::planning {

// Clearance figures as texts in the run's units: heights in metres or feet, distances along
// the path in kilometres or miles, to a tenth.
struct ClearanceUnits {
    bool metric = true;

    std::string HeightUnit() const { return metric ? "m" : "ft"; }
    std::string DistanceUnit() const { return metric ? "km" : "mi"; }
    double MetresPerHeight() const;
    double MetresPerDistance() const;
    std::string Height(double metres) const;    // "12.3 m", "-40.4 ft"
    std::string Distance(double metres) const;  // "8.05 km"
};

// "4/3" for the usual factor, else the number as typed short.
std::string KFactorText(double k);

// The clearance over the radius of the zone at the worst point: "0.68".
std::string RatioText(double ratio);

}  // namespace linkcalc::planning
