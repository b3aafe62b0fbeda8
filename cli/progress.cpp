#include "cli/progress.h"

#include <unistd.h>

#include <string_view>

namespace linkcalc::cli {
namespace {

constexpr std::string_view kToLineStart = "\r\x1b[K";  // back to the start, line cleared

void ToStandardError(std::string_view text) {
    while (!text.empty()) {
        const ssize_t count = ::write(STDERR_FILENO, text.data(), text.size());
        if (count <= 0) return;  // nothing to be done about a failing standard error
        text.remove_prefix(static_cast<std::size_t>(count));
    }
}

std::string Outcomes(const BatchCounts& counts) {
    return std::to_string(counts.completed) + " completed, " + std::to_string(counts.stopped) +
           " stopped, " + std::to_string(counts.failed) + " failed, " +
           std::to_string(counts.invalid) + " invalid";
}

std::string RowsText(std::uint64_t rows) {
    return std::to_string(rows) + (rows == 1 ? " row" : " rows");
}

}  // namespace

std::string ProgressLine(const BatchCounts& counts, double seconds) {
    const auto rate =
        seconds > 0 ? static_cast<std::uint64_t>(static_cast<double>(counts.Rows()) / seconds) : 0;
    return RowsText(counts.Rows()) + ", " + std::to_string(rate) + " rows/s: " + Outcomes(counts);
}

std::string SummaryLine(const BatchCounts& counts) {
    return RowsText(counts.Rows()) + ": " + Outcomes(counts);
}

TerminalProgress::TerminalProgress() : start_(std::chrono::steady_clock::now()) {}

void TerminalProgress::Progress(const BatchCounts& counts) {
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start_;
    if (elapsed.count() < 1.0) return;
    ToStandardError(std::string(kToLineStart) + ProgressLine(counts, elapsed.count()));
    shown_ = true;
}

void TerminalProgress::Finish(const BatchCounts& counts) {
    Clear();
    ToStandardError(SummaryLine(counts) + "\n");
}

void TerminalProgress::Clear() {
    if (shown_) ToStandardError(kToLineStart);
    shown_ = false;
}

}  // namespace linkcalc::cli
