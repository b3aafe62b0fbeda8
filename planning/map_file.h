#pragma once

#include <memory>
#include <string>

#include "planning/map_writer.h"

namespace linkcalc::planning {

// A KML map at `path` by the kml module, written through an OutputFile (output_file.h): Finish
// puts it in place, a map dropped before leaves nothing. Throws ModuleError when the module
// cannot be loaded, MapError when the map cannot be started.
std::unique_ptr<MapWriter> CreateKmlMap(const std::string& path, const std::string& title);

}  // namespace linkcalc::planning
