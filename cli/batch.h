#pragma once

#include <cstdint>
#include <optional>

#include "cli/io.h"
#include "planning/link_map.h"

namespace linkcalc::cli {

struct BatchCounts {
    std::uint64_t completed = 0;
    std::uint64_t stopped = 0;
    std::uint64_t failed = 0;
    std::uint64_t invalid = 0;

    std::uint64_t Rows() const { return completed + stopped + failed + invalid; }
};

// Told how a batch goes, from the thread that writes it.
class BatchObserver {
  public:
    virtual ~BatchObserver() = default;
    // After each block of rows written, and now and then while waiting for one.
    virtual void Progress(const BatchCounts& counts) = 0;
};

struct BatchOptions {
    std::optional<char> separator;  // detected from the header line when not given
    BatchObserver* observer = nullptr;
    // Given, every row run from its sites gets a line on the map, in input order, and the map
    // is finished once the whole batch is written. A batch without site columns is a
    // UsageError.
    planning::MapWriter* map = nullptr;
};

// Runs one link per CSV row, each on a fresh sheet, and writes a CSV of the input columns,
// `outcome`, `message` and every field a run writes (unit labels and results, by control
// name), with the input's separator. Reads, runs and writes in blocks: the rows of a block run
// on every core and are written in input order, in memory that does not grow with the input.
// A header that cannot be read is a UsageError before anything is written; a bad row is an
// invalid row of the output. A failed read or write throws IoError once the rows before it
// are written (or, for a write, abandoned).
BatchCounts RunBatch(ByteSource& input, ByteSink& output, const BatchOptions& options = {});

}  // namespace linkcalc::cli
