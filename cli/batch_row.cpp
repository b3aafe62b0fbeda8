#include "cli/batch_row.h"

#include <algorithm>
#include <array>
#include <memory>
#include <mutex>
#include <optional>

#include "cli/clearance_report.h"
#include "cli/clearance_run.h"
#include "cli/command_line.h"
#include "cli/link_maps.h"
#include "cli/report.h"
#include "linkcalc/calc_run.h"
#include "linkcalc/memory_sheet.h"
#include "planning/number_text.h"

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
    void Raw(std::string_view bytes) { next_ = std::copy(bytes.begin(), bytes.end(), next_); }
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

std::size_t RunColumns(const BatchLayout& layout) {
    return kRunFields + (layout.sites ? kGeometryColumnNames.size() : 0) +
           (layout.clearance ? kClearanceColumns.size() : 0);
}

// A row's ground and its clearance columns, empty unless its run completes.
struct GroundRow {
    RowGround ground;
    std::optional<planning::LinkClearance> link;
    std::array<std::string, kClearanceColumns.size()> fields;
};

// The grounds and masts a row gives: an empty cell gives none.
planning::EndsGiven EndsOf(const BatchLayout& layout, const InputRow& row,
                           const planning::SiteInputs& inputs) {
    const auto given = [&](SiteColumn column) {
        const auto index = layout.siteColumns[static_cast<std::size_t>(column)];
        return index && !row.Field(*index).empty();
    };
    planning::EndsGiven ends;
    if (given(SiteColumn::Ground1)) ends.ground1_m = inputs.ground1_m;
    if (given(SiteColumn::Ground2)) ends.ground2_m = inputs.ground2_m;
    ends.mast1_m = inputs.mast1_m;
    ends.mast2_m = inputs.mast2_m;
    return ends;
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

std::string_view SiteColumnName(SiteColumn column) {
    return kSiteColumnNames[static_cast<std::size_t>(column)];
}

std::optional<SiteColumn> SiteColumnNamed(std::string_view name) {
    for (std::size_t i = 0; i < kSiteColumnNames.size(); ++i) {
        if (kSiteColumnNames[i] == name) return static_cast<SiteColumn>(i);
    }
    return std::nullopt;
}

void CheckSiteColumns(BatchLayout& layout, const CsvRecordInfo& info) {
    const auto has = [&](SiteColumn column) {
        return layout.siteColumns[static_cast<std::size_t>(column)].has_value();
    };
    const auto refuse = [&](const std::string& why) {
        throw UsageError(LinePrefix(info.line) + why);
    };
    const bool sites = has(SiteColumn::Site1) || has(SiteColumn::Site2);
    const bool degrees = has(SiteColumn::Lat1) || has(SiteColumn::Lon1) || has(SiteColumn::Lat2) ||
                         has(SiteColumn::Lon2);
    if (sites && degrees) {
        refuse("the sites are site1 and site2, or lat1, lon1, lat2 and lon2, not both");
    }
    if (sites && !(has(SiteColumn::Site1) && has(SiteColumn::Site2))) {
        refuse(std::string("column ") +
               (has(SiteColumn::Site1) ? "site1 needs site2" : "site2 needs site1"));
    }
    if (degrees) {
        for (const SiteColumn column :
             {SiteColumn::Lat1, SiteColumn::Lon1, SiteColumn::Lat2, SiteColumn::Lon2}) {
            if (!has(column)) {
                refuse("the sites by degrees need lat1, lon1, lat2 and lon2: no column " +
                       std::string(SiteColumnName(column)));
            }
        }
    }
    layout.sites = sites || degrees;
    for (const BatchColumn& column : layout.inputs) {
        if (layout.sites && column.IsInput() && column.field == Field::TxtDM) {
            refuse("column distance cannot go with the sites: they give the path length");
        }
        if (!layout.sites && column.site) {
            refuse("column " + std::string(column.name) +
                   " goes with the sites (site1 and site2, or lat1, lon1, lat2 and lon2)");
        }
    }
}

std::string GeometryFields(const planning::LinkGeometry& geometry, char separator) {
    std::string out;
    const auto add = [&](const std::optional<double>& value) {
        out += separator;
        // A figure of the geometry, as short as it can be and read back the same.
        if (value) out += planning::Shortest(*value);
    };
    add(geometry.distance_m);
    add(geometry.azimuth1_deg);
    add(geometry.azimuth2_deg);
    add(geometry.tilt1_deg);
    add(geometry.tilt2_deg);
    return out;
}

// The site inputs of a row, or why they cannot be read, naming the column.
struct RowSites {
    planning::SiteInputs inputs;
    std::optional<std::string> refusal;
};

RowSites SitesOf(const BatchLayout& layout, const InputRow& row) {
    RowSites sites;
    const auto cell = [&](SiteColumn column) -> std::optional<std::string_view> {
        const auto index = layout.siteColumns[static_cast<std::size_t>(column)];
        if (!index) return std::nullopt;
        return row.Field(*index);
    };
    if (cell(SiteColumn::Site1)) {
        sites.inputs.point1 = std::string(*cell(SiteColumn::Site1));
        sites.inputs.point2 = std::string(*cell(SiteColumn::Site2));
    } else {
        // One text per point, as a comma joins a latitude and a longitude.
        sites.inputs.point1 =
            std::string(*cell(SiteColumn::Lat1)) + "," + std::string(*cell(SiteColumn::Lon1));
        sites.inputs.point2 =
            std::string(*cell(SiteColumn::Lat2)) + "," + std::string(*cell(SiteColumn::Lon2));
    }
    const struct {
        SiteColumn column;
        double* ground;
        std::optional<double>* mast;
    } heights[] = {
        {SiteColumn::Ground1, &sites.inputs.ground1_m, nullptr},
        {SiteColumn::Ground2, &sites.inputs.ground2_m, nullptr},
        {SiteColumn::Mast1, nullptr, &sites.inputs.mast1_m},
        {SiteColumn::Mast2, nullptr, &sites.inputs.mast2_m},
    };
    for (const auto& height : heights) {
        const auto text = cell(height.column);
        if (!text || text->empty()) continue;  // an empty cell is the default
        std::optional<double> metres;
        if (auto refusal =
                HeightRefusal("column " + std::string(SiteColumnName(height.column)),
                              height.mast ? Height::Mast : Height::Ground, *text, metres)) {
            sites.refusal = std::move(refusal);
            return sites;
        }
        if (height.ground) *height.ground = *metres;
        if (height.mast) *height.mast = metres;
    }
    return sites;
}

// The column of a point's fault: its site column, or for degrees the latitude or the
// longitude column that holds the part.
std::string PointColumn(const BatchLayout& layout, const planning::SiteError& error) {
    const bool first = error.Site() == 1;
    if (layout.siteColumns[static_cast<std::size_t>(SiteColumn::Site1)]) {
        return first ? "site1" : "site2";
    }
    switch (error.Part()) {
        case planning::PointError::Part::First:
            return first ? "lat1" : "lat2";
        case planning::PointError::Part::Second:
            return first ? "lon1" : "lon2";
        case planning::PointError::Part::Whole:
            break;
    }
    return first ? "lat1, lon1" : "lat2, lon2";
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
        BatchColumn column;
        if (const auto option = InputOptionNamed(name)) {
            column.name = option->name;
            column.field = option->field;
        } else if (const auto site = SiteColumnNamed(name)) {
            column.name = SiteColumnName(*site);
            column.site = site;
            layout.siteColumns[static_cast<std::size_t>(*site)] = i;
        } else if (const auto ground = GroundColumnNamed(name)) {
            column.name = NameOf(*ground);
            column.ground = ground;
            layout.clearance = true;
        } else {
            throw UsageError(LinePrefix(info.line) + "unknown column \"" + std::string(name) +
                             "\"");
        }
        for (const BatchColumn& seen : layout.inputs) {
            if (seen.name == column.name) {
                throw UsageError(LinePrefix(info.line) + "column \"" + std::string(name) +
                                 "\" appears twice");
            }
        }
        layout.inputs.push_back(column);
    }
    CheckSiteColumns(layout, info);
    return layout;
}

