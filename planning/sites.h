#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "linkcalc/calc_run.h"
#include "planning/earth.h"
#include "planning/geodesy.h"

namespace linkcalc::planning {

// The two ends of a link as a planner knows them.
//   point1, point2    latitude and longitude of each site, in any form Geodesy::ParsePoint reads
//   ground1_m, ..2_m  ground elevation above sea level at each site, metres
//   mast1_m, mast2_m  antenna height above the ground, metres; empty: the suggested antenna
//                     height of the run (TxtSAH), in metres
struct SiteInputs {
    std::string point1;
    std::string point2;
    double ground1_m = 0;
    double ground2_m = 0;
    std::optional<double> mast1_m;
    std::optional<double> mast2_m;
};

// A site point that cannot be read: which site (1 or 2), which part of its text, and why.
class SiteError : public std::runtime_error {
  public:
    SiteError(int site, PointError::Part part, const std::string& why)
        : std::runtime_error(why), site_(site), part_(part) {}
    int Site() const { return site_; }
    PointError::Part Part() const { return part_; }

  private:
    int site_;
    PointError::Part part_;
};

// What the sites make of a link.
//   site1, site2        the points read, longitudes in [-180, 180]
//   distance_m          geodesic distance on WGS84 (the path length the run is given, rounded
//                       to the metre)
//   azimuth1_deg        true bearing at site 1 toward site 2, in [0, 360)
//   azimuth2_deg        true bearing at site 2 toward site 1, in [0, 360)
//   ground1_m, ..2_m    ground elevation of each end, metres above sea level
//   mast1_m, mast2_m    antenna height above ground of each end, metres: as given, else the
//                       run's suggested antenna height; empty when neither is known (a run
//                       that did not complete)
//   tilt1_deg, ..2_deg  elevation angle of each antenna toward the other antenna top, positive
//                       upward, over an earth of radius k·R (k = 4/3); empty without both
//                       masts or over a zero distance
struct LinkGeometry {
    GeoPoint site1;
    GeoPoint site2;
    double distance_m = 0;
    double azimuth1_deg = 0;
    double azimuth2_deg = 0;
    double ground1_m = 0;
    double ground2_m = 0;
    std::optional<double> mast1_m;
    std::optional<double> mast2_m;
    std::optional<double> tilt1_deg;
    std::optional<double> tilt2_deg;
};

// Reads both points and solves the geodesic between them; grounds and masts as given. Throws
// SiteError.
LinkGeometry LocateSites(const Geodesy& geodesy, const SiteInputs& inputs);

// The path length as the distance field takes it: in km when the unit text is "Km", otherwise
// in miles (as the run reads any other unit text), rounded to the metre.
std::string DistanceText(double distance_m, std::string_view unitText);

// Writes the geodesic distance to the distance field, in the unit of the unit field ("Km"
// written there when it is empty).
void WriteSiteDistance(CalcSheet& sheet, double distance_m);

// The elevation angle, in degrees, from an antenna top at `from_m` toward one at `to_m`
// (heights above sea level) over `distance_m`.
double TiltDeg(double from_m, double to_m, double distance_m);

// Fills the masts left out from the suggested antenna height of a completed run on `sheet`,
// then the tilts.
void CompleteHeights(LinkGeometry& geometry, const CalcSheet& sheet, RunOutcome outcome);

// One run of a link given by its sites: the distance field gets the geodesic distance (the
// unit field "Km" when it is empty), CalcRun computes every figure, and the geometry gets its
// heights and tilts. Throws SiteError, before the sheet is touched.
struct SiteRun {
    RunResult result;
    LinkGeometry geometry;
};
SiteRun RunWithSites(const Geodesy& geodesy, const SiteInputs& inputs, CalcSheet& sheet,
                     RunValues& values);

}  // namespace linkcalc::planning
