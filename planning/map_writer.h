#pragma once

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "planning/geodesy.h"

namespace linkcalc::planning {

// The colour of a link's line: by its outcome and fade margin (link_map.h).
enum class LinkColour { Green, Yellow, Red };

// The colour as KML writes it: aabbggrr in hexadecimal.
constexpr const char* KmlColourOf(LinkColour colour) {
    switch (colour) {
        case LinkColour::Green:
            return "ff00ff00";
        case LinkColour::Yellow:
            return "ff00ffff";
        case LinkColour::Red:
            break;
    }
    return "ff0000ff";
}

// What a map draws of a link: a placemark at each site and a coloured line between them.
struct MapLine {
    std::string name;
    std::string description;
    LinkColour colour = LinkColour::Red;
    GeoPoint site1;
    GeoPoint site2;
    std::vector<GeoPoint> path;  // site 1 to site 2
};

// A map that cannot be written; the message names the file and the system's reason.
class MapError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// A map being written, to a descriptor its maker keeps and puts in place (map_file.h).
class MapWriter {
  public:
    virtual ~MapWriter() = default;
    // A placemark for each site and a line between them. Throws MapError.
    virtual void Add(const MapLine& line) = 0;
    // Ends the document and writes what is left of it. Throws MapError.
    virtual void Finish() = 0;
};

// The KML 2.2 map writer; implemented by the kml module.
struct LinkMaps {
    static constexpr const char* kInterfaceName = "kml/2";
    virtual ~LinkMaps() = default;
    // Starts a map with the document name `title` on `fd`, which stays open; `name` is what
    // messages call the file. Throws MapError.
    virtual std::unique_ptr<MapWriter> Create(int fd, const std::string& name,
                                              const std::string& title) const = 0;
};

}  // namespace linkcalc::planning
