#include "cli/batch_row.h"

#include <algorithm>
#include <array>
#include <memory>
#include <optional>

#include "cli/clearance_report.h"
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
    if (row.info.fields != layout.columns.size()) {
        return LinePrefix(row.info.line) + std::to_string(row.info.fields) +
               " fields where the header has " + std::to_string(layout.columns.size());
    }
    return std::nullopt;
}

// The band and the speed take only what their lists offer; other inputs take any text.
bool IsChoice(Field field) {
    return field == Field::CmbEFreq || field == Field::CmbSlcSpeed;
}

// Writes one output record into room made for it at once: the sizes of its fields bound it
// (each at worst quoted with every byte a quote), so no byte needs a check of the room left.
class RecordWriter {
  public:
    RecordWriter(std::string& out, char separator)
        : out_(out), separator_(separator), quoted_(QuotedBytes(separator)) {}

    // Room for `fields` more fields of `bytes` bytes in all, their separators and the CRLF.
    void MakeRoom(std::size_t fields, std::size_t bytes) {
        const std::size_t used = Used();
        out_.resize(used + 2 * bytes + 3 * fields + 2);
        next_ = out_.data() + used;
    }
    void Field(std::string_view field) {
        char* to = next_;
        for (const char c : field) {
            if (quoted_[static_cast<unsigned char>(c)]) return Quoted(field);
            *to++ = c;
        }
        next_ = to;
    }
    void Separator() { *next_++ = separator_; }
    void Separators(std::size_t count) { next_ = std::fill_n(next_, count, separator_); }
    void End() {
        *next_++ = '\r';
        *next_++ = '\n';
        out_.resize(Used());
    }

  private:
    using ByteSet = std::array<bool, 256>;

    // The bytes that make a field quoted: the separator, a quote, CR and LF.
    static const ByteSet& QuotedBytes(char separator) {
        static constexpr auto kSets = [] {
            std::array<ByteSet, 3> sets{};
            constexpr char kSeparators[] = {',', ';', '\t'};
            for (std::size_t i = 0; i < sets.size(); ++i) {
                for (const char c : {kSeparators[i], '"', '\r', '\n'}) {
                    sets[i][static_cast<unsigned char>(c)] = true;
                }
            }
            return sets;
        }();
        return kSets[separator == ',' ? 0 : separator == ';' ? 1 : 2];
    }

    std::size_t Used() const {
        return next_ ? static_cast<std::size_t>(next_ - out_.data()) : out_.size();
    }
    void Quoted(std::string_view field) {
        *next_++ = '"';
        for (const char c : field) {
            if (c == '"') *next_++ = '"';
            *next_++ = c;
        }
        *next_++ = '"';
    }

    std::string& out_;
    char separator_;
    const ByteSet& quoted_;
    char* next_ = nullptr;
};

constexpr std::size_t kRunFields = kFieldCount - 9;  // unit labels and results

// A row's ground and its clearance columns, empty unless its run completes.
struct GroundRow {
    RowGround ground;
    std::array<std::string, kClearanceColumns.size()> fields;
};

std::size_t RunColumns(const BatchLayout& layout) {
    return kRunFields + (layout.clearance ? kClearanceColumns.size() : 0);
}

// The outcome, the message and empty run fields, for a row that does not run.
void WriteInvalid(RecordWriter& writer, const BatchLayout& layout, std::string_view message) {
    writer.MakeRoom(2 + RunColumns(layout), 7 + message.size());
    writer.Field("invalid");
    writer.Separator();
    writer.Field(message);
    writer.Separators(RunColumns(layout));
    writer.End();
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
        BatchColumn column{name, InputOptionNamed(name), GroundColumnNamed(name)};
        if (!column.input && !column.ground) {
            throw UsageError(LinePrefix(info.line) + "unknown column \"" + std::string(name) +
                             "\"");
        }
        column.name = column.input ? column.input->name : NameOf(*column.ground);
        for (const BatchColumn& seen : layout.columns) {
            if (seen.name == column.name) {
                throw UsageError(LinePrefix(info.line) + "column \"" + std::string(name) +
                                 "\" appears twice");
            }
        }
        layout.clearance = layout.clearance || column.ground.has_value();
        layout.columns.push_back(column);
    }
    return layout;
}

