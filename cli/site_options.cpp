#include "cli/site_options.h"

#include "planning/module_loader.h"

namespace linkcalc::cli {

const planning::Geodesy& GeodesyModule() {
    return planning::LoadModule<planning::Geodesy>("geodesy");
}

planning::SiteInputs SiteInputsOf(const CommandLine& line) {
    planning::SiteInputs inputs;
    inputs.point1 = line.site1.value_or(std::string());
    inputs.point2 = line.site2.value_or(std::string());
    inputs.ground1_m = line.ground1.value_or(0);
    inputs.ground2_m = line.ground2.value_or(0);
    inputs.mast1_m = line.mast1;
    inputs.mast2_m = line.mast2;
    return inputs;
}

std::string PointRefusal(const std::string& source, const planning::SiteError& error) {
    return source + ": " + error.what();
}

planning::SiteRun RunFromSites(const CommandLine& line, MemorySheet& sheet, RunValues& values) {
    const planning::Geodesy& geodesy = GeodesyModule();
    try {
        return planning::RunWithSites(geodesy, SiteInputsOf(line), sheet, values);
    } catch (const planning::SiteError& error) {
        throw UsageError(PointRefusal(error.Site() == 1 ? "--site1" : "--site2", error));
    }
}

void AddSiteDistance(CommandLine& line) {
    const planning::Geodesy& geodesy = GeodesyModule();
    planning::LinkGeometry geometry;
    try {
        geometry = planning::LocateSites(geodesy, SiteInputsOf(line));
    } catch (const planning::SiteError& error) {
        throw UsageError(PointRefusal(error.Site() == 1 ? "--site1" : "--site2", error));
    }
    MemorySheet sheet;
    for (const auto& [field, text] : line.inputs) sheet.SetText(field, text);
    planning::WriteSiteDistance(sheet, geometry.distance_m);
    line.inputs.emplace_back(Field::Cmbmilekm, sheet.Text(Field::Cmbmilekm));
    line.inputs.emplace_back(Field::TxtDM, sheet.Text(Field::TxtDM));
}

}  // namespace linkcalc::cli