std::string OutputHeader(const BatchLayout& layout) {
    std::string out;
    for (const BatchColumn& column : layout.inputs) {
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
    if (layout.sites) {
        for (const std::string_view name : kGeometryColumnNames) {
            out += layout.separator;
            out += name;
        }
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
                              MemorySheet& sheet, std::vector<planning::MapLine>* lines) {
    const std::size_t columns = layout.inputs.size();
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
        const BatchColumn& column = layout.inputs[c];
        if (!column.IsInput() || !IsChoice(column.field)) continue;
        const auto item = ListedTextOf(column.field, row.Field(c));
        if (!item) {
            WriteInvalid(writer, layout, RefusalOf({column.name, column.field}, row.Field(c)));
            return RowOutcome::Invalid;
        }
        listed[static_cast<std::size_t>(column.field)] = *item;
    }
    std::optional<RowSites> sites;
    if (layout.sites) {
        sites = SitesOf(layout, row);
        if (sites->refusal) {
            WriteInvalid(writer, layout, *sites->refusal);
            return RowOutcome::Invalid;
        }
    }
    // Held until the row's ground is freed, after it.
    std::unique_lock<std::mutex> large(LargeGroundLock(), std::defer_lock);
    // Only a batch with ground columns pays for them.
    std::unique_ptr<GroundRow> ground;
    if (layout.clearance) {
        ground = std::make_unique<GroundRow>();
        for (std::size_t c = 0; c < columns; ++c) {
            const std::optional<GroundColumn>& column = layout.inputs[c].ground;
            if (!column) continue;
            if (*column == GroundColumn::Terrain && !large.owns_lock() &&
                IsLargeTerrain(row.Field(c))) {
                large.lock();
            }
            if (const auto fault =
                    TakeGroundCell(*column, row.Field(c), layout.sites, ground->ground)) {
                WriteInvalid(writer, layout, *fault);
                return RowOutcome::Invalid;
            }
        }
    }
    sheet.Reset();
    for (std::size_t c = 0; c < columns; ++c) {
        const BatchColumn& column = layout.inputs[c];
        if (!column.IsInput()) continue;
        const Field field = column.field;
        sheet.SetText(field,
                      IsChoice(field) ? listed[static_cast<std::size_t>(field)] : row.Field(c));
    }
    if (ground && !sites) TypeRowTerrainLength(ground->ground, sheet);
    RunValues values;
    RunResult result;
    std::string geometry;
    // The clearance of a completed run, or why it cannot be had.
    const auto clearance = [&](const planning::EndsGiven& ends) -> std::optional<std::string> {
        if (!large.owns_lock() && IsLongPath(ground->ground, sheet, values)) large.lock();
        planning::LinkClearance link;
        if (auto fault = RowClearance(ground->ground, ends, sheet, values, link)) return fault;
        ground->fields = ClearanceValues(link.clearance);
        ground->link = std::move(link);
        return std::nullopt;
    };
    if (sites) {
        try {
            planning::SiteRun run =
                planning::RunWithSites(*layout.geodesy, sites->inputs, sheet, values);
            result = std::move(run.result);
            if (ground && result.outcome == RunOutcome::Completed) {
                ground->ground.source.site1 = run.geometry.site1;
                ground->ground.source.site2 = run.geometry.site2;
                ground->ground.source.length_m = run.geometry.distance_m;
                if (const auto fault = clearance(EndsOf(layout, row, sites->inputs))) {
                    WriteInvalid(writer, layout, *fault);
                    return RowOutcome::Invalid;
                }
                TakeProfileGround(*ground->link, sheet, run.geometry);
            }
            geometry = GeometryFields(run.geometry, layout.separator);
            if (layout.mapped && lines) {
                std::string inputs;
                for (std::size_t c = 0; c < columns; ++c) {
                    AddInput(inputs, layout.inputs[c].name, row.Field(c));
                }
                lines->push_back(MapLineOf("Link at line " + std::to_string(row.info.line),
                                           std::move(inputs), result, sheet, run.geometry,
                                           *layout.geodesy));
            }
        } catch (const planning::SiteError& error) {
            WriteInvalid(writer, layout,
                         "column " + PointColumn(layout, error) + ": " + error.what());
            return RowOutcome::Invalid;
        }
    } else {
        result = CalcRun(sheet, values);
        if (ground && result.outcome == RunOutcome::Completed) {
            if (const auto fault = clearance({})) {
                WriteInvalid(writer, layout, *fault);
                return RowOutcome::Invalid;
            }
        }
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
    writer.MakeRoom(2 + RunColumns(layout), runBytes + geometry.size());
    writer.Field(outcome);
    writer.Separator();
    writer.Field(message);
    for (const FieldInfo& info : kFields) {
        if (info.role == FieldRole::Input) continue;
        writer.Separator();
        writer.Field(sheet.TextRef(info.field));
    }
    writer.Raw(geometry);  // separators and numbers: nothing to quote
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
