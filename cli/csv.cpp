#include "cli/csv.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace linkcalc::cli {
namespace {

constexpr std::size_t kChunk = 64 * 1024;  // bytes asked of the source at a time

}  // namespace

std::string_view DescriptionOf(CsvFault fault) {
    switch (fault) {
        case CsvFault::None:
            return "no fault";
        case CsvFault::UnclosedQuote:
            return "a quoted field is not closed";
        case CsvFault::QuoteOverBadLines:
            return "a quoted field is not closed on its line";
        case CsvFault::QuoteInUnquotedField:
            return "a quote inside an unquoted field";
        case CsvFault::TextAfterClosingQuote:
            return "unexpected text after a closing quote";
        case CsvFault::FieldTooLong:
            return "a field longer than 1 MiB";
        case CsvFault::NotUtf8:
            return "bytes that are not UTF-8";
        case CsvFault::NulByte:
            return "a NUL byte";
    }
    return "a fault";
}

CsvReader::CsvReader(ByteSource& source) : source_(source), buffer_(kChunk) {
    SetSeparator(',');
}

void CsvReader::SetSeparator(char separator) {
    separator_ = separator;
    stopsUnquoted_.fill(false);
    for (const char c : {separator, '\n', '\r', '"', '\0'}) {
        stopsUnquoted_[static_cast<unsigned char>(c)] = true;
    }
}

bool CsvReader::Fill(std::size_t keepFrom) {
    if (inputEnded_) return false;
    // A record is kept from its first quoted line break for a second reading only so far.
    if (anchor_ != kNowhere && end_ - anchor_ > kMaxKeptRecord) anchor_ = kNowhere;
    const std::size_t from = std::min({keepFrom, quote_, anchor_});
    if (from > 0) {
        std::memmove(buffer_.data(), buffer_.data() + from, end_ - from);
        pos_ -= from;
        end_ -= from;
        if (quote_ != kNowhere) quote_ -= from;
        if (anchor_ != kNowhere) anchor_ -= from;
    }
    // Only a quoted field (at most about twice kMaxFieldSize), a record being kept for a second
    // reading, or a header line being looked at stays across reads: a few MiB at most.
    if (end_ == buffer_.size()) buffer_.Grow(buffer_.size() + kChunk, end_);
    const std::size_t got = source_.Read(buffer_.data() + end_, buffer_.size() - end_);
    if (got == 0) {
        inputEnded_ = true;
        return false;
    }
    end_ += got;
    return true;
}

bool CsvReader::WouldWait(int milliseconds) {
    return pos_ == end_ && !inputEnded_ && !source_.ReadableWithin(milliseconds);
}

void CsvReader::SkipByteOrderMark() {
    if (markChecked_) return;
    markChecked_ = true;
    while (end_ - pos_ < 3 && Fill(pos_)) {
    }
    if (end_ - pos_ >= 3 && std::memcmp(buffer_.data() + pos_, "\xEF\xBB\xBF", 3) == 0) pos_ += 3;
}

bool CsvReader::SkipEmptyLines() {
    for (;;) {
        if (!Available()) return false;
        const char c = buffer_[pos_];
        if (c == '\n') {
            ++pos_;
            ++line_;
            continue;
        }
        if (c == '\r') {
            if (pos_ + 1 == end_) Fill(pos_);
            if (pos_ + 1 < end_ && buffer_[pos_ + 1] == '\n') {
                pos_ += 2;
                ++line_;
                continue;
            }
        }
        return true;
    }
}

char CsvReader::DetectSeparator() {
    SkipByteOrderMark();
    if (!SkipEmptyLines()) return ',';
    bool quoted = false;
    for (std::size_t i = pos_;; ++i) {
        if (i == end_) {
            const std::size_t looked = i - pos_;
            if (looked > kMaxFieldSize || !Fill(pos_)) return ',';
            i = pos_ + looked;
        }
        const char c = buffer_[i];
        if (c == '"') {
            quoted = !quoted;
        } else if (!quoted && (c == ',' || c == ';' || c == '\t')) {
            return c;
        } else if (!quoted && c == '\n') {
            return ',';
        }
    }
}

void CsvReader::Note(CsvRecordInfo& info, CsvFault fault, std::size_t line) {
    if (info.fault != CsvFault::None) return;
    info.fault = fault;
    info.faultLine = line;
}

