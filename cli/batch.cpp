#include "cli/batch.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "cli/batch_row.h"
#include "cli/command_line.h"
#include "cli/csv.h"
#include "cli/site_options.h"
#include "linkcalc/memory_sheet.h"

namespace linkcalc::cli {
namespace {

constexpr std::size_t kBlockRows = 2048;
constexpr std::size_t kBlockBytes = 512 * 1024;         // field bytes that end a block early
constexpr std::size_t kBytesInFlight = 4 << 20;         // field bytes read but not yet written
constexpr std::size_t kKeptCapacity = 4 * kBlockBytes;  // a block keeps no more between uses
constexpr auto kProgressInterval = std::chrono::milliseconds(250);
constexpr int kPipeWaitMilliseconds = 20;  // before rows read from a pipe go out unfinished

struct Row {
    std::size_t firstField;
    CsvRecordInfo info;
};

struct Block {
    std::uint64_t sequence = 0;
    CsvFields fields;
    std::vector<Row> rows;
    std::string out;
    std::vector<planning::MapLine> lines;
    BatchCounts counts;

    std::size_t Weight() const { return fields.bytes.size() + rows.size() * sizeof(Row); }
    void Clear() {
        fields.clear();
        rows.clear();
        out.clear();
        lines.clear();
        counts = {};
        // An unusually large block gives its memory back.
        if (fields.bytes.capacity() > kKeptCapacity) std::string().swap(fields.bytes);
        if (out.capacity() > 2 * kKeptCapacity) std::string().swap(out);
    }
};

void Run(Block& block, const BatchLayout& layout) {
    // Room for the inputs written back (at worst each quote doubled) and the run fields, so
    // that a block of long rows is not copied as it grows.
    block.out.reserve(2 * block.fields.bytes.size() + block.rows.size() * 512);
    MemorySheet sheet;
    for (const Row& row : block.rows) {
        const InputRow input{block.fields, row.firstField, row.info};
        switch (AppendOutputRecord(block.out, layout, input, sheet, &block.lines)) {
            case RowOutcome::Completed:
                ++block.counts.completed;
                break;
            case RowOutcome::Stopped:
                ++block.counts.stopped;
                break;
            case RowOutcome::Failed:
                ++block.counts.failed;
                break;
            case RowOutcome::Invalid:
                ++block.counts.invalid;
                break;
        }
    }
}

// Blocks go from the reader to the workers, from the workers to the writer in input order,
// and back to the reader; one lock guards the queues.
class Pipeline {
  public:
    Pipeline(CsvReader& reader, ByteSink& output, const BatchLayout& layout,
             BatchObserver* observer, planning::MapWriter* map)
        : reader_(reader), output_(output), layout_(layout), observer_(observer), map_(map) {
        const std::size_t workers = std::max(1U, std::thread::hardware_concurrency());
        for (std::size_t i = 0; i < 2 * workers + 2; ++i) {
            pool_.push_back(std::make_unique<Block>());
            free_.push_back(pool_.back().get());
        }
        workers_ = workers;
    }

    BatchCounts Run() {
        // A batch that fits one block runs on this thread alone.
        Block* first = TakeFree();
        bool more = false;
        std::exception_ptr failedRead;
        try {
            more = Fill(*first);
        } catch (...) {
            failedRead = std::current_exception();
        }
        if (!more) {
            linkcalc::cli::Run(*first, layout_);
            output_.Write(first->out);
            Map(*first);
            Add(first->counts);
            if (failedRead) std::rethrow_exception(failedRead);
            return counts_;
        }
        Submit(first);
        {
            std::vector<std::jthread> threads;
            for (std::size_t i = 0; i < workers_; ++i) threads.emplace_back([this] { Work(); });
            threads.emplace_back([this] { Write(); });
            try {
                Read();
            } catch (...) {
                // The rows read before a failed read are still run and written.
                readError_ = std::current_exception();
            }
            Finish();
        }
        if (error_) std::rethrow_exception(error_);
        if (readError_) std::rethrow_exception(readError_);
        return counts_;
    }

  private:
    void Fail(std::exception_ptr error) {
        const std::lock_guard lock(mutex_);
        if (!error_) error_ = error;
        stopped_ = true;
        changed_.notify_all();
    }

    void Finish() {
        const std::lock_guard lock(mutex_);
        readingDone_ = true;
        changed_.notify_all();
    }

