#include "cli/speed_table_output.h"

#include <iostream>
#include <vector>

#include <nlohmann/json.hpp>

#include "cli/csv.h"
#include "cli/report.h"
#include "linkcalc/numeric_text.h"

namespace linkcalc::cli {
namespace {

using planning::LinkRun;
using planning::SpeedRow;
using planning::SpeedTable;

constexpr int kExitCompleted = 0;
constexpr int kExitStopped = 1;

std::string MarginText(const SpeedTable& table) {
    return TextOfNumber(table.minimumMargin);
}

const std::string& TextOf(const LinkRun& run, Field field) {
    return run.sheet.TextRef(field);
}

// The path as the runs read it: the distance after validation's repairs, then the unit.
std::string PathOf(const SpeedTable& table) {
    return TextOf(table.rows.front().atPath, Field::TxtDM) + " " + table.unit;
}

std::string MessageOf(const LinkRun& run) {
    if (run.result.notice) return std::string(run.result.notice->message);
    if (run.result.failure) return std::string(run.result.failure->message);
    return {};
}

std::string Rates(const LinkRun& run) {
    return TextOf(run, Field::TxtEBtRateUni) + " / " + TextOf(run, Field::TxtEBRBi);
}

std::string Padded(std::string text, std::size_t width) {
    text.append(text.size() < width ? width - text.size() : 1, ' ');
    return text;
}

// Speed, then the run at the path, then the reach.
constexpr std::size_t kWidths[] = {9, 13, 13, 17, 16};

std::string Line(const std::vector<std::string>& cells) {
    std::string out;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const bool last = i + 1 == cells.size();
        out += last ? cells[i] : Padded(cells[i], kWidths[i]);
    }
    while (!out.empty() && out.back() == ' ') out.pop_back();
    return out + "\n";
}

std::string ReachCell(const SpeedTable& table, const SpeedRow& row) {
    if (!row.reach) {
        const std::string shortest = planning::DistanceText(1);
        return row.shortestFails ? "none: fails at " + shortest
                                 : "none: below " + MarginText(table) + " dB at " + shortest;
    }
    return row.ceiling ? row.reach->distance + " (ceiling)" : row.reach->distance;
}

std::string RowLine(const SpeedTable& table, const SpeedRow& row) {
    std::vector<std::string> cells{std::string(row.speed)};
    if (row.atPath.result.outcome == RunOutcome::Completed) {
        cells.push_back(TextOf(row.atPath, Field::TxtReqSS));
        cells.push_back(TextOf(row.atPath, Field::TxtFM) + " dB");
        cells.push_back(Rates(row.atPath));
    } else {
        cells.push_back(std::string(OutcomeName(row.atPath.result.outcome)));
        cells.push_back("-");
        cells.push_back("-");
    }
    cells.push_back(ReachCell(table, row));
    if (row.reach) cells.push_back(Rates(row.reach->run));
    return Line(cells);
}

// One line for each message of the runs at the path that did not complete, naming the speeds
// when not all of them share it.
std::string UncompletedNotes(const SpeedTable& table) {
    std::vector<std::pair<std::string, std::vector<std::string_view>>> notes;
    for (const SpeedRow& row : table.rows) {
        if (row.atPath.result.outcome == RunOutcome::Completed) continue;
        const std::string line = ErrorLine(row.atPath.result);
        auto note = notes.begin();
        while (note != notes.end() && note->first != line) ++note;
        if (note == notes.end()) note = notes.insert(note, {line, {}});
        note->second.push_back(row.speed);
    }
    std::string out;
    for (const auto& [line, speeds] : notes) {
        out += "At " + PathOf(table);
        if (speeds.size() != table.rows.size()) {
            out += " (";
            for (std::size_t i = 0; i < speeds.size(); ++i) {
                if (i != 0) out += ", ";
                out += speeds[i].substr(speeds[i].find_first_not_of(' '));
            }
            out += ")";
        }
        out += ": " + line + "\n";
    }
    return out;
}

nlohmann::ordered_json FieldsJson(const MemorySheet& sheet) {
    nlohmann::ordered_json fields = nlohmann::ordered_json::object();
    for (const FieldInfo& info : kFields)
        fields[std::string(info.name)] = sheet.TextRef(info.field);
    return fields;
}

}  // namespace

