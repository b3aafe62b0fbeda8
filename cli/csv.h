#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "cli/io.h"
#include "planning/input_limits.h"

namespace linkcalc::cli {

// What can be wrong with one record. The reader notes the first fault and goes on with the
// next record, so that one bad line never costs the rest of the input.
enum class CsvFault : std::uint8_t {
    None,
    UnclosedQuote,          // the input ends inside a quoted field
    QuoteOverBadLines,      // a quoted line break in a record that turns out bad
    QuoteInUnquotedField,   // a stray quote
    TextAfterClosingQuote,  // a quoted field followed by more than a separator or a line end
    FieldTooLong,           // more than kMaxFieldSize bytes
    NotUtf8,                // bytes that are not UTF-8
    NulByte,
};

// "a quoted field is not closed", ...
std::string_view DescriptionOf(CsvFault fault);

inline constexpr std::size_t kMaxFieldSize = planning::kMaxLineBytes;

// The fields of records, one after another in one text.
struct CsvFields {
    std::string bytes;
    std::vector<std::size_t> ends;  // where each field ends in `bytes`

    std::size_t size() const { return ends.size(); }
    std::string_view operator[](std::size_t i) const {
        const std::size_t begin = i == 0 ? 0 : ends[i - 1];
        return std::string_view(bytes).substr(begin, ends[i] - begin);
    }
    void clear() {
        bytes.clear();
        ends.clear();
    }
};

struct CsvRecordInfo {
    std::size_t line = 0;    // where the record starts, counting from 1
    std::size_t fields = 0;  // how many it has, also those beyond the ones kept
    CsvFault fault = CsvFault::None;
    std::size_t faultLine = 0;  // where its first fault is
};

// Reads records from a source in blocks, in memory that does not grow with the input. Fields
// are separated by the separator, records by CRLF or LF; a quoted field may hold separators,
// line breaks and doubled quotes. A leading UTF-8 byte order mark and empty lines are skipped.
// An unclosed quote ends its record at the end of the line where it opened, and so does a
// quoted field longer than kMaxFieldSize.
class CsvReader {
  public:
    explicit CsvReader(ByteSource& source);

    // The separator of the first line that is not empty: its first comma, semicolon or tab
    // outside quotes; a comma when it has none. Reads nothing away.
    char DetectSeparator();
    void SetSeparator(char separator);

    // How many fields a good record has (0: any number). Then a record that has a quoted field
    // over a line break and turns out bad, with a fault or another number of fields, is read
    // again as a bad record that ends at the end of the line where that quote opened: a stray
    // quote costs only its own line, not the lines up to the next quote.
    void ExpectFields(std::size_t count) { expected_ = count; }

    // Reads the next record and appends at most `keep` of its fields to `fields` (a field with
    // a fault only up to kMaxFieldSize). False at the end of the input. Throws IoError.
    bool Next(CsvFields& fields, std::size_t keep, CsvRecordInfo& info);

    // Whether every byte read so far has been used and the source has nothing more within the
    // time: the next record would have to wait for a pipe or a terminal.
    bool WouldWait(int milliseconds);

  private:
    enum class FieldEnd { Separator, LineEnd, InputEnd };

    // Reads more after the bytes from `keepFrom` on, which move to the front; false at the end.
    bool Fill(std::size_t keepFrom);
    bool Available() { return pos_ < end_ || Fill(pos_); }
    void SkipByteOrderMark();
    bool SkipEmptyLines();  // false at the end of the input
    static void Note(CsvRecordInfo& info, CsvFault fault, std::size_t line);
    // Appends to a kept field up to kMaxFieldSize; `size` counts every byte of the field.
    static void Append(std::string* field, const char* bytes, std::size_t count, std::size_t& size);
    // Takes the separator or line end (LF or CRLF) that `c`, the byte at pos_, begins;
    // nothing when it begins neither.
    std::optional<FieldEnd> TakeFieldEnd(char c);
    FieldEnd ReadUnquoted(std::string* field, std::size_t& size, CsvRecordInfo& info);
    FieldEnd ReadQuoted(std::string* field, std::size_t fieldBegin, CsvRecordInfo& info);
    FieldEnd SkipRestOfLine();

    // Bytes of the input, left unset until read into.
    class Buffer {
      public:
        explicit Buffer(std::size_t size)
            : bytes_(std::make_unique_for_overwrite<char[]>(size)), size_(size) {}
        char* data() { return bytes_.get(); }
        char operator[](std::size_t i) const { return bytes_[i]; }
        std::size_t size() const { return size_; }
        void Grow(std::size_t size, std::size_t used) {
            auto bigger = std::make_unique_for_overwrite<char[]>(size);
            std::copy_n(bytes_.get(), used, bigger.get());
            bytes_ = std::move(bigger);
            size_ = size;
        }

      private:
        std::unique_ptr<char[]> bytes_;
        std::size_t size_;
    };

    ByteSource& source_;
    Buffer buffer_;
    static constexpr std::size_t kNowhere = static_cast<std::size_t>(-1);
    static constexpr std::size_t kMaxKeptRecord = 4 * kMaxFieldSize;
    std::size_t quote_ = kNowhere;  // the opening quote of the field being read
    // The first quoted field of the record that went on over a line break: where the record
    // is read again from, should it turn out bad.
    std::size_t anchor_ = kNowhere;
    std::size_t anchorLine_ = 0;
    std::size_t anchorBytes_ = 0;
    CsvRecordInfo beforeAnchor_;
    std::size_t expected_ = 0;
    std::size_t pos_ = 0;
    std::size_t end_ = 0;
    bool inputEnded_ = false;
    bool markChecked_ = false;
    std::size_t line_ = 1;
    char separator_ = ',';
    std::array<bool, 256> stopsUnquoted_{};
};

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

// Reads every record of a comma-separated text; throws CsvError at the first faulty record.
std::vector<CsvRecord> ReadCsv(std::string_view text);

// Appends a field, quoted when it holds the separator, a quote, CR or LF.
void AppendCsvField(std::string& out, std::string_view field, char separator = ',');

// Whether a text is well-formed UTF-8 (no overlong forms, surrogates or values past U+10FFFF).
bool IsUtf8(std::string_view text);

}  // namespace linkcalc::cli
