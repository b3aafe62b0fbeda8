#include "planning/profile.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace linkcalc::planning {

std::size_t SampleCount(double pathLength_m) {
    if (!(pathLength_m >= 0 && pathLength_m <= kLongestPath_m)) {
        throw std::invalid_argument("no path on the earth to sample");
    }
    const double gaps = std::ceil(pathLength_m / kSampleSpacing_m);
    return std::max(kMinimumSamples, static_cast<std::size_t>(gaps) + 1);
}

std::vector<ProfileSample> BareEarthProfile(double pathLength_m) {
    const std::size_t count = SampleCount(pathLength_m);
    std::vector<ProfileSample> samples(count);
    for (std::size_t i = 0; i < count; ++i) {
        samples[i].distance_m =
            pathLength_m * static_cast<double>(i) / static_cast<double>(count - 1);
    }
    return samples;
}

std::vector<ProfileSample> ProfileFromRows(const std::vector<ProfileSample>& rows,
                                           double pathLength_m) {
    if (rows.size() < 2) throw std::invalid_argument("a terrain needs two rows at least");
    const double first = rows.front().distance_m;
    const double scale = pathLength_m / (rows.back().distance_m - first);
    const auto stretched = [&](std::size_t i) {
        ProfileSample row = rows[i];
        row.distance_m = i + 1 == rows.size() ? pathLength_m : (row.distance_m - first) * scale;
        return row;
    };

    // The samples and the rows, merged in one pass as they come, in increasing distance.
    const std::size_t count = SampleCount(pathLength_m);
    std::vector<ProfileSample> merged;
    merged.reserve(count + rows.size());
    // A row on a sample's distance replaces it: the row is what was measured there.
    const auto add = [&merged](const ProfileSample& sample) {
        if (!merged.empty() && merged.back().distance_m == sample.distance_m) {
            merged.back() = sample;
        } else {
            merged.push_back(sample);
        }
    };
    std::size_t next = 1;  // the first row beyond the sample
    std::size_t unmerged = 0;
    for (std::size_t i = 0; i < count; ++i) {
        ProfileSample sample;
        sample.distance_m = pathLength_m * static_cast<double>(i) / static_cast<double>(count - 1);
        while (next + 1 < rows.size() && stretched(next).distance_m < sample.distance_m) ++next;
        const ProfileSample a = stretched(next - 1);
        const ProfileSample b = stretched(next);
        const double span = b.distance_m - a.distance_m;
        const double along =
            span > 0 ? std::clamp((sample.distance_m - a.distance_m) / span, 0.0, 1.0) : 0.0;
        sample.elevation_m = a.elevation_m + (b.elevation_m - a.elevation_m) * along;
        sample.obstruction_m = a.obstruction_m + (b.obstruction_m - a.obstruction_m) * along;
        for (; unmerged < rows.size(); ++unmerged) {
            const ProfileSample row = stretched(unmerged);
            if (!(row.distance_m < sample.distance_m)) break;
            add(row);
        }
        add(sample);
    }
    for (; unmerged < rows.size(); ++unmerged) add(stretched(unmerged));
    return merged;
}

}  // namespace linkcalc::planning
