#include "cli/link_maps.h"

#include "cli/report.h"
#include "planning/map_file.h"

namespace linkcalc::cli {

std::unique_ptr<planning::MapWriter> CreateMap(const std::string& path) {
    return planning::CreateKmlMap(path, "linkcalc links");
}

planning::MapLine MapLineOf(std::string name, std::string inputs, const RunResult& result,
                            const MemorySheet& sheet, const planning::LinkGeometry& geometry,
                            const planning::Geodesy& geodesy) {
    planning::MapLink link;
    link.name = std::move(name);
    link.inputs = std::move(inputs);
    link.outcome = std::string(OutcomeName(result.outcome));
    if (result.notice) {
        link.message = std::string(result.notice->ShownTitle()) + ": ";
        link.message += result.notice->message;
    }
    if (result.failure) link.message = result.failure->message;
    link.geometry = geometry;
    link.path = planning::MapPathOf(geodesy, geometry);
    if (result.outcome == RunOutcome::Completed) {
        link.fadeMargin = sheet.Text(Field::TxtFM);
        link.bitRateUni = sheet.Text(Field::TxtEBtRateUni);
        link.bitRateBi = sheet.Text(Field::TxtEBRBi);
    }
    return planning::LineOf(link);
}

void AddInput(std::string& inputs, std::string_view name, std::string_view text) {
    if (!inputs.empty()) inputs += ", ";
    inputs += name;
    inputs += '=';
    inputs += text;
}

}  // namespace linkcalc::cli
