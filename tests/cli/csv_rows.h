// Reading a batch's CSV output back: its rows keyed by the output header, or its lines.
#pragma once

#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cli/csv.h"

namespace linkcalc::cli_test {

using Row = std::map<std::string, std::string>;

// Every record after the header, keyed by the header; a record of another width fails the test.
inline std::vector<Row> RowsOf(const std::string& out) {
    const std::vector<cli::CsvRecord> records = cli::ReadCsv(out);
    std::vector<Row> rows;
    if (records.empty()) {
        ADD_FAILURE() << "no header in the output";
        return rows;
    }
    const std::vector<std::string>& header = records.front().fields;
    for (std::size_t r = 1; r < records.size(); ++r) {
        EXPECT_EQ(records[r].fields.size(), header.size()) << "output record " << r;
        Row row;
        for (std::size_t c = 0; c < header.size() && c < records[r].fields.size(); ++c) {
            row[header[c]] = records[r].fields[c];
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

// The output's lines, each without its CRLF.
inline std::vector<std::string> CrlfLines(const std::string& out) {
    std::vector<std::string> lines;
    for (std::size_t at = 0; at < out.size();) {
        const std::size_t end = out.find("\r\n", at);
        lines.push_back(out.substr(at, end - at));
        if (end == std::string::npos) break;
        at = end + 2;
    }
    return lines;
}

}  // namespace linkcalc::cli_test
