// The CSV reader and writer of the batch mode, called directly.
#include <string>
#include <string_view>
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