void CsvReader::Append(std::string* field, const char* bytes, std::size_t count,
                       std::size_t& size) {
    if (field && size < kMaxFieldSize) field->append(bytes, std::min(count, kMaxFieldSize - size));
    size += count;
}

std::optional<CsvReader::FieldEnd> CsvReader::TakeFieldEnd(char c) {
    if (c == separator_) {
        ++pos_;
        return FieldEnd::Separator;
    }
    if (c == '\n') {
        ++pos_;
        ++line_;
        return FieldEnd::LineEnd;
    }
    if (c == '\r') {
        if (pos_ + 1 == end_) Fill(pos_);
        if (pos_ + 1 < end_ && buffer_[pos_ + 1] == '\n') {
            pos_ += 2;
            ++line_;
            return FieldEnd::LineEnd;
        }
    }
    return std::nullopt;
}

CsvReader::FieldEnd CsvReader::ReadUnquoted(std::string* field, std::size_t& size,
                                            CsvRecordInfo& info) {
    for (;;) {
        const std::size_t run = pos_;
        while (pos_ < end_ && !stopsUnquoted_[static_cast<unsigned char>(buffer_[pos_])]) ++pos_;
        Append(field, buffer_.data() + run, pos_ - run, size);
        if (size > kMaxFieldSize) Note(info, CsvFault::FieldTooLong, line_);
        if (pos_ == end_) {
            if (!Fill(pos_)) return FieldEnd::InputEnd;
            continue;
        }
        const char c = buffer_[pos_];
        if (const auto fieldEnd = TakeFieldEnd(c)) return *fieldEnd;
        if (c == '"') {
            Note(info, CsvFault::QuoteInUnquotedField, line_);
        } else if (c != '\r') {
            Note(info, CsvFault::NulByte, line_);
        }
        Append(field, buffer_.data() + pos_, 1, size);  // a lone CR, a stray quote, a NUL: data
        ++pos_;
    }
}

CsvReader::FieldEnd CsvReader::ReadQuoted(std::string* field, std::size_t fieldBegin,
                                          CsvRecordInfo& info) {
    // Kept from the opening quote on, to go back there if the field never closes.
    quote_ = pos_;
    const std::size_t quoteLine = line_;
    const CsvRecordInfo before = info;
    const auto giveUp = [&](CsvFault fault) {
        info = before;
        Note(info, fault, quoteLine);
        if (field) field->resize(fieldBegin);
        line_ = quoteLine;
        pos_ = quote_ + 1;
        quote_ = kNowhere;
        return SkipRestOfLine();
    };

    ++pos_;
    std::size_t size = 0;
    for (;;) {
        const std::size_t run = pos_;
        while (pos_ < end_ && buffer_[pos_] != '"' && buffer_[pos_] != '\n' &&
               buffer_[pos_] != '\0') {
            ++pos_;
        }
        Append(field, buffer_.data() + run, pos_ - run, size);
        if (size > kMaxFieldSize) return giveUp(CsvFault::FieldTooLong);
        if (pos_ == end_) {
            if (!Fill(pos_)) return giveUp(CsvFault::UnclosedQuote);
            continue;
        }
        const char c = buffer_[pos_];
        if (c != '"') {
            if (c == '\n') {
                ++line_;
            } else {
                Note(info, CsvFault::NulByte, line_);
            }
            Append(field, buffer_.data() + pos_, 1, size);
            ++pos_;
            continue;
        }
        if (pos_ + 1 == end_) Fill(pos_);
        if (pos_ + 1 < end_ && buffer_[pos_ + 1] == '"') {  // a doubled quote
            Append(field, buffer_.data() + pos_, 1, size);
            pos_ += 2;
            continue;
        }
        ++pos_;  // the closing quote
        break;
    }
    if (expected_ != 0 && anchor_ == kNowhere && line_ > quoteLine) {
        anchor_ = quote_;
        anchorLine_ = quoteLine;
        anchorBytes_ = fieldBegin;
        beforeAnchor_ = before;
    }
    quote_ = kNowhere;

    if (!Available()) return FieldEnd::InputEnd;
    if (const auto fieldEnd = TakeFieldEnd(buffer_[pos_])) return *fieldEnd;
    Note(info, CsvFault::TextAfterClosingQuote, line_);
    return ReadUnquoted(field, size, info);  // the rest of the field, as data
}