    Block* TakeFree() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] {
            return stopped_ ||
                   (!free_.empty() && (inFlight_ < kBytesInFlight || written_ == submitted_));
        });
        if (stopped_) return nullptr;
        Block* block = free_.front();
        free_.pop_front();
        return block;
    }

    void Submit(Block* block) {
        const std::lock_guard lock(mutex_);
        block->sequence = submitted_++;
        inFlight_ += block->Weight();
        work_.push_back(block);
        changed_.notify_all();
    }

    // Reads rows into a block until it is full, or until a pipe has nothing more for now;
    // false at the end of the input.
    bool Fill(Block& block) {
        const std::size_t keep = layout_.inputs.size();
        CsvRecordInfo info;
        while (block.rows.size() < kBlockRows && block.fields.bytes.size() < kBlockBytes) {
            if (!block.rows.empty() && reader_.WouldWait(kPipeWaitMilliseconds)) return true;
            const std::size_t first = block.fields.size();
            if (!reader_.Next(block.fields, keep, info)) return false;
            block.rows.push_back(Row{first, info});
        }
        return true;
    }

    void Read() {
        for (;;) {
            Block* block = TakeFree();
            if (!block) return;
            bool more = true;
            try {
                more = Fill(*block);
            } catch (...) {
                SubmitUnlessEmpty(block);
                throw;
            }
            SubmitUnlessEmpty(block);
            if (!more) return;
        }
    }

    void SubmitUnlessEmpty(Block* block) {
        if (block->rows.empty()) {
            ReturnUnused(block);
        } else {
            Submit(block);
        }
    }

    void Map(const Block& block) {
        if (map_ == nullptr) return;
        for (const planning::MapLine& line : block.lines) map_->Add(line);
    }

    void Add(const BatchCounts& counts) {
        counts_.completed += counts.completed;
        counts_.stopped += counts.stopped;
        counts_.failed += counts.failed;
        counts_.invalid += counts.invalid;
    }

    void ReturnUnused(Block* block) {
        block->Clear();
        const std::lock_guard lock(mutex_);
        free_.push_back(block);
        changed_.notify_all();
    }

    // A thread's failure, whatever it is, stops the batch and is rethrown by Run.
    void Work() {
        try {
            RunBlocks();
        } catch (...) {
            Fail(std::current_exception());
        }
    }

    void Write() {
        try {
            WriteBlocks();
        } catch (...) {
            Fail(std::current_exception());
        }
    }

    void RunBlocks() {
        for (;;) {
            Block* block = nullptr;
            {
                std::unique_lock lock(mutex_);
                changed_.wait(lock, [&] { return stopped_ || !work_.empty() || readingDone_; });
                if (stopped_ || work_.empty()) return;
                block = work_.front();
                work_.pop_front();
            }
            linkcalc::cli::Run(*block, layout_);
            const std::lock_guard lock(mutex_);
            done_.push_back(block);
            changed_.notify_all();
        }
    }

    void WriteBlocks() {
        auto nextReport = std::chrono::steady_clock::now();
        for (;;) {
            Block* block = nullptr;
            {
                std::unique_lock lock(mutex_);
                const auto ready = [&] {
                    return std::find_if(done_.begin(), done_.end(),
                                        [&](const Block* b) { return b->sequence == written_; });
                };
                changed_.wait_for(lock, kProgressInterval, [&] {
                    return stopped_ || ready() != done_.end() ||
                           (readingDone_ && written_ == submitted_);
                });
                if (stopped_) return;
                const auto found = ready();
                if (found != done_.end()) {
                    block = *found;
                    done_.erase(found);
                } else if (readingDone_ && written_ == submitted_) {
                    return;
                }
            }
            if (block) {
                output_.Write(block->out);
                Map(*block);
                Add(block->counts);
                const std::size_t weight = block->Weight();
                block->Clear();
                const std::lock_guard lock(mutex_);
                inFlight_ -= weight;
                ++written_;
                free_.push_back(block);
                changed_.notify_all();
            }
            const auto now = std::chrono::steady_clock::now();
            if (observer_ && now >= nextReport) {
                observer_->Progress(counts_);
                nextReport = now + kProgressInterval;
            }
        }
    }

    CsvReader& reader_;
    ByteSink& output_;
    const BatchLayout& layout_;
    BatchObserver* observer_;
    planning::MapWriter* map_;  // written by the writer, in input order
    std::size_t workers_ = 1;

    std::vector<std::unique_ptr<Block>> pool_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Block*> free_;
    std::deque<Block*> work_;
    std::vector<Block*> done_;
    std::uint64_t submitted_ = 0;
    std::uint64_t written_ = 0;
    std::size_t inFlight_ = 0;
    bool readingDone_ = false;
    bool stopped_ = false;
    std::exception_ptr error_;  // of a worker or the writer: stops everything
    std::exception_ptr readError_;
    BatchCounts counts_;  // the writer's
};

}  // namespace

BatchCounts RunBatch(ByteSource& input, ByteSink& output, const BatchOptions& options) {
    CsvReader reader(input);
    const char separator = options.separator ? *options.separator : reader.DetectSeparator();
    reader.SetSeparator(separator);

    CsvFields header;
    CsvRecordInfo info;
    if (!reader.Next(header, kMaxBatchColumns + 1, info)) {
        throw UsageError("line 1: the CSV has no header line");
    }
    BatchLayout layout = LayoutOf(header, info, separator);
    if (options.map && !layout.sites) {
        throw UsageError(
            "--kml maps sites: the header names none (site1 and site2, or lat1, lon1, lat2 and "
            "lon2)");
    }
    if (layout.sites) layout.geodesy = &GeodesyModule();
    layout.mapped = options.map != nullptr;
    reader.ExpectFields(layout.inputs.size());
    output.Write(OutputHeader(layout));

    Pipeline pipeline(reader, output, layout, options.observer, options.map);
    const BatchCounts counts = pipeline.Run();
    if (options.map) options.map->Finish();
    return counts;
}

}  // namespace linkcalc::cli
