#include "cli/clearance_run.h"

#include <array>

#include "cli/io.h"
#include "cli/report.h"
#include "planning/elevation.h"
#include "planning/profile_picture.h"
#include "planning/terrain_csv.h"

namespace linkcalc::cli {

std::vector<planning::ProfileSample> ReadTerrainFile(const std::string& path) {
    const std::string name = path == "-" ? "standard input" : "\"" + path + "\"";
    // Read as it comes: a line or a terrain beyond its bound stops the reading there.
    FileSource source(path);
    planning::TerrainReader reader;
    std::array<char, 1 << 16> buffer{};
    try {
        while (const std::size_t got = source.Read(buffer.data(), buffer.size())) {
            reader.Add(std::string_view(buffer.data(), got));
        }
        return reader.Finish();
    } catch (const planning::TerrainError& error) {
        throw DataError("terrain " + name + ": " + error.what());
    }
}

void TypeTerrainLength(const std::vector<planning::ProfileSample>& rows, const CommandLine& line,
                       MemorySheet& sheet) {
    for (const auto& input : line.inputs) {
        if (input.first == Field::TxtDM) return;
    }
    bool unitGiven = false;
    for (const auto& input : line.inputs) unitGiven = unitGiven || input.first == Field::Cmbmilekm;
    if (!unitGiven || sheet.TextRef(Field::Cmbmilekm).empty())
        sheet.SetText(Field::Cmbmilekm, "Km");
    sheet.SetText(Field::TxtDM,
                  planning::TypedDistance(rows.back().distance_m, sheet.Text(Field::Cmbmilekm)));
}

planning::LinkClearance ClearanceOfLink(const MemorySheet& sheet, const RunValues& values,
                                        const planning::GroundSource& ground,
                                        const planning::EndsGiven& ends, double k) {
    try {
        return planning::ClearanceOfRun(sheet, values, ground, ends, k);
    } catch (const planning::TerrainLengthError& error) {
        throw UsageError(error.what());
    } catch (const planning::PathLengthError& error) {
        throw DataError(error.what());
    } catch (const planning::ElevationError& error) {
        if (error.WhatFailed() == planning::ElevationError::Kind::CannotOpen) {
            throw IoError(IoError::Kind::CannotOpen, error.what());
        }
        throw DataError(error.what());
    }
}

void TakeProfileGround(const planning::LinkClearance& link, const MemorySheet& sheet,
                       planning::LinkGeometry& geometry) {
    geometry.ground1_m = link.input.end1.ground_m;
    geometry.ground2_m = link.input.end2.ground_m;
    planning::CompleteHeights(geometry, sheet, RunOutcome::Completed);
}

std::vector<planning::LegendLine> BearingLines(const planning::LinkGeometry& geometry) {
    return {{"Bearing at site 1", Fixed(geometry.azimuth1_deg, 2) + " deg"},
            {"Bearing at site 2", Fixed(geometry.azimuth2_deg, 2) + " deg"}};
}

void WriteProfile(const std::string& path, const MemorySheet& sheet,
                  const planning::LinkClearance& link,
                  const std::vector<planning::LegendLine>& siteLines) {
    try {
        planning::WriteProfilePicture(
            path, planning::DrawingOfRun(sheet, link.path, link.input, link.clearance, siteLines));
    } catch (const planning::PictureError& error) {
        throw IoError(IoError::Kind::ReadOrWrite, error.what());
    }
}

}  // namespace linkcalc::cli
