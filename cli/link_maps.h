#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "linkcalc/calc_run.h"
#include "linkcalc/memory_sheet.h"
#include "planning/link_map.h"

namespace linkcalc::cli {

// A KML map at `path`, by the kml module (throws planning::ModuleError); a map that cannot be
// started throws planning::MapError.
std::unique_ptr<planning::MapWriter> CreateMap(const std::string& path);

// What a map shows of one run from sites: `inputs` as "name=text, ...", the outcome and
// message of the run, the geometry, and the fade margin and bit rates of the sheet.
planning::MapLine MapLineOf(std::string name, std::string inputs, const RunResult& result,
                            const MemorySheet& sheet, const planning::LinkGeometry& geometry,
                            const planning::Geodesy& geodesy);

// Appends "name=text" to a list of inputs.
void AddInput(std::string& inputs, std::string_view name, std::string_view text);

}  // namespace linkcalc::cli
