#pragma once

#include <functional>
#include <string_view>

namespace linkcalc::cli {

// Runs one link per CSV row, each on a fresh sheet, and writes a CSV of the input columns,
// `outcome`, `message` and every field a run writes (unit labels and results, by control name).
// The whole text is read before the first run, so a malformed one (UsageError) writes nothing.
void RunBatch(std::string_view csvText, const std::function<void(std::string_view)>& write);

}  // namespace linkcalc::cli
