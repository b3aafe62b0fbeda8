#include "planning/terrain_csv.h"

#include <array>
#include <charconv>
#include <cmath>
#include <optional>

#include "planning/number_text.h"

namespace linkcalc::planning {
namespace {

enum class Column { Distance, Elevation, Obstruction };
constexpr std::array<std::string_view, 3> kColumnNames{"distance", "elevation", "obstruction"};

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"') {
        text = text.substr(1, text.size() - 2);
    }
    return text;
}

std::vector<std::string_view> FieldsOf(std::string_view line, char separator) {
    std::vector<std::string_view> fields;
    for (;;) {
        const std::size_t end = line.find(separator);
        fields.push_back(Trimmed(line.substr(0, end)));
        if (end == std::string_view::npos) return fields;
        line.remove_prefix(end + 1);
    }
}

std::optional<double> NumberOf(std::string_view text) {
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() ||
        !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const char c = a[i] >= 'A' && a[i] <= 'Z' ? static_cast<char>(a[i] - 'A' + 'a') : a[i];
        if (c != b[i]) return false;
    }
    return true;
}

std::string LineText(std::size_t number) {
    return "line " + std::to_string(number) + ": ";
}

std::string Shown(std::string_view text) {
    constexpr std::size_t kShownLength = 40;
    return "\"" + std::string(text.substr(0, kShownLength)) +
           (text.size() > kShownLength ? "...\"" : "\"");
}

std::vector<Column> HeaderColumns(const std::vector<std::string_view>& names,
                                  std::size_t lineNumber) {
    std::vector<Column> columns;
    for (const std::string_view name : names) {
        std::optional<Column> column;
        for (std::size_t i = 0; i < kColumnNames.size(); ++i) {
            if (SameName(name, kColumnNames[i])) column = static_cast<Column>(i);
        }
        if (!column) {
            throw TerrainError(LineText(lineNumber) + "unknown column " + Shown(name) +
                               " (the columns are distance, elevation and obstruction)");
        }
        for (const Column seen : columns) {
            if (seen == *column)
                throw TerrainError(LineText(lineNumber) + "column " + Shown(name) + " twice");
        }
        columns.push_back(*column);
    }
    for (const Column needed : {Column::Distance, Column::Elevation}) {
        bool found = false;
        for (const Column seen : columns) found = found || seen == needed;
        if (!found) {
            throw TerrainError(LineText(lineNumber) + "no " +
                               std::string(kColumnNames[static_cast<std::size_t>(needed)]) +
                               " column");
        }
    }
    return columns;
}

}  // namespace

std::string MetresText(double metres) {
    // From 2^52 up a double holds no tenths, and rounding to them would move it: the length
    // is shown as it is.
    const double rounded = std::abs(metres) < 0x1p52 ? std::round(metres * 10) / 10 : metres;
    return Fixed(rounded, rounded == std::round(rounded) ? 0 : 1) + " m";
}

std::vector<ProfileSample> ReadTerrainCsv(std::string_view text) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    std::vector<ProfileSample> rows;
    std::vector<Column> columns;
    char separator = ',';
    std::size_t lineNumber = 0;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (Trimmed(line).empty()) continue;

        if (columns.empty()) {
            const std::size_t first = line.find_first_of(",;\t");
            if (first != std::string_view::npos) separator = line[first];
            const std::vector<std::string_view> fields = FieldsOf(line, separator);
            if (!NumberOf(fields.front())) {
                columns = HeaderColumns(fields, lineNumber);
                continue;
            }
            columns = {Column::Distance, Column::Elevation, Column::Obstruction};
            columns.resize(std::min(fields.size(), columns.size()));
            if (columns.size() < 2) throw TerrainError(LineText(lineNumber) + "no elevation");
        }

        const std::vector<std::string_view> fields = FieldsOf(line, separator);
        if (fields.size() != columns.size()) {
            throw TerrainError(LineText(lineNumber) + std::to_string(fields.size()) +
                               (fields.size() == 1 ? " field" : " fields") + ", expected " +
                               std::to_string(columns.size()));
        }
        ProfileSample row;
        for (std::size_t i = 0; i < fields.size(); ++i) {
            const std::string_view name = kColumnNames[static_cast<std::size_t>(columns[i])];
            const std::optional<double> value = NumberOf(fields[i]);
            if (!value) {
                throw TerrainError(LineText(lineNumber) + std::string(name) + " " +
                                   Shown(fields[i]) + " is not a number");
            }
            switch (columns[i]) {
                case Column::Distance:
                    row.distance_m = *value;
                    break;
                case Column::Elevation:
                    row.elevation_m = *value;
                    break;
                case Column::Obstruction:
                    if (*value < 0) {
                        throw TerrainError(LineText(lineNumber) + "obstruction " +
                                           Shown(fields[i]) + " is below the ground");
                    }
                    row.obstruction_m = *value;
                    break;
            }
        }
        if (rows.empty() && row.distance_m != 0) {
            throw TerrainError(LineText(lineNumber) + "the first distance is " +
                               MetresText(row.distance_m) + ", not 0 (site 1)");
        }
        if (!rows.empty() && !(row.distance_m > rows.back().distance_m)) {
            throw TerrainError(LineText(lineNumber) + "distance " + MetresText(row.distance_m) +
                               " does not follow " + MetresText(rows.back().distance_m) +
                               ": rows go in increasing distance");
        }
        rows.push_back(row);
    }
    if (rows.size() < 2) {
        throw TerrainError(rows.empty() ? "no rows" : "one row only: a terrain needs both sites");
    }
    return rows;
}

void CheckTerrainLength(const std::vector<ProfileSample>& rows, double pathLength_m) {
    const double length = rows.back().distance_m;
    if (std::abs(length - pathLength_m) > kTerrainLengthTolerance * pathLength_m) {
        throw TerrainLengthError("the terrain ends at " + MetresText(length) + " but the path is " +
                                 MetresText(pathLength_m) + ": they differ by more than 1 %");
    }
}

}  // namespace linkcalc::planning
