#pragma once

#include <chrono>
#include <string>

#include "cli/batch.h"

namespace linkcalc::cli {

// "12000 rows, 95000 rows/s: 11500 completed, 400 stopped, 80 failed, 20 invalid"
std::string ProgressLine(const BatchCounts& counts, double seconds);

// "100000 rows: 96012 completed, 3511 stopped, 430 failed, 47 invalid"
std::string SummaryLine(const BatchCounts& counts);

// Shows a batch on standard error, a terminal: once it has run for a second, a progress line
// redrawn in place; at the end the summary line in its place.
class TerminalProgress final : public BatchObserver {
  public:
    TerminalProgress();
    void Progress(const BatchCounts& counts) override;
    void Finish(const BatchCounts& counts);
    // Takes the progress line away, before an error message.
    void Clear();

  private:
    std::chrono::steady_clock::time_point start_;
    bool shown_ = false;
};

}  // namespace linkcalc::cli
