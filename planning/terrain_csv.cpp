#include "planning/terrain_csv.h"

#include <array>
#include <charconv>
#include <cmath>
#include <optional>

#include "planning/earth_bounds.h"
#include "planning/number_text.h"

namespace linkcalc::planning {
namespace {

using Column = TerrainReader::Column;
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

// A cell in a message: cut to a few characters (never inside one), with every control
// character written out, so that the message stays one whole line.
std::string Shown(std::string_view text) {
    constexpr std::size_t kShownLength = 40;
    std::size_t cut = std::min(text.size(), kShownLength);
    while (cut > 0 && cut < text.size() && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) {
        --cut;
    }
    std::string shown = "\"";
    for (const char c : text.substr(0, cut)) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == 0) {
            shown += "\\0";
        } else if (byte < 0x20 || byte == 0x7F) {
            constexpr std::string_view kHex = "0123456789ABCDEF";
            shown += "\\x";
            shown += kHex[byte >> 4];
            shown += kHex[byte & 0xF];
        } else if (c == '\\') {
            shown += "\\\\";
        } else {
            shown += c;
        }
    }
    return shown + (cut < text.size() ? "...\"" : "\"");
}

std::string Within(const char* name, std::string_view cell, double low, double high) {
    return std::string(name) + " " + Shown(cell) + " is beyond what the earth holds (from " +
           MetresText(low) + " to " + MetresText(high) + ")";
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

void TerrainReader::Add(std::string_view bytes) {
    while (!bytes.empty()) {
        if (afterCr_) {
            afterCr_ = false;
            if (bytes.front() == '\n') {
                bytes.remove_prefix(1);
                continue;
            }
        }
        const std::size_t end = bytes.find_first_of("\r\n");
        if (end == std::string_view::npos) {
            Keep(bytes);
            return;
        }
        afterCr_ = bytes[end] == '\r';
        const std::string_view piece = bytes.substr(0, end);
        bytes.remove_prefix(end + 1);
        if (pending_.empty()) {
            if (piece.size() > kMaxLineBytes) Keep(piece);  // throws
            TakeLine(piece);
        } else {
            Keep(piece);
            TakeLine(pending_);
            pending_.clear();
        }
    }
}

void TerrainReader::Keep(std::string_view piece) {
    if (piece.size() > kMaxLineBytes - pending_.size()) {
        throw TerrainError(LineText(lineNumber_ + 1) + "longer than 1 MiB (more than " +
                           std::to_string(kMaxLineBytes) + " bytes)");
    }
    pending_.append(piece);
}

std::vector<ProfileSample> TerrainReader::Finish() {
    if (!pending_.empty()) {
        TakeLine(pending_);
        pending_.clear();
    }
    if (rows_.size() < 2) {
        throw TerrainError(rows_.empty() ? "no rows" : "one row only: a terrain needs both sites");
    }
    return std::move(rows_);
}

void TerrainReader::TakeLine(std::string_view line) {
    ++lineNumber_;
    if (lineNumber_ == 1 && line.substr(0, 3) == "\xEF\xBB\xBF") line.remove_prefix(3);
    if (Trimmed(line).empty()) return;
    if (columns_.empty() && TakeHeader(line)) return;
    TakeRow(line);
}

bool TerrainReader::TakeHeader(std::string_view line) {
    const std::size_t first = line.find_first_of(",;\t");
    if (first != std::string_view::npos) separator_ = line[first];
    const std::vector<std::string_view> fields = FieldsOf(line, separator_);
    if (!NumberOf(fields.front())) {
        columns_ = HeaderColumns(fields, lineNumber_);
        return true;
    }
    columns_ = {Column::Distance, Column::Elevation, Column::Obstruction};
    columns_.resize(std::min(fields.size(), columns_.size()));
    if (columns_.size() < 2) throw TerrainError(LineText(lineNumber_) + "no elevation");
    return false;
}

void TerrainReader::TakeRow(std::string_view line) {
    if (rows_.size() == kMaxTerrainRows) {
        throw TerrainError(LineText(lineNumber_) + "more than " + std::to_string(kMaxTerrainRows) +
                           " rows: a terrain holds at most " + std::to_string(kMaxTerrainRows));
    }
    const std::vector<std::string_view> fields = FieldsOf(line, separator_);
    if (fields.size() != columns_.size()) {
        throw TerrainError(LineText(lineNumber_) + std::to_string(fields.size()) +
                           (fields.size() == 1 ? " field" : " fields") + ", expected " +
                           std::to_string(columns_.size()));
    }
    ProfileSample row;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const std::string_view name = kColumnNames[static_cast<std::size_t>(columns_[i])];
        const std::optional<double> value = NumberOf(fields[i]);
        if (!value) {
            throw TerrainError(LineText(lineNumber_) + std::string(name) + " " + Shown(fields[i]) +
                               " is not a number");
        }
        switch (columns_[i]) {
            case Column::Distance:
                if (*value < 0) {
                    throw TerrainError(LineText(lineNumber_) + "distance " + Shown(fields[i]) +
                                       " is negative: distances are from site 1");
                }
                // The profile of a longer one would only fill the memory.
                if (*value > kLongestPath_m) {
                    throw TerrainError(LineText(lineNumber_) + "distance " + Shown(fields[i]) +
                                       " is longer than any path on the earth (" +
                                       MetresText(kLongestPath_m) + ")");
                }
                row.distance_m = *value;
                break;
            case Column::Elevation:
                if (*value < kLowestGround_m || *value > kHighestGround_m) {
                    throw TerrainError(LineText(lineNumber_) + Within("elevation", fields[i],
                                                                      kLowestGround_m,
                                                                      kHighestGround_m));
                }
                row.elevation_m = *value;
                break;
            case Column::Obstruction:
                if (*value < 0) {
                    throw TerrainError(LineText(lineNumber_) + "obstruction " + Shown(fields[i]) +
                                       " is below the ground");
                }
                if (*value > kHighestObstruction_m) {
                    throw TerrainError(LineText(lineNumber_) +
                                       Within("obstruction", fields[i], 0, kHighestObstruction_m));
                }
                row.obstruction_m = *value;
                break;
        }
    }
    if (rows_.empty() && row.distance_m != 0) {
        throw TerrainError(LineText(lineNumber_) + "the first distance is " +
                           MetresText(row.distance_m) + ", not 0 (site 1)");
    }
    if (!rows_.empty() && !(row.distance_m > rows_.back().distance_m)) {
        throw TerrainError(LineText(lineNumber_) + "distance " + MetresText(row.distance_m) +
                           " does not follow " + MetresText(rows_.back().distance_m) +
                           ": rows go in increasing distance");
    }
    rows_.push_back(row);
}

std::vector<ProfileSample> ReadTerrainCsv(std::string_view text) {
    TerrainReader reader;
    reader.Add(text);
    return reader.Finish();
}

void CheckTerrainLength(const std::vector<ProfileSample>& rows, double pathLength_m) {
    const double length = rows.back().distance_m;
    if (std::abs(length - pathLength_m) > kTerrainLengthTolerance * pathLength_m) {
        throw TerrainLengthError("the terrain ends at " + MetresText(length) + " but the path is " +
                                 MetresText(pathLength_m) + ": they differ by more than 1 %");
    }
}

}  // namespace linkcalc::planning
