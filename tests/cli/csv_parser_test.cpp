// The CSV reader and writer of the batch mode, called directly.
#include <algorithm>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "cli/csv.h"

namespace linkcalc::cli {
namespace {

using Fields = std::vector<std::string>;

// Each record as its starting line and its fields.
using Records = std::vector<std::pair<std::size_t, Fields>>;

Records Read(std::string_view text) {
    Records out;
    for (CsvRecord& record : ReadCsv(text)) out.emplace_back(record.line, std::move(record.fields));
    return out;
}

struct ReadCase {
    const char* name;
    std::string text;
    Records records;
};

TEST(CsvReader, ReadsRecordsFieldsAndTheirLines) {
    const std::vector<ReadCase> cases{
        {"empty text", "", {}},
        {"LF and CRLF line ends",
         "a,b\nc,d\r\ne,f",
         {{1, {"a", "b"}}, {2, {"c", "d"}}, {3, {"e", "f"}}}},
        {"empty fields", ",,\nx,\n", {{1, {"", "", ""}}, {2, {"x", ""}}}},
        {"blanks are kept", " a , b \n", {{1, {" a ", " b "}}}},
        {"quoted comma and doubled quote",
         "\"a,b\",\"say \"\"hi\"\"\"\n",
         {{1, {"a,b", "say \"hi\""}}}},
        {"empty quoted field", "\"\",x\n", {{1, {"", "x"}}}},
        {"a quoted empty field is a record, not a blank line", "\"\"\n", {{1, {""}}}},
        {"line breaks inside quotes are kept and counted",
         "\"l1\r\nl2\",\"m1\nm2\"\nnext\n",
         {{1, {"l1\r\nl2", "m1\nm2"}}, {4, {"next"}}}},
        {"blank lines are skipped but counted", "\n\r\na\n\n\nb\n\n", {{3, {"a"}}, {6, {"b"}}}},
        {"byte order mark at the start",
         "\xEF\xBB\xBF"
         "a,b\n",
         {{1, {"a", "b"}}}},
        {"byte order mark elsewhere is data",
         "a\n\xEF\xBB\xBF"
         "b\n",
         {{1, {"a"}},
          {2,
           {"\xEF\xBB\xBF"
            "b"}}}},
        {"a lone CR is data", "a\rb\n", {{1, {"a\rb"}}}},
    };
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Read(c.text), c.records);
    }
}

struct ErrorCase {
    const char* name;
    std::string text;
    std::size_t line;
    std::string what;
};

TEST(CsvReader, MalformedTextNamesTheLine) {
    const std::vector<ErrorCase> cases{
        {"quote never closed", "a\n\"b,c\nd\n", 2, "line 2: a quoted field is not closed"},
        {"quote in an unquoted field", "a\nb\"c\n", 2, "line 2: a quote inside an unquoted field"},
        {"text after the closing quote", "\"a\"b\n", 1,
         "line 1: unexpected text after a closing quote"},
        {"text after a quoted field spanning lines", "\"a\nb\"c\n", 2,
         "line 2: unexpected text after a closing quote"},
        {"blank after the closing quote", "\"a\" ,b\n", 1,
         "line 1: unexpected text after a closing quote"},
        {"quote after blank lines and a multi-line field", "x\n\n\"a\r\nb\"\nc\"\n", 5,
         "line 5: a quote inside an unquoted field"},
    };
    for (const ErrorCase& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            ReadCsv(c.text);
            ADD_FAILURE() << "no error";
        } catch (const CsvError& error) {
            EXPECT_EQ(error.Line(), c.line);
            EXPECT_EQ(std::string(error.what()), c.what);
        }
    }
}

TEST(CsvWriter, QuotesOnlyWhatNeedsIt) {
    const std::vector<std::pair<std::string, std::string>> cases{
        {"", ""},
        {"plain text", "plain text"},
        {" 6 Mbps", " 6 Mbps"},
        {"a,b", "\"a,b\""},
        {"say \"hi\"", "\"say \"\"hi\"\"\""},
        {"two\r\nlines", "\"two\r\nlines\""},
        {"lf\nonly", "\"lf\nonly\""},
        {"cr\ronly", "\"cr\ronly\""},
    };
    for (const auto& [field, written] : cases) {
        SCOPED_TRACE(field);
        std::string out = "x,";
        AppendCsvField(out, field);
        EXPECT_EQ(out, "x," + written);
    }
}

