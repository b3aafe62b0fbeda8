#include "cli/batch.h"

#include <optional>
#include <string>
#include <vector>

#include "cli/command_line.h"
#include "cli/csv.h"
#include "cli/input_options.h"
#include "cli/report.h"
#include "linkcalc/calc_run.h"
#include "linkcalc/memory_sheet.h"

namespace linkcalc::cli {
namespace {

constexpr std::size_t kFlushSize = 1 << 16;

std::vector<InputOption> ReadHeader(const CsvRecord& header) {
    std::vector<InputOption> columns;
    for (const std::string& name : header.fields) {
        const auto option = InputOptionNamed(name);
        if (!option) {
            throw UsageError("line " + std::to_string(header.line) + ": unknown column \"" + name +
                             "\"");
        }
        for (const InputOption& seen : columns) {
            if (seen.name == option->name) {
                throw UsageError("line " + std::to_string(header.line) + ": column \"" + name +
                                 "\" appears twice");
            }
        }
        columns.push_back(*option);
    }
    return columns;
}

}  // namespace

void RunBatch(std::string_view csvText, const std::function<void(std::string_view)>& write) {
    std::vector<CsvRecord> records;
    try {
        records = ReadCsv(csvText);
    } catch (const CsvError& error) {
        throw UsageError(error.what());
    }
    if (records.empty()) throw UsageError("line 1: the CSV has no header line");
    const std::vector<InputOption> columns = ReadHeader(records.front());
    for (std::size_t r = 1; r < records.size(); ++r) {
        if (records[r].fields.size() != columns.size()) {
            throw UsageError("line " + std::to_string(records[r].line) + ": " +
                             std::to_string(records[r].fields.size()) + " fields where the header has " +
                             std::to_string(columns.size()));
        }
    }

    std::string out;
    out.reserve(kFlushSize * 2);
    for (const InputOption& column : columns) {
        out += column.name;
        out += ',';
    }
    out += "outcome,message";
    for (const FieldInfo& info : kFields) {
        if (info.role == FieldRole::Input) continue;
        out += ',';
        out += info.name;
    }
    out += "\r\n";

    for (std::size_t r = 1; r < records.size(); ++r) {
        const std::vector<std::string>& values = records[r].fields;
        for (const std::string& value : values) {
            AppendCsvField(out, value);
            out += ',';
        }

        MemorySheet sheet;
        std::optional<std::string> refusal;
        for (std::size_t c = 0; c < columns.size() && !refusal; ++c) {
            if (auto text = FieldTextOf(columns[c].field, values[c])) {
                sheet.SetText(columns[c].field, *text);
            } else {
                refusal = RefusalOf(columns[c], values[c]);
            }
        }
        if (refusal) {
            out += "invalid,";
            AppendCsvField(out, *refusal);
        } else {
            RunValues runValues;
            const RunResult result = CalcRun(sheet, runValues);
            out += OutcomeName(result.outcome);
            out += ',';
            if (result.notice) AppendCsvField(out, result.notice->message);
            if (result.failure) AppendCsvField(out, result.failure->message);
        }
        for (const FieldInfo& info : kFields) {
            if (info.role == FieldRole::Input) continue;
            out += ',';
            if (!refusal) AppendCsvField(out, sheet.TextRef(info.field));
        }
        out += "\r\n";
        if (out.size() >= kFlushSize) {
            write(out);
            out.clear();
        }
    }
    write(out);
}

}  // namespace linkcalc::cli
