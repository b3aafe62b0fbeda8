// The batch pipeline called directly: what it writes whatever the reads, what happens to the
// rows around a failed read or write, what it tells an observer, and the progress texts.
#include <algorithm>
#include <atomic>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "cli/batch.h"
#include "cli/command_line.h"
#include "cli/io.h"
#include "cli/progress.h"

namespace linkcalc::cli {
namespace {

class TextSink final : public ByteSink {
  public:
    void Write(std::string_view bytes) override { text += bytes; }
    std::string text;
};

// Hands out a text in reads of the given sizes; every other read finds nothing waiting, as a
// pipe between two programs may.
class PipeLikeSource final : public ByteSource {
  public:
    PipeLikeSource(std::string_view text, std::vector<std::size_t> sizes)
        : text_(text), sizes_(std::move(sizes)) {}
    std::size_t Read(char* buffer, std::size_t size) override {
        const std::size_t count = std::min({size, sizes_[reads_++ % sizes_.size()], text_.size()});
        std::copy_n(text_.data(), count, buffer);
        text_.remove_prefix(count);
        return count;
    }
    bool ReadableWithin(int) override { return ++polls_ % 2 == 0; }

  private:
    std::string_view text_;
    std::vector<std::size_t> sizes_;
    std::size_t reads_ = 0;
    std::size_t polls_ = 0;
};

// Rows, then a failed read.
class FailingSource final : public ByteSource {
  public:
    explicit FailingSource(std::string_view text) : text_(text) {}
    std::size_t Read(char* buffer, std::size_t size) override {
        if (text_.empty()) throw IoError(IoError::Kind::ReadOrWrite, "cannot read \"x\": EIO");
        const std::size_t count = std::min(size, text_.size());
        std::copy_n(text_.data(), count, buffer);
        text_.remove_prefix(count);
        return count;
    }

  private:
    std::string_view text_;
};

// A header, then rows for ever.
class EndlessSource final : public ByteSource {
  public:
    std::size_t Read(char* buffer, std::size_t size) override {
        ++reads;
        const std::string_view header = "gain1,gain2,distance,unit,band,speed\n";
        const std::string_view row = "23,23,10,Miles,5800,54\n";
        std::size_t count = 0;
        if (!headerGiven_) {
            std::copy(header.begin(), header.end(), buffer);
            count = header.size();
            headerGiven_ = true;
        }
        while (count + row.size() <= size) {
            std::copy(row.begin(), row.end(), buffer + count);
            count += row.size();
        }
        return count;
    }
    std::atomic<std::size_t> reads = 0;

  private:
    bool headerGiven_ = false;
};

class FailingSink final : public ByteSink {
  public:
    explicit FailingSink(int goodWrites) : goodWrites_(goodWrites) {}
    void Write(std::string_view bytes) override {
        if (goodWrites_-- <= 0) throw IoError(IoError::Kind::ReadOrWrite, "cannot write: ENOSPC");
        text += bytes;
    }
    std::string text;

  private:
    int goodWrites_;
};

std::string Batch(int rows) {
    std::string csv = "packet;distance;gain1;gain2;unit;band;speed\n";
    for (int i = 0; i < rows; ++i) {
        csv += std::to_string(i);
        csv += ';';
        if (i % 3 != 0) csv += std::to_string(10 + i % 7);  // or no distance: a notice
        csv += ";23;23;";
        csv += i % 5 == 0 ? "\"K\nm\"" : "Km";
        csv += ";5800;54\n";
        if (i % 997 == 0) csv += "bad;row\n";
    }
    return csv;
}

TEST(BatchPipeline, WritesTheSameWhateverTheReads) {
    const std::string csv = Batch(9000);
    TextSource whole(csv);
    TextSink expected;
    const BatchCounts counts = RunBatch(whole, expected);
    EXPECT_EQ(counts.Rows(), 9000U + 10U);
    EXPECT_EQ(counts.invalid, 10U);
    for (const std::vector<std::size_t>& sizes :
         std::vector<std::vector<std::size_t>>{{1, 3, 7}, {4096}, {100000, 13}}) {
        SCOPED_TRACE(sizes.front());
        PipeLikeSource source(csv, sizes);
        TextSink sink;
        RunBatch(source, sink);
        EXPECT_TRUE(sink.text == expected.text);
    }
}

TEST(BatchPipeline, RowsReadBeforeAFailedReadAreWrittenAndTheErrorFollows) {
    const std::string csv = Batch(7000);
    FailingSource source(csv);
    TextSink sink;
    EXPECT_THROW(RunBatch(source, sink), IoError);
    TextSource whole(csv);
    TextSink expected;
    RunBatch(whole, expected);
    EXPECT_TRUE(sink.text == expected.text);
}

TEST(BatchPipeline, FailedWriteStopsTheReading) {
    EndlessSource source;
    FailingSink sink(3);
    EXPECT_THROW(RunBatch(source, sink), IoError);
    EXPECT_LT(source.reads.load(), 1000U);
    EXPECT_EQ(sink.text.rfind("gain1,gain2,", 0), 0U);
}

TEST(BatchPipeline, HeaderThatCannotBeReadWritesNothing) {
    for (const char* csv : {"", "gain1,freq\n23,5\n", "gain1,gain1\n"}) {
        SCOPED_TRACE(csv);
        TextSource source(csv);
        TextSink sink;
        EXPECT_THROW(RunBatch(source, sink), UsageError);
        EXPECT_EQ(sink.text, "");
    }
}

class CountingObserver final : public BatchObserver {
  public:
    void Progress(const BatchCounts& counts) override {
        if (counts.Rows() < last.Rows()) ++wentBack;
        last = counts;
        ++calls;
    }
    BatchCounts last;
    int calls = 0;
    int wentBack = 0;
};

TEST(BatchPipeline, ObserverSeesTheCountsGrow) {
    const std::string csv = Batch(20000);
    TextSource source(csv);
    TextSink sink;
    CountingObserver observer;
    BatchOptions options;
    options.observer = &observer;
    const BatchCounts counts = RunBatch(source, sink, options);
    EXPECT_GE(observer.calls, 1);
    EXPECT_EQ(observer.wentBack, 0);
    EXPECT_LE(observer.last.Rows(), counts.Rows());
    EXPECT_EQ(counts.completed + counts.stopped + counts.failed, 20000U);
}

TEST(BatchPipeline, GivenSeparatorOverridesTheHeaderLine) {
    TextSource source("gain1;unit\n23;Miles\n");
    TextSink sink;
    BatchOptions options;
    options.separator = ',';
    EXPECT_THROW(RunBatch(source, sink, options), UsageError);  // one column "gain1;unit"
}

TEST(ProgressTexts, NameRowsRateAndEveryOutcome) {
    BatchCounts counts;
    counts.completed = 96012;
    counts.stopped = 3511;
    counts.failed = 430;
    counts.invalid = 47;
    EXPECT_EQ(SummaryLine(counts),
              "100000 rows: 96012 completed, 3511 stopped, 430 failed, 47 invalid");
    EXPECT_EQ(ProgressLine(counts, 2.0),
              "100000 rows, 50000 rows/s: 96012 completed, 3511 stopped, 430 failed, 47 invalid");
    EXPECT_EQ(SummaryLine(BatchCounts{1, 0, 0, 0}),
              "1 row: 1 completed, 0 stopped, 0 failed, 0 invalid");
    EXPECT_EQ(SummaryLine(BatchCounts{}), "0 rows: 0 completed, 0 stopped, 0 failed, 0 invalid");
}

}  // namespace
}  // namespace linkcalc::cli