CsvReader::FieldEnd CsvReader::SkipRestOfLine() {
    for (;;) {
        const void* found = std::memchr(buffer_.data() + pos_, '\n', end_ - pos_);
        if (found) {
            pos_ = static_cast<std::size_t>(static_cast<const char*>(found) - buffer_.data()) + 1;
            ++line_;
            return FieldEnd::LineEnd;
        }
        pos_ = end_;
        if (!Fill(pos_)) return FieldEnd::InputEnd;
    }
}

bool CsvReader::Next(CsvFields& fields, std::size_t keep, CsvRecordInfo& info) {
    SkipByteOrderMark();
    info = CsvRecordInfo{};
    if (!SkipEmptyLines()) return false;
    info.line = line_;

    for (;;) {
        const bool kept = info.fields < keep;
        std::string* field = kept ? &fields.bytes : nullptr;
        const std::size_t begin = fields.bytes.size();
        const std::size_t fieldLine = line_;
        FieldEnd end = FieldEnd::InputEnd;
        if (Available() && buffer_[pos_] == '"') {
            end = ReadQuoted(field, begin, info);
        } else {
            std::size_t size = 0;
            end = ReadUnquoted(field, size, info);
        }
        if (kept) {
            fields.ends.push_back(fields.bytes.size());
            if (!IsUtf8(std::string_view(fields.bytes).substr(begin))) {
                Note(info, CsvFault::NotUtf8, fieldLine);
            }
        }
        ++info.fields;
        if (end != FieldEnd::Separator) break;
    }

    // A bad record with a quoted line break: read again as ending at that quote's line.
    if (anchor_ != kNowhere && (info.fault != CsvFault::None || info.fields != expected_)) {
        const std::size_t keptBefore = std::min(beforeAnchor_.fields, keep);
        fields.bytes.resize(anchorBytes_);
        fields.ends.resize(fields.ends.size() - (std::min(info.fields, keep) - keptBefore));
        if (beforeAnchor_.fields < keep) fields.ends.push_back(anchorBytes_);
        info = beforeAnchor_;
        ++info.fields;
        Note(info, CsvFault::QuoteOverBadLines, anchorLine_);
        line_ = anchorLine_;
        pos_ = anchor_ + 1;
        anchor_ = kNowhere;
        SkipRestOfLine();
    }
    anchor_ = kNowhere;
    return true;
}

CsvError::CsvError(std::size_t line, const std::string& what)
    : std::runtime_error("line " + std::to_string(line) + ": " + what), line_(line) {}

std::vector<CsvRecord> ReadCsv(std::string_view text) {
    TextSource source(text);
    CsvReader reader(source);
    std::vector<CsvRecord> records;
    CsvFields fields;
    CsvRecordInfo info;
    while (reader.Next(fields, std::numeric_limits<std::size_t>::max(), info)) {
        if (info.fault != CsvFault::None) {
            throw CsvError(info.faultLine, std::string(DescriptionOf(info.fault)));
        }
        CsvRecord record{info.line, {}};
        for (std::size_t i = 0; i < fields.size(); ++i) record.fields.emplace_back(fields[i]);
        records.push_back(std::move(record));
        fields.clear();
    }
    return records;
}

void AppendCsvField(std::string& out, std::string_view field, char separator) {
    bool plain = true;
    for (const char c : field) {
        if (c == separator || c == '"' || c == '\r' || c == '\n') {
            plain = false;
            break;
        }
    }
    if (plain) {
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

bool IsUtf8(std::string_view text) {
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const unsigned char* const end = p + text.size();
    while (p != end) {
        if (*p < 0x80) {
            ++p;
            continue;
        }
        std::size_t length = 0;
        std::uint32_t lowest = 0;
        std::uint32_t code = 0;
        if ((*p & 0xE0U) == 0xC0U) {
            length = 2;
            lowest = 0x80;
            code = *p & 0x1FU;
        } else if ((*p & 0xF0U) == 0xE0U) {
            length = 3;
            lowest = 0x800;
            code = *p & 0x0FU;
        } else if ((*p & 0xF8U) == 0xF0U) {
            length = 4;
            lowest = 0x10000;
            code = *p & 0x07U;
        } else {
            return false;
        }
        if (static_cast<std::size_t>(end - p) < length) return false;
        for (std::size_t i = 1; i < length; ++i) {
            if ((p[i] & 0xC0U) != 0x80U) return false;
            code = (code << 6) | (p[i] & 0x3FU);
        }
        if (code < lowest || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
        p += length;
    }
    return true;
}

}  // namespace linkcalc::cli
