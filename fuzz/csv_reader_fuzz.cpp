// Any bytes as a batch file: records whatever the sizes of the reads, a well-formed output of
// one record per input record, or a usage error naming a line before anything is written;
// never a crash.
#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/batch.h"
#include "cli/command_line.h"
#include "cli/csv.h"
#include "cli/io.h"
#include "fuzz/fuzz_check.h"

namespace {

using namespace linkcalc::cli;

void Check(bool condition, const char* what) {
    FuzzCheck(condition, "csv reader", what);
}

// Hands out the text in reads of 1 to 8 bytes.
class ChoppedSource final : public ByteSource {
  public:
    explicit ChoppedSource(std::string_view text) : text_(text) {}
    std::size_t Read(char* buffer, std::size_t size) override {
        const std::size_t count = std::min({size, text_.size(), std::size_t{1} + reads_++ % 8});
        std::copy_n(text_.data(), count, buffer);
        text_.remove_prefix(count);
        return count;
    }

  private:
    std::string_view text_;
    std::size_t reads_ = 0;
};

class TextSink final : public ByteSink {
  public:
    void Write(std::string_view bytes) override { text += bytes; }
    std::string text;
};

struct Record {
    std::size_t line, fields;
    CsvFault fault;
    std::size_t faultLine;
    std::vector<std::string> kept;
    bool operator==(const Record&) const = default;
};

std::vector<Record> ReadAll(ByteSource& source, char separator, std::size_t expected) {
    CsvReader reader(source);
    reader.SetSeparator(separator);
    reader.ExpectFields(expected);
    std::vector<Record> records;
    CsvFields fields;
    CsvRecordInfo info;
    while (reader.Next(fields, 12, info)) {
        Record record{info.line, info.fields, info.fault, info.faultLine, {}};
        for (std::size_t i = 0; i < fields.size(); ++i) record.kept.emplace_back(fields[i]);
        records.push_back(std::move(record));
        fields.clear();
    }
    return records;
}

void CheckStrictReading(std::string_view text) {
    try {
        const auto records = ReadCsv(text);
        // Writing the records back and reading them again gives the same records.
        // The reader skips one leading byte order mark: keep a field that starts with one.
        std::string written = "\xEF\xBB\xBF";
        for (const auto& record : records) {
            for (std::size_t i = 0; i < record.fields.size(); ++i) {
                if (i > 0) written += ',';
                AppendCsvField(written, record.fields[i]);
            }
            if (record.fields.size() == 1 && record.fields[0].empty()) written += "\"\"";
            written += "\r\n";
        }
        const auto reread = ReadCsv(written);
        Check(reread.size() == records.size(), "rewritten records differ in number");
        for (std::size_t r = 0; r < records.size(); ++r) {
            Check(reread[r].fields == records[r].fields, "a rewritten record differs");
        }
    } catch (const CsvError& error) {
        Check(error.Line() >= 1, "an error names no line");
    }
}

void CheckBatch(std::string_view text, std::optional<char> separator) {
    TextSource source(text);
    TextSink sink;
    BatchOptions options;
    options.separator = separator;
    try {
        const BatchCounts counts = RunBatch(source, sink, options);
        // The output: a header, then one record per row, each as wide as the header, all
        // well-formed with the separator of the input.
        const char used = separator ? *separator : [&] {
            TextSource again(text);
            return CsvReader(again).DetectSeparator();
        }();
        TextSource written(sink.text);
        const std::vector<Record> out = ReadAll(written, used, 0);
        Check(!out.empty(), "no output header");
        Check(out.size() == counts.Rows() + 1, "output records differ from the rows counted");
        for (const Record& record : out) {
            Check(record.fault == CsvFault::None, "the output is not well-formed");
            Check(record.fields == out.front().fields, "an output record has another width");
        }
    } catch (const UsageError& error) {
        Check(sink.text.empty(), "an unreadable header wrote rows");
        Check(std::string_view(error.what()).substr(0, 5) == "line ", "an error names no line");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    CheckStrictReading(bytes);
    if (bytes.empty()) return 0;

    // The first byte picks the separator and whether rows follow a header that reads.
    const auto choice = static_cast<unsigned char>(bytes.front());
    const std::string_view rest = bytes.substr(1);
    constexpr char kSeparators[] = {',', ';', '\t'};
    const char separator = kSeparators[choice % 3];

    for (const std::size_t expected : {std::size_t{0}, std::size_t{3}}) {
        TextSource whole(rest);
        ChoppedSource chopped(rest);
        Check(ReadAll(whole, separator, expected) == ReadAll(chopped, separator, expected),
              "records differ with the sizes of the reads");
    }

    std::string text(rest);
    if (choice & 4) {
        std::string header = "gain1,gain2,distance,unit,band,speed\n";
        std::replace(header.begin(), header.end(), ',', separator);
        text = header + text;
    }
    CheckBatch(text, (choice & 8) ? std::optional<char>(separator) : std::nullopt);
    return 0;
}
