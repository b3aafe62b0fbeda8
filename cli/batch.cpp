#include "cli/batch.h"

#include <algorithm>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "cli/command_line.h"
#include "cli/csv.h"
#include "cli/input_options.h"
#include "cli/report.h"
#include "linkcalc/calc_run.h"
#include "linkcalc/memory_sheet.h"

namespace linkcalc::cli {
namespace {

constexpr std::size_t kBlockRows = 4096;  // rows a worker runs before the block is written

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

// One input row and the outcome of its run on a fresh sheet.
void AppendRow(std::string& out, const std::vector<InputOption>& columns,
               const std::vector<std::string>& values) {
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
                             std::to_string(records[r].fields.size()) +
                             " fields where the header has " + std::to_string(columns.size()));
        }
    }

    std::string out;
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
    write(out);

    // Rows are independent: blocks of them run on every core and are written in order.
    const std::size_t workers = std::max(1U, std::thread::hardware_concurrency());
    std::vector<std::string> parts(workers);
    for (std::size_t begin = 1; begin < records.size(); begin += kBlockRows * workers) {
        const std::size_t blockEnd = std::min(records.size(), begin + kBlockRows * workers);
        const std::size_t share = (blockEnd - begin + workers - 1) / workers;
        {
            std::vector<std::jthread> threads;
            for (std::size_t w = 0; w < workers; ++w) {
                const std::size_t first = std::min(blockEnd, begin + w * share);
                const std::size_t last = std::min(blockEnd, first + share);
                parts[w].clear();
                threads.emplace_back([&, w, first, last] {
                    for (std::size_t r = first; r < last; ++r) {
                        AppendRow(parts[w], columns, records[r].fields);
                    }
                });
            }
        }
        for (const std::string& part : parts) write(part);
    }
}

}  // namespace linkcalc::cli
