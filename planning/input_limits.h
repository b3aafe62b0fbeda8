#pragma once

#include <cstddef>

// How much of an input the tool takes: far more than any real path needs, and little enough
// that no input, not even an endless one, can fill the memory.
namespace linkcalc::planning {

// A line of a terrain and a field of a batch.
inline constexpr std::size_t kMaxLineBytes = std::size_t{1} << 20;  // 1 MiB
// A terrain a metre apart over the longest path would still have fewer than 21 million rows;
// this is one every 20 m over it.
inline constexpr std::size_t kMaxTerrainRows = 1000000;

}  // namespace linkcalc::planning
