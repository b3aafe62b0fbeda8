#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/batch_ground.h"
#include "cli/csv.h"
#include "cli/input_options.h"
#include "linkcalc/memory_sheet.h"

namespace linkcalc::cli {

// One column of a batch: an input of the sheet, or one of the ground under the link.
struct BatchColumn {
    std::string_view name;
    std::optional<InputOption> input;
    std::optional<GroundColumn> ground;
};

// The columns of a batch and its separator, which the output keeps.
struct BatchLayout {
    std::vector<BatchColumn> columns;  // in header order
    char separator = ',';
    bool clearance = false;  // a ground column is there: the output has the clearance columns
};

// The layout a header record names: every field an input or a ground column, none twice.
// Throws UsageError naming the line.
BatchLayout LayoutOf(const CsvFields& header, const CsvRecordInfo& info, char separator);

// The output header: the input columns, outcome, message, the fields a run writes and, with a
// ground column, the clearance columns.
std::string OutputHeader(const BatchLayout& layout);

enum class RowOutcome : std::uint8_t { Completed, Stopped, Failed, Invalid };

// One input row as the reader left it: its fields from `first` on in `fields` (at most as many
// as the layout has columns), and what the reader found.
struct InputRow {
    const CsvFields& fields;
    std::size_t first;
    const CsvRecordInfo& info;

    std::string_view Field(std::size_t column) const { return fields[first + column]; }
};

// Appends the output record of one input row, with its CRLF: the input fields as given, the
// outcome and its message, then the fields of its run on `sheet`, reset first to the sheet as
// the window opens it, then its clearance. A row that cannot be read, a band or speed outside
// the lists, or a ground cell that cannot be used is invalid and runs nothing; a row that
// cannot be read also leaves its input columns empty, and its message names the line and the
// fault. A terrain whose length disagrees with the run's path makes the row invalid too.
RowOutcome AppendOutputRecord(std::string& out, const BatchLayout& layout, const InputRow& row,
                              MemorySheet& sheet);

}  // namespace linkcalc::cli
