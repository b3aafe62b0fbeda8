#include "cli/report.h"

#include <nlohmann/json.hpp>

#include "cli/clearance_report.h"

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

}  // namespace

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

std::string TextReport(const MemorySheet& sheet) {
    const auto t = [&](Field field) { return sheet.Text(field); };
    const auto row = [](std::string label, const std::string& value) {
        return "  " + Padded(std::move(label), 26) + value + "\n";
    };
    const auto sides = [](std::string label, const std::string& side1, const std::string& side2) {
        return "  " + Padded(std::move(label), 26) + Padded(side1, 14) + side2 + "\n";
    };

    std::string out = "Path\n";
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
                       const planning::Clearance* clearance) {
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
    report["clearance"] = clearance ? Json::parse(ClearanceJson(*clearance)) : Json(nullptr);
    return report.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

}  // namespace linkcalc::cli