std::string OutputHeader(const BatchLayout& layout) {
    std::string out;
    for (const BatchColumn& column : layout.columns) {
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
    if (layout.clearance) {
        for (const std::string_view name : kClearanceColumns) {
            out += layout.separator;
            out += name;
        }
    }
    out += "\r\n";
    return out;
}

RowOutcome AppendOutputRecord(std::string& out, const BatchLayout& layout, const InputRow& row,
                              MemorySheet& sheet) {
    const std::size_t columns = layout.columns.size();
    RecordWriter writer(out, layout.separator);
    if (const auto fault = ReadingFault(layout, row)) {
        writer.MakeRoom(columns, 0);
        writer.Separators(columns);
        WriteInvalid(writer, layout, *fault);
        return RowOutcome::Invalid;
    }
    std::size_t inputBytes = 0;
    for (std::size_t c = 0; c < columns; ++c) inputBytes += row.Field(c).size();
    writer.MakeRoom(columns, inputBytes);
    for (std::size_t c = 0; c < columns; ++c) {
        writer.Field(row.Field(c));
        writer.Separator();
    }

    // The band and the speed first: a row they refuse copies nothing into the sheet.
    std::array<std::string_view, kFieldCount> listed{};
    for (std::size_t c = 0; c < columns; ++c) {
        const std::optional<InputOption>& column = layout.columns[c].input;
        if (!column || !IsChoice(column->field)) continue;
        const auto item = ListedTextOf(column->field, row.Field(c));
        if (!item) {
            WriteInvalid(writer, layout, RefusalOf(*column, row.Field(c)));
            return RowOutcome::Invalid;
        }
        listed[static_cast<std::size_t>(column->field)] = *item;
    }
    // Only a batch with ground columns pays for them.
    std::unique_ptr<GroundRow> ground;
    if (layout.clearance) {
        ground = std::make_unique<GroundRow>();
        for (std::size_t c = 0; c < columns; ++c) {
            const std::optional<GroundColumn>& column = layout.columns[c].ground;
            if (!column) continue;
            if (const auto fault = TakeGroundCell(*column, row.Field(c), ground->ground)) {
                WriteInvalid(writer, layout, *fault);
                return RowOutcome::Invalid;
            }
        }
    }
    sheet.Reset();
    for (std::size_t c = 0; c < columns; ++c) {
        if (!layout.columns[c].input) continue;
        const Field field = layout.columns[c].input->field;
        sheet.SetText(field,
                      IsChoice(field) ? listed[static_cast<std::size_t>(field)] : row.Field(c));
    }
    if (ground) TypeRowTerrainLength(ground->ground, sheet);
    RunValues values;
    const RunResult result = CalcRun(sheet, values);
    if (ground && result.outcome == RunOutcome::Completed) {
        planning::Clearance clearance;
        if (const auto fault = RowClearance(ground->ground, sheet, values, clearance)) {
            WriteInvalid(writer, layout, *fault);
            return RowOutcome::Invalid;
        }
        ground->fields = ClearanceValues(clearance);
    }
    const std::string_view outcome = OutcomeName(result.outcome);
    const std::string_view message = result.notice    ? result.notice->message
                                     : result.failure ? result.failure->message
                                                      : std::string_view();
    std::size_t runBytes = outcome.size() + message.size();
    for (const FieldInfo& info : kFields) {
        if (info.role != FieldRole::Input) runBytes += sheet.TextRef(info.field).size();
    }
    if (ground) {
        for (const std::string& field : ground->fields) runBytes += field.size();
    }
    writer.MakeRoom(2 + RunColumns(layout), runBytes);
    writer.Field(outcome);
    writer.Separator();
    writer.Field(message);
    for (const FieldInfo& info : kFields) {
        if (info.role == FieldRole::Input) continue;
        writer.Separator();
        writer.Field(sheet.TextRef(info.field));
    }
    if (ground) {
        for (const std::string& field : ground->fields) {
            writer.Separator();
            writer.Field(field);
        }
    }
    writer.End();
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
