// Any bytes as a terrain file: rows from 0 in increasing distance with heights the earth holds,
// the same whatever pieces the text comes in, or an error of one line that says why; a profile
// and a clearance over any rows it accepts, with finite figures and masts that clear what they
// say; never a crash.
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "planning/clearance.h"
#include "planning/earth_bounds.h"
#include "planning/profile.h"
#include "planning/terrain_csv.h"

namespace {

using namespace linkcalc::planning;

void Check(bool condition, const char* what) {
    FuzzCheck(condition, "terrain", what);
}

void CheckRows(const std::vector<ProfileSample>& rows) {
    Check(!rows.empty() && rows.front().distance_m == 0, "the rows do not start at 0");
    for (std::size_t i = 0; i < rows.size(); ++i) {
        Check(rows[i].elevation_m >= kLowestGround_m && rows[i].elevation_m <= kHighestGround_m &&
                  rows[i].obstruction_m >= 0 && rows[i].obstruction_m <= kHighestObstruction_m &&
                  rows[i].distance_m <= kLongestPath_m,
              "a height or a distance beyond the earth's");
        if (i > 0) Check(rows[i].distance_m > rows[i - 1].distance_m, "distances do not increase");
    }
}

void CheckClearance(const std::vector<ProfileSample>& rows) {
    const double length = rows.back().distance_m;
    // Lengths beyond a planet's make no path, and a sampled profile of them would not fit in
    // memory; the command line refuses them by the 1 % check against the run's distance.
    if (!(length > 0 && length < 1e7) || rows.size() < 2) return;
    ClearanceInput input;
    input.samples = ProfileFromRows(rows, length);
    input.pathLength_m = length;
    input.frequencyMHz = 5800;
    input.end1 = {rows.front().elevation_m, 10};
    input.end2 = {rows.back().elevation_m, 10};
    const Clearance clearance = ComputeClearance(input);
    Check(clearance.points.size() == input.samples.size(), "a sample has no point");
    Check(clearance.worst < clearance.points.size(), "the worst point is not a point");
    Check(std::isfinite(clearance.mast60_m) && std::isfinite(clearance.mast100_m),
          "a mast is not finite");
    Check(clearance.mast60_m >= 0 && clearance.mast60_m <= clearance.mast100_m + 1e-6,
          "the 60 % mast is not between 0 and the 100 % mast");
}

// The rows, or the error, of the text read in pieces of `piece` bytes.
std::string ReadInPieces(std::string_view text, std::size_t piece,
                         std::vector<ProfileSample>& rows) {
    try {
        TerrainReader reader;
        for (std::size_t at = 0; at < text.size(); at += piece) reader.Add(text.substr(at, piece));
        rows = reader.Finish();
    } catch (const TerrainError& error) {
        return error.what();
    }
    return {};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::vector<ProfileSample> rows;
    const std::string error = ReadInPieces(text, text.size() + 1, rows);
    if (!error.empty()) {
        for (const char c : error) {
            Check(static_cast<unsigned char>(c) >= 0x20 && c != 0x7F, "an error is not one line");
        }
    } else {
        CheckRows(rows);
        CheckClearance(rows);
    }
    std::vector<ProfileSample> inPieces;
    const std::size_t piece = size == 0 ? 1 : 1 + data[0] % 16;
    Check(ReadInPieces(text, piece, inPieces) == error, "pieces give another error");
    Check(inPieces.size() == rows.size(), "pieces give other rows");
    for (std::size_t i = 0; i < rows.size(); ++i) {
        Check(inPieces[i].distance_m == rows[i].distance_m &&
                  inPieces[i].elevation_m == rows[i].elevation_m &&
                  inPieces[i].obstruction_m == rows[i].obstruction_m,
              "pieces give other rows");
    }
    return 0;
}
