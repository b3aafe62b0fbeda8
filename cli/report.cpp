#include "cli/report.h"

#include <nlohmann/json.hpp>

#include "cli/clearance_report.h"
#include "planning/number_text.h"

namespace linkcalc::cli {
namespace {

std::string Padded(std::string text, std::size_t width) {
    if (text.size() < width) text.append(width - text.size(), ' ');
    return text;
}

std::string WithUnit(const std::string& value, std::string_view unit) {
    if (value.empty()) return value;
    std::string out = value;
    if (!unit.empty()) {
        out += ' ';
        out += unit;
    }
    return out;
}

std::string Metres(const std::optional<double>& metres) {
    return metres ? Fixed(*metres, 1) + " m" : "-";
}

std::string Degrees(const std::optional<double>& degrees, int places) {
    return degrees ? Fixed(*degrees, places) + " deg" : "-";
}

std::string PointText(const planning::GeoPoint& point) {
    return Fixed(point.lat, 6) + ", " + Fixed(point.lon, 6);
}

}  // namespace

std::string Fixed(double value, int places) {
    return planning::Fixed(value, places);
}

std::string_view OutcomeName(RunOutcome outcome) {
    switch (outcome) {
        case RunOutcome::Completed:
            return "completed";
        case RunOutcome::Stopped:
            return "stopped";
        case RunOutcome::Failed:
            return "failed";
    }
    return "failed";
}

std::string TextReport(const MemorySheet& sheet, const planning::LinkGeometry* sites) {
    const auto t = [&](Field field) { return sheet.Text(field); };
    const auto row = [](std::string label, const std::string& value) {
        return "  " + Padded(std::move(label), 26) + value + "\n";
    };
    const auto sides = [](std::string label, const std::string& side1, const std::string& side2) {
        return "  " + Padded(std::move(label), 26) + Padded(side1, 14) + side2 + "\n";
    };

    std::string out;
    if (sites) {
        const planning::LinkGeometry& g = *sites;
        out += "Sites\n";
        out += row("Site 1 (lat, lon)", PointText(g.site1));
        out += row("Site 2 (lat, lon)", PointText(g.site2));
        out += row("Geodesic distance", Fixed(g.distance_m, 1) + " m");
        out += sides("", "Side 1", "Side 2");
        out += sides("Ground elevation", Metres(g.ground1_m), Metres(g.ground2_m));
        out += sides("Antenna above ground", Metres(g.mast1_m), Metres(g.mast2_m));
        out += sides("Bearing (true)", Degrees(g.azimuth1_deg, 2), Degrees(g.azimuth2_deg, 2));
        out += sides("Tilt", Degrees(g.tilt1_deg, 3), Degrees(g.tilt2_deg, 3));
    }
    out += "Path\n";
    out += row("Free space loss", WithUnit(t(Field::TxtFSL), "dB"));
    out += row("Fresnel radius", WithUnit(t(Field::TxtFR), t(Field::Lblft1)));
    out += row("Earth curvature", WithUnit(t(Field::TxtEC), t(Field::Lblft2)));
    out += row("Suggested antenna height", WithUnit(t(Field::TxtSAH), t(Field::Lblft3)));
    out += "Radio\n";
    out += row("Receiver sensitivity", t(Field::TxtReqSS));
    out += row("Required C/I", WithUnit(t(Field::TxtRECI), "dB"));
    out += sides("", "Side 1", "Side 2");
    out += sides("EIRP", WithUnit(t(Field::TxtEIRP1), "dBm"), WithUnit(t(Field::TxtEIRP2), "dBm"));
    out += sides("Max transmit power", WithUnit(t(Field::TxtMTP), "dBm"),
                 WithUnit(t(Field::TxtMTP2), "dBm"));
    out += sides("Expected RSSI", WithUnit(t(Field::TxtERSSI), "dBm"),
                 WithUnit(t(Field::TxtERSSI2), "dBm"));
    // As on the window: each column shows the noise floor of the other column's RSSI.
    out += sides("Maximum noise floor", WithUnit(t(Field::TxtRNFL2), "dBm"),
                 WithUnit(t(Field::TxtRNFL), "dBm"));
    out += "Link\n";
    out += row("Bit rate unidirectional", WithUnit(t(Field::TxtEBtRateUni), "Mbit/s"));
    out += row("Bit rate bidirectional", WithUnit(t(Field::TxtEBRBi), "Mbit/s"));
    out += row("Fade margin", WithUnit(t(Field::TxtFM), "dB"));
    return out;
}

std::string ErrorLine(const RunResult& result) {
    // A notice keeps its title; a failure is no notice and has none.
    std::string line;
    std::string_view message;
    Field focus = Field::TxtCblLss1;
    if (result.notice) {
        line = result.notice->ShownTitle();
        line += ": ";
        message = result.notice->message;
        focus = result.notice->focus;
    } else if (result.failure) {
        message = result.failure->message;
        focus = result.failure->focus;
    }
    for (std::size_t i = 0; i < message.size(); ++i) {
        if (message.substr(i, 2) == "\r\n") {
            line += ' ';
            ++i;
        } else {
            line += message[i];
        }
    }
    line += " [";
    line += NameOf(focus);
    line += "]";
    return line;
}

std::string JsonReport(const RunResult& result, const MemorySheet& sheet,
                       const planning::LinkGeometry* sites, const planning::Clearance* clearance) {
    using Json = nlohmann::ordered_json;
    Json report;
    report["outcome"] = OutcomeName(result.outcome);
    if (result.notice) {
        report["notice"] = {{"message", result.notice->message},
                            {"title", result.notice->ShownTitle()},
                            {"focus", NameOf(result.notice->focus)},
                            {"selectAll", result.notice->selectAll}};
    } else {
        report["notice"] = nullptr;
    }
    if (result.failure) {
        report["failure"] = {{"message", result.failure->message},
                             {"focus", NameOf(result.failure->focus)}};
    } else {
        report["failure"] = nullptr;
    }
    Json fields = Json::object();
    for (const FieldInfo& info : kFields) fields[std::string(info.name)] = sheet.Text(info.field);
    report["fields"] = std::move(fields);
    if (sites) {
        const auto optional = [](const std::optional<double>& value) {
            return value ? Json(*value) : Json(nullptr);
        };
        const auto site = [&](const planning::GeoPoint& point, double ground,
                              const std::optional<double>& mast) {
            return Json{{"lat", point.lat},
                        {"lon", point.lon},
                        {"ground_m", ground},
                        {"mast_m", optional(mast)}};
        };
        report["sites"] = {{"distance_m", sites->distance_m},
                           {"azimuth1_deg", sites->azimuth1_deg},
                           {"azimuth2_deg", sites->azimuth2_deg},
                           {"tilt1_deg", optional(sites->tilt1_deg)},
                           {"tilt2_deg", optional(sites->tilt2_deg)},
                           {"site1", site(sites->site1, sites->ground1_m, sites->mast1_m)},
                           {"site2", site(sites->site2, sites->ground2_m, sites->mast2_m)}};
    } else {
        report["sites"] = nullptr;
    }
    report["clearance"] = clearance ? Json::parse(ClearanceJson(*clearance)) : Json(nullptr);
    return report.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

}  // namespace linkcalc::cli