TEST(CsvWriter, WrittenFieldsReadBackUnchanged) {
    const Fields fields{"",   "a,b",   "\"",     "\"\"", "line\r\nbreak",
                        "\n", " lead", "trail ", "-64",  "\xEF\xBB\xBF"};
    std::string text;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) text += ',';
        AppendCsvField(text, fields[i]);
    }
    text += "\r\n";
    const std::vector<CsvRecord> records = ReadCsv(text);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].fields, fields);
}

}  // namespace
}  // namespace linkcalc::cli

namespace linkcalc::cli {
namespace {

// Hands out a text a few bytes at a time, as a pipe may.
class ChoppedSource final : public ByteSource {
  public:
    ChoppedSource(std::string_view text, std::vector<std::size_t> sizes)
        : text_(text), sizes_(std::move(sizes)) {}
    std::size_t Read(char* buffer, std::size_t size) override {
        const std::size_t chunk = sizes_[next_++ % sizes_.size()];
        const std::size_t count = std::min({size, chunk, text_.size()});
        std::copy_n(text_.data(), count, buffer);
        text_.remove_prefix(count);
        return count;
    }

  private:
    std::string_view text_;
    std::vector<std::size_t> sizes_;
    std::size_t next_ = 0;
};

// A record as the streaming reader gives it.
struct Streamed {
    std::size_t line;
    std::size_t fields;
    CsvFault fault;
    std::size_t faultLine;
    Fields kept;
    bool operator==(const Streamed&) const = default;
};

std::vector<Streamed> ReadAll(ByteSource& source, std::size_t keep = 100,
                              std::size_t expected = 0) {
    CsvReader reader(source);
    reader.ExpectFields(expected);
    std::vector<Streamed> out;
    CsvFields fields;
    CsvRecordInfo info;
    while (reader.Next(fields, keep, info)) {
        Streamed record{info.line, info.fields, info.fault, info.faultLine, {}};
        for (std::size_t i = 0; i < fields.size(); ++i) record.kept.emplace_back(fields[i]);
        out.push_back(std::move(record));
        fields.clear();
    }
    return out;
}

std::vector<Streamed> ReadAll(std::string_view text, std::size_t keep = 100,
                              std::size_t expected = 0) {
    TextSource source(text);
    return ReadAll(source, keep, expected);
}

std::string Describe(const std::vector<Streamed>& records) {
    std::string out;
    for (const Streamed& r : records) {
        out += "{line " + std::to_string(r.line) + ", " + std::to_string(r.fields) + " fields, " +
               std::string(DescriptionOf(r.fault)) + " at " + std::to_string(r.faultLine) + ":";
        for (const std::string& field : r.kept) out += " [" + field + "]";
        out += "}\n";
    }
    return out;
}

const std::string kLong(kMaxFieldSize + 10, 'x');

struct FaultCase {
    const char* name;
    std::string text;
    std::vector<Streamed> records;
};

constexpr CsvFault kNone = CsvFault::None;

TEST(CsvReader, NotesTheFirstFaultOfARecordAndGoesOnWithTheNext) {
    const std::vector<FaultCase> cases{
        {"unclosed quote ends its record at its line end",
         "a,\"b\nc,d\ne\n",
         {{1, 2, CsvFault::UnclosedQuote, 1, {"a", ""}},
          {2, 2, kNone, 0, {"c", "d"}},
          {3, 1, kNone, 0, {"e"}}}},
        {"unclosed quote on the last line",
         "a\n\"b,c",
         {{1, 1, kNone, 0, {"a"}}, {2, 1, CsvFault::UnclosedQuote, 2, {""}}}},
        {"a closed quote may span lines",
         "\"b\nc\",d\ne\n",
         {{1, 2, kNone, 0, {"b\nc", "d"}}, {3, 1, kNone, 0, {"e"}}}},
        {"stray quote",
         "a\"b,c\nd\n",
         {{1, 2, CsvFault::QuoteInUnquotedField, 1, {"a\"b", "c"}}, {2, 1, kNone, 0, {"d"}}}},
        {"text after a closing quote",
         "\"a\"b,c\nd\n",
         {{1, 2, CsvFault::TextAfterClosingQuote, 1, {"ab", "c"}}, {2, 1, kNone, 0, {"d"}}}},
        {"NUL byte",
         std::string("a\0b,c\nd\n", 8),
         {{1, 2, CsvFault::NulByte, 1, {std::string("a\0b", 3), "c"}}, {2, 1, kNone, 0, {"d"}}}},
        {"NUL byte inside quotes",
         std::string("\"a\0\",c\n", 7),
         {{1, 2, CsvFault::NulByte, 1, {std::string("a\0", 2), "c"}}}},
        {"invalid UTF-8",
         "\xFF,c\nd\n",
         {{1, 2, CsvFault::NotUtf8, 1, {"\xFF", "c"}}, {2, 1, kNone, 0, {"d"}}}},
        {"overlong UTF-8", "a,\xC0\xAF\n", {{1, 2, CsvFault::NotUtf8, 1, {"a", "\xC0\xAF"}}}},
        {"UTF-16 surrogate in UTF-8",
         "\xED\xA0\x80\n",
         {{1, 1, CsvFault::NotUtf8, 1, {"\xED\xA0\x80"}}}},
        {"cut UTF-8 sequence", "\xE2\x82,x\n", {{1, 2, CsvFault::NotUtf8, 1, {"\xE2\x82", "x"}}}},
        {"well-formed UTF-8",
         "\xE2\x82\xAC,\xF0\x9F\x93\xA1\n",
         {{1, 2, kNone, 0, {"\xE2\x82\xAC", "\xF0\x9F\x93\xA1"}}}},
        {"the first fault counts",
         "a\"b,\xFF\n",
         {{1, 2, CsvFault::QuoteInUnquotedField, 1, {"a\"b", "\xFF"}}}},
        {"unquoted field over 1 MiB is cut",
         "a," + kLong + ",b\nc\n",
         {{1, 3, CsvFault::FieldTooLong, 1, {"a", kLong.substr(0, kMaxFieldSize), "b"}},
          {2, 1, kNone, 0, {"c"}}}},
        {"a field of exactly 1 MiB is whole",
         kLong.substr(0, kMaxFieldSize) + "\n",
         {{1, 1, kNone, 0, {kLong.substr(0, kMaxFieldSize)}}}},
        {"quoted field over 1 MiB ends its record at its line end",
         "a,\"x\n" + kLong + "\"\nc\n",
         {{1, 2, CsvFault::FieldTooLong, 1, {"a", ""}},
          {2, 1, CsvFault::FieldTooLong, 2, {kLong.substr(0, kMaxFieldSize)}},
          {3, 1, kNone, 0, {"c"}}}},
        {"a quote at the end of the input closes its field", "\"a\"", {{1, 1, kNone, 0, {"a"}}}},
        {"CRLF after a closing quote",
         "\"a\"\r\nb\r\n",
         {{1, 1, kNone, 0, {"a"}}, {2, 1, kNone, 0, {"b"}}}},
    };
    for (const FaultCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<Streamed> records = ReadAll(c.text);
        EXPECT_EQ(records, c.records) << Describe(records);
    }
}

TEST(CsvReader, KeepsOnlyTheFieldsAskedForButCountsThemAll) {
    const std::vector<Streamed> records = ReadAll("a,b,c,d\n\"x,y\",\"z\n\",\n", 2);
    ASSERT_EQ(records.size(), 2U) << Describe(records);
    EXPECT_EQ(records[0], (Streamed{1, 4, kNone, 0, {"a", "b"}}));
    EXPECT_EQ(records[1], (Streamed{2, 3, kNone, 0, {"x,y", "z\n"}}));
}

// Every text of the other tests, and ones whose quotes, line ends and byte order mark fall
// across the reads.
TEST(CsvReader, GivesTheSameRecordsWhateverTheSizesOfTheReads) {
    const std::vector<std::string> texts{
        "a,b\nc,d\r\ne,f",
        "\xEF\xBB\xBF"
        "a,\"b\"\"c\",\"d\r\ne\"\r\n\r\n\n,\n",
        "a,\"b\nc,d\ne\n",
        "x\n\n\"a\r\nb\"\nc\"\n",
        "\"a\"b,\"c\"\"\",\"\"\r\n\"\"\"\"\n",
        std::string("a\0b\r\rc,\xFF\xFE,\"\n", 12),
        "a," + kLong + ",\"b\"\n\"" + kLong + "\",c\nd\n",
        "a,\"x\n" + std::string(kMaxFieldSize / 2, '"') + "\nc\n",
        "\"" + std::string(kMaxFieldSize, 'y') + "\"\"\"\nz",
        "\r",
        "\r\n\r",
        "\"",
        "a\r",
        "a,\"b\nc\nd,\"e\"\nf,g\n",
        "\"a\nb\",c\n\"d\ne\"\"\n\",f\n",
    };
    const std::vector<std::vector<std::size_t>> chunkings{
        {1}, {2}, {3}, {7}, {1, 5, 2, 64}, {4096, 1, 65536}, {300000, 17}};
    for (const std::string& text : texts) {
        for (const std::size_t expected : {0, 2}) {
            SCOPED_TRACE(text.substr(0, 40) + ", expecting " + std::to_string(expected));
            const std::vector<Streamed> whole = ReadAll(text, 100, expected);
            for (const std::vector<std::size_t>& sizes : chunkings) {
                if (text.size() > 100000 && sizes.front() < 16) continue;  // too slow by bytes
                ChoppedSource source(text, sizes);
                EXPECT_EQ(ReadAll(source, 100, expected), whole)
                    << "reads of " << sizes.front() << " bytes";
            }
        }
    }
}

TEST(CsvReader, BadRecordWithAQuotedLineBreakEndsAtTheLineOfThatQuote) {
    // A stray quote on line 2 meets the quote of line 4: read as one record, it would have
    // one field too many and swallow line 3.
    const std::string text = "a,b\nc,\"d\ne,f\ng,\"h\"\n\"i\nj\",k\n";
    const std::vector<Streamed> records = ReadAll(text, 3, 2);
    EXPECT_EQ(records, (std::vector<Streamed>{{1, 2, kNone, 0, {"a", "b"}},
                                              {2, 2, CsvFault::QuoteOverBadLines, 2, {"c", ""}},
                                              {3, 2, kNone, 0, {"e", "f"}},
                                              {4, 2, kNone, 0, {"g", "h"}},
                                              {5, 2, kNone, 0, {"i\nj", "k"}}}))
        << Describe(records);
    // Without an expected count the reader takes the quotes as they come.
    const std::vector<Streamed> asTheyCome = ReadAll(text, 3, 0);
    ASSERT_GE(asTheyCome.size(), 2U) << Describe(asTheyCome);
    EXPECT_EQ(asTheyCome[1].line, 2U);
    EXPECT_EQ(asTheyCome[1].fields, 2U);
    EXPECT_EQ(asTheyCome[1].fault, CsvFault::TextAfterClosingQuote);
}

TEST(CsvReader, DetectsTheSeparatorFromTheFirstLineThatIsNotEmpty) {
    struct Case {
        std::string text;
        char separator;
        std::size_t headerLine;
    };
    const std::vector<Case> cases{
        {"gain1,gain2\n1;2\n", ',', 1},
        {"gain1;gain2\n1,5;2\n", ';', 1},
        {"gain1\tgain2\n", '\t', 1},
        {"gain1;gain2,distance\n", ';', 1},  // the first of them
        {"\"a,b\";c\n", ';', 1},             // not inside quotes
        {"\"a\nb,c\";d\n", ';', 1},          // a quoted field may go on past the line end
        {"\r\n\n\xEF\xBB\xBFx;y", ';', 3},   // a mark after empty lines is part of the name
        {"\xEF\xBB\xBF\n\ngain1\tgain2", '\t', 3},
        {"packet\n1;2\n", ',', 1},  // one column: nothing to detect
        {"", ',', 0},
        {"\n\n", ',', 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        TextSource source(c.text);
        CsvReader reader(source);
        EXPECT_EQ(reader.DetectSeparator(), c.separator);
        // Detecting reads nothing away: the next record is the header line, at its line.
        reader.SetSeparator(c.separator);
        CsvFields fields;
        CsvRecordInfo info;
        EXPECT_EQ(reader.Next(fields, 10, info), c.headerLine != 0);
        EXPECT_EQ(info.line, c.headerLine);
    }
}

TEST(CsvWriter, QuotesTheSeparatorItWritesWith) {
    const std::vector<std::tuple<char, std::string, std::string>> cases{
        {';', "a;b", "\"a;b\""}, {';', "a,b", "a,b"},         {'\t', "a\tb", "\"a\tb\""},
        {'\t', "a,b", "a,b"},    {';', "a\"b", "\"a\"\"b\""},
    };
    for (const auto& [separator, field, written] : cases) {
        SCOPED_TRACE(field);
        std::string out;
        AppendCsvField(out, field, separator);
        EXPECT_EQ(out, written);
    }
}

}  // namespace
}  // namespace linkcalc::cli
