#include "cli/batch_row.h"

#include <optional>

#include "cli/command_line.h"
#include "cli/report.h"
#include "linkcalc/calc_run.h"
#include "linkcalc/memory_sheet.h"

namespace linkcalc::cli {
namespace {

std::string LinePrefix(std::size_t line) {
    return "line " + std::to_string(line) + ": ";
}

// Why a row cannot be read, or nothing.
std::optional<std::string> ReadingFault(const BatchLayout& layout, const InputRow& row) {
    if (row.info.fault != CsvFault::None) {
        return LinePrefix(row.info.faultLine) + std::string(DescriptionOf(row.info.fault));
    }
    if (row.info.fields != layout.inputs.size()) {
        return LinePrefix(row.info.line) + std::to_string(row.info.fields) +
               " fields where the header has " + std::to_string(layout.inputs.size());
    }
    return std::nullopt;
}

// The band and the speed take only what their lists offer; other inputs take any text.
bool IsChoice(Field field) {
    return field == Field::CmbEFreq || field == Field::CmbSlcSpeed;
}

// The outcome, the message and empty run fields, for a row that does not run.
void AppendInvalid(std::string& out, char separator, std::string_view message) {
    out += "invalid";
    out += separator;
    AppendCsvField(out, message, separator);
    for (const FieldInfo& info : kFields) {
        if (info.role != FieldRole::Input) out += separator;
    }
    out += "\r\n";
}

}  // namespace

BatchLayout LayoutOf(const CsvFields& header, const CsvRecordInfo& info, char separator) {
    if (info.fault != CsvFault::None) {
        throw UsageError(LinePrefix(info.faultLine) + std::string(DescriptionOf(info.fault)));
    }
    BatchLayout layout;
    layout.separator = separator;
    for (std::size_t i = 0; i < header.size(); ++i) {
        const std::string_view name = header[i];
        const auto option = InputOptionNamed(name);
        if (!option) {
            throw UsageError(LinePrefix(info.line) + "unknown column \"" + std::string(name) +
                             "\"");
        }
        for (const InputOption& seen : layout.inputs) {
            if (seen.name == option->name) {
                throw UsageError(LinePrefix(info.line) + "column \"" + std::string(name) +
                                 "\" appears twice");
            }
        }
        layout.inputs.push_back(*option);
    }
    return layout;
}

std::string OutputHeader(const BatchLayout& layout) {
    std::string out;
    for (const InputOption& column : layout.inputs) {
        out += column.name;
        out += layout.separator;
    }
    out += "outcome";
    out += layout.separator;
    out += "message";
    for (const FieldInfo& info : kFields) {
        if (info.role == FieldRole::Input) continue;
        out += layout.separator;
        out += info.name;
    }
    out += "\r\n";
    return out;
}

RowOutcome AppendOutputRecord(std::string& out, const BatchLayout& layout, const InputRow& row) {
    const char separator = layout.separator;
    const std::size_t columns = layout.inputs.size();
    if (const auto fault = ReadingFault(layout, row)) {
        out.append(columns, separator);
        AppendInvalid(out, separator, *fault);
        return RowOutcome::Invalid;
    }
    for (std::size_t c = 0; c < columns; ++c) {
        AppendCsvField(out, row.Field(c), separator);
        out += separator;
    }

    // The band and the speed first: a row they refuse copies nothing into a sheet.
    for (std::size_t c = 0; c < columns; ++c) {
        const InputOption& column = layout.inputs[c];
        if (IsChoice(column.field) && !FieldTextOf(column.field, row.Field(c))) {
            AppendInvalid(out, separator, RefusalOf(column, row.Field(c)));
            return RowOutcome::Invalid;
        }
    }
    MemorySheet sheet;
    for (std::size_t c = 0; c < columns; ++c) {
        const Field field = layout.inputs[c].field;
        if (IsChoice(field)) {
            sheet.SetText(field, *FieldTextOf(field, row.Field(c)));
        } else {
            sheet.SetText(field, row.Field(c));
        }
    }
    RunValues values;
    const RunResult result = CalcRun(sheet, values);
    out += OutcomeName(result.outcome);
    out += separator;
    if (result.notice) AppendCsvField(out, result.notice->message, separator);
    if (result.failure) AppendCsvField(out, result.failure->message, separator);
    for (const FieldInfo& info : kFields) {
        if (info.role == FieldRole::Input) continue;
        out += separator;
        AppendCsvField(out, sheet.TextRef(info.field), separator);
    }
    out += "\r\n";
    switch (result.outcome) {
        case RunOutcome::Completed:
            return RowOutcome::Completed;
        case RunOutcome::Stopped:
            return RowOutcome::Stopped;
        case RunOutcome::Failed:
            return RowOutcome::Failed;
    }
    return RowOutcome::Failed;
}

}  // namespace linkcalc::cli
