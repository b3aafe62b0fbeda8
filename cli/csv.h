#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace linkcalc::cli {

// A CSV text that does not follow RFC 4180; names the line where it goes wrong.
class CsvError : public std::runtime_error {
  public:
    CsvError(std::size_t line, const std::string& what);
    std::size_t Line() const { return line_; }

  private:
    std::size_t line_;
};

struct CsvRecord {
    std::size_t line;  // where the record starts, counting from 1
    std::vector<std::string> fields;
};

// Reads every record of an RFC 4180 text: fields separated by commas, records by CRLF or LF,
// quoted fields may hold commas, line breaks and doubled quotes. A leading UTF-8 byte order mark
// and empty lines are skipped.
std::vector<CsvRecord> ReadCsv(std::string_view text);

// Appends a field, quoted when it holds a comma, a quote, CR or LF.
void AppendCsvField(std::string& out, std::string_view field);

}  // namespace linkcalc::cli
