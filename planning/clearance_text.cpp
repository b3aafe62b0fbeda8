#include "planning/clearance_text.h"

#include "planning/number_text.h"
#include "planning/run_path.h"

namespace linkcalc::planning {

double ClearanceUnits::MetresPerHeight() const {
    return metric ? 1.0 : kMetresPerFoot;
}

double ClearanceUnits::MetresPerDistance() const {
    return metric ? 1000.0 : kMetresPerMile;
}

std::string ClearanceUnits::Height(double metres) const {
    return FixedText(metres / MetresPerHeight(), 1) + " " + HeightUnit();
}

std::string ClearanceUnits::Distance(double metres) const {
    return FixedText(metres / MetresPerDistance(), 2) + " " + DistanceUnit();
}

std::string KFactorText(double k) {
    if (k == kDefaultKFactor) return "4/3";
    return General(k, 6);
}

std::string RatioText(double ratio) {
    return FixedText(ratio, 2);
}

}  // namespace linkcalc::planning
