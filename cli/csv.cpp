#include "cli/csv.h"

namespace linkcalc::cli {

CsvError::CsvError(std::size_t line, const std::string& what)
    : std::runtime_error("line " + std::to_string(line) + ": " + what), line_(line) {}

std::vector<CsvRecord> ReadCsv(std::string_view text) {
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
        text.remove_prefix(kByteOrderMark.size());
    }

    std::vector<CsvRecord> records;
    std::size_t i = 0;
    std::size_t line = 1;
    const std::size_t n = text.size();
    const auto atLineEnd = [&](std::size_t at) {
        return at < n &&
               (text[at] == '\n' || (text[at] == '\r' && at + 1 < n && text[at + 1] == '\n'));
    };
    const auto skipLineEnd = [&] {
        i += text[i] == '\r' ? 2 : 1;
        ++line;
    };

    while (i < n) {
        if (atLineEnd(i)) {  // an empty line
            skipLineEnd();
            continue;
        }
        CsvRecord record{line, {}};
        for (;;) {
            std::string field;
            if (i < n && text[i] == '"') {
                const std::size_t startLine = line;
                ++i;
                for (;;) {
                    if (i >= n) throw CsvError(startLine, "a quoted field is not closed");
                    const char c = text[i];
                    if (c == '"') {
                        if (i + 1 < n && text[i + 1] == '"') {
                            field += '"';
                            i += 2;
                            continue;
                        }
                        ++i;
                        break;
                    }
                    if (c == '\n') ++line;
                    field += c;
                    ++i;
                }
                if (i < n && text[i] != ',' && !atLineEnd(i)) {
                    throw CsvError(line, "unexpected text after a closing quote");
                }
            } else {
                const std::size_t begin = i;
                while (i < n && text[i] != ',' && !atLineEnd(i)) {
                    if (text[i] == '"') throw CsvError(line, "a quote inside an unquoted field");
                    ++i;
                }
                field.assign(text.substr(begin, i - begin));
            }
            record.fields.push_back(std::move(field));
            if (i < n && text[i] == ',') {
                ++i;
                continue;
            }
            break;
        }
        records.push_back(std::move(record));
        if (i < n) skipLineEnd();
    }
    return records;
}

void AppendCsvField(std::string& out, std::string_view field) {
    if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
        out += field;
        return;
    }
    out += '"';
    for (const char c : field) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
}

}  // namespace linkcalc::cli