std::string SpeedTableText(const SpeedTable& table) {
    const std::string margin = MarginText(table);
    std::string out = "Speed table at " + PathOf(table) + ", " +
                      TextOf(table.rows.front().atPath, Field::CmbEFreq) +
                      " MHz; reach: the longest path with a fade margin of at least " + margin +
                      " dB\n";
    out += Line({"Speed", "Sensitivity", "Fade margin", "Bit rates", "Reach (" + table.unit + ")",
                 "Bit rates there"});
    bool ceiling = false;
    for (const SpeedRow& row : table.rows) {
        out += RowLine(table, row);
        ceiling = ceiling || row.ceiling;
    }
    out += "Bit rates in Mbit/s, one way / both ways.\n";
    if (ceiling) {
        out += "(ceiling): the search stops at " +
               planning::DistanceText(planning::kReachCeilingSteps) + " " + table.unit +
               "; the speed may reach further.\n";
    }
    out += UncompletedNotes(table);
    const std::string condition = "a fade margin of at least " + margin + " dB at " + PathOf(table);
    if (table.recommended) {
        const std::string_view speed = table.rows[*table.recommended].speed;
        out += "Recommended speed: " + std::string(speed.substr(speed.find_first_not_of(' '))) +
               " (the fastest with " + condition + ")\n";
    } else {
        out += "Recommended speed: none (no speed keeps " + condition + ")\n";
    }
    return out;
}

std::string SpeedTableCsv(const SpeedTable& table) {
    std::string out =
        "speed,outcome,message,distance,unit,TxtReqSS,TxtFM,TxtEBtRateUni,TxtEBRBi,reach,"
        "reach_TxtFM,reach_TxtEBtRateUni,reach_TxtEBRBi,ceiling,recommended\r\n";
    for (std::size_t i = 0; i < table.rows.size(); ++i) {
        const SpeedRow& row = table.rows[i];
        const auto field = [&](std::string_view text) {
            AppendCsvField(out, text);
            out += ',';
        };
        field(row.speed);
        field(OutcomeName(row.atPath.result.outcome));
        field(MessageOf(row.atPath));
        field(TextOf(row.atPath, Field::TxtDM));
        field(table.unit);
        for (const Field result :
             {Field::TxtReqSS, Field::TxtFM, Field::TxtEBtRateUni, Field::TxtEBRBi}) {
            field(TextOf(row.atPath, result));
        }
        field(row.reach ? row.reach->distance : std::string());
        for (const Field result : {Field::TxtFM, Field::TxtEBtRateUni, Field::TxtEBRBi}) {
            field(row.reach ? TextOf(row.reach->run, result) : std::string());
        }
        field(row.ceiling ? "true" : "false");
        out += table.recommended == i ? "true" : "false";
        out += "\r\n";
    }
    return out;
}

std::string SpeedTableJson(const SpeedTable& table) {
    using Json = nlohmann::ordered_json;
    Json rows = Json::array();
    for (const SpeedRow& row : table.rows) {
        Json entry;
        entry["speed"] = row.speed;
        entry["outcome"] = OutcomeName(row.atPath.result.outcome);
        const std::string message = MessageOf(row.atPath);
        entry["message"] = message.empty() ? Json(nullptr) : Json(message);
        entry["fields"] = FieldsJson(row.atPath.sheet);
        if (row.reach) {
            entry["reach"] = {{"distance", row.reach->distance},
                              {"fields", FieldsJson(row.reach->run.sheet)}};
        } else {
            entry["reach"] = nullptr;
        }
        entry["ceiling"] = row.ceiling;
        rows.push_back(std::move(entry));
    }
    Json report;
    report["margin"] = table.minimumMargin;
    report["unit"] = table.unit;
    report["rows"] = std::move(rows);
    report["recommended"] =
        table.recommended ? Json(table.rows[*table.recommended].speed) : Json(nullptr);
    return report.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

int RunSpeedTable(const CommandLine& line, ByteSink& sink) {
    MemorySheet inputs;
    for (const auto& [field, text] : line.inputs) inputs.SetText(field, text);
    const SpeedTable table =
        planning::MakeSpeedTable(inputs, line.margin.value_or(planning::kDefaultMinimumMargin));

    std::string out;
    if (table.stopped) {
        if (!line.json) {
            std::cerr << "linkcalc-cli: " << ErrorLine(table.stopped->result) << "\n";
            return kExitStopped;
        }
        out = JsonReport(table.stopped->result, table.stopped->sheet);
    } else {
        out = line.json     ? SpeedTableJson(table)
              : line.csvOut ? SpeedTableCsv(table)
                            : SpeedTableText(table);
    }
    sink.Write(out);
    return table.stopped ? kExitStopped : kExitCompleted;
}

}  // namespace linkcalc::cli
