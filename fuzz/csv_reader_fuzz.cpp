// Any bytes as a batch file: rows or a clear usage error naming a line, never a crash.
#include <cstdint>
#include <string>
#include <string_view>

#include "cli/batch.h"
#include "cli/command_line.h"
#include "cli/csv.h"
#include "fuzz/fuzz_check.h"

namespace {

void Check(bool condition, const char* what) {
    FuzzCheck(condition, "csv reader", what);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        const auto records = linkcalc::cli::ReadCsv(text);
        // Writing the records back and reading them again gives the same records.
        // The reader skips one leading byte order mark: keep a field that starts with one.
        std::string written = "\xEF\xBB\xBF";
        for (const auto& record : records) {
            for (std::size_t i = 0; i < record.fields.size(); ++i) {
                if (i > 0) written += ',';
                linkcalc::cli::AppendCsvField(written, record.fields[i]);
            }
            if (record.fields.size() == 1 && record.fields[0].empty()) written += "\"\"";
            written += "\r\n";
        }
        const auto reread = linkcalc::cli::ReadCsv(written);
        Check(reread.size() == records.size(), "rewritten records differ in number");
        for (std::size_t r = 0; r < records.size(); ++r) {
            Check(reread[r].fields == records[r].fields, "a rewritten record differs");
        }
    } catch (const linkcalc::cli::CsvError& error) {
        Check(error.Line() >= 1, "an error names no line");
    }

    std::string output;
    try {
        linkcalc::cli::RunBatch(text, [&](std::string_view chunk) { output += chunk; });
    } catch (const linkcalc::cli::UsageError& error) {
        Check(output.empty(), "a malformed batch wrote rows");
        Check(std::string_view(error.what()).substr(0, 5) == "line ", "an error names no line");
    }
    return 0;
}
