#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/batch_ground.h"
#include "cli/csv.h"
#include "cli/input_options.h"
#include "linkcalc/memory_sheet.h"
#include "planning/link_map.h"
#include "planning/sites.h"

namespace linkcalc::cli {

// The columns of a link given by its sites, which are no input field.
enum class SiteColumn : std::uint8_t {
    Site1,
    Site2,
    Lat1,
    Lon1,
    Lat2,
    Lon2,
    Ground1,
    Ground2,
    Mast1,
    Mast2
};
inline constexpr std::array<std::string_view, 10> kSiteColumnNames{
    "site1", "site2", "lat1", "lon1", "lat2", "lon2", "ground1", "ground2", "mast1", "mast2"};

// The columns a batch of links from sites adds to its output.
inline constexpr std::array<std::string_view, 5> kGeometryColumnNames{
    "distance_m", "azimuth1_deg", "azimuth2_deg", "tilt1_deg", "tilt2_deg"};

// A column of a batch: an input field, a column of the sites or one of the ground.
struct BatchColumn {
    std::string_view name;
    Field field = Field::TxtDM;          // of an input column
    std::optional<SiteColumn> site;      // of a site column instead
    std::optional<GroundColumn> ground;  // of a ground column instead

    bool IsInput() const { return !site && !ground; }
};

// The columns of a batch and its separator, which the output keeps.
struct BatchLayout {
    std::vector<BatchColumn> inputs;  // the input columns, in header order
    char separator = ',';
    // Links from sites: where each site column is among `inputs`, and the geodesy that reads
    // their points (set before any row runs).
    bool sites = false;
    std::array<std::optional<std::size_t>, kSiteColumnNames.size()> siteColumns{};
    const planning::Geodesy* geodesy = nullptr;
    bool mapped = false;     // the rows run from sites give their map lines
    bool clearance = false;  // a ground column is there: the output has the clearance columns
};

// The most columns a header can name.
inline constexpr std::size_t kMaxBatchColumns =
    kInputOptions.size() + kSiteColumnNames.size() + kGroundColumnNames.size();

// The layout a header record names: every field an input column, none twice, and the sites
// as site1 and site2 or as lat1, lon1, lat2 and lon2 (then no distance), with ground1,
// ground2, mast1 and mast2 only beside them, and the ground columns terrain, dem and k-factor.
// Throws UsageError naming the line.
BatchLayout LayoutOf(const CsvFields& header, const CsvRecordInfo& info, char separator);

// The output header: the input columns, outcome, message, the fields a run writes, with sites
// the geometry columns, and with a ground column the clearance columns.
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
// the window opens it, then with sites the geometry of the link. A row that cannot be read, or
// a band or speed outside the lists, a point, ground or mast that cannot be read, is invalid
// and runs nothing; a row that cannot be read also leaves its input columns empty, and its
// message names the line and the fault, the others' the column. With a ground column the
// clearance of a completed run follows; a terrain or DEM that cannot give it makes the row
// invalid, naming the column.
// A mapped layout appends the map line of a row run from its sites to `lines`.
RowOutcome AppendOutputRecord(std::string& out, const BatchLayout& layout, const InputRow& row,
                              MemorySheet& sheet, std::vector<planning::MapLine>* lines = nullptr);

}  // namespace linkcalc::cli
