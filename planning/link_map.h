#pragma once

#include <string>
#include <vector>

#include "planning/geodesy.h"
#include "planning/map_writer.h"
#include "planning/sites.h"

namespace linkcalc::planning {

// One link of a map: where it runs, and what its run made of it.
//   name         the placemark's name ("Link", "Line 3", ...)
//   inputs       the inputs as given, "gain1=23, gain2=23, ..."
//   outcome      "completed", "stopped" or "failed"
//   message      the notice or the failure, empty for a completed run
//   geometry     the sites and the figures between them
//   path         the points of the line, site 1 to site 2, along the geodesic
//   fadeMargin   the texts of TxtFM, TxtEBtRateUni and TxtEBRBi (empty unless completed)
struct MapLink {
    std::string name;
    std::string inputs;
    std::string outcome;
    std::string message;
    LinkGeometry geometry;
    std::vector<GeoPoint> path;
    std::string fadeMargin;
    std::string bitRateUni;
    std::string bitRateBi;
};

// Green at a fade margin of 10 dB or more, yellow from 0 to 10 dB, red below 0 dB and for a
// run that did not complete.
LinkColour ColourOf(const MapLink& link);

// What the map draws of a link.
MapLine LineOf(const MapLink& link);

// The placemark description of a link: its inputs, outcome or message, distance, bearings,
// fade margin and bit rates, one to a line.
std::string DescriptionOf(const MapLink& link);

// The points a map draws a link with: one each 10 km or so along the geodesic, so that a long
// line follows the earth as the link does; at least both ends.
std::vector<GeoPoint> MapPathOf(const Geodesy& geodesy, const LinkGeometry& geometry);

}  // namespace linkcalc::planning
