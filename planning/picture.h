#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "planning/clearance.h"

namespace linkcalc::planning {

enum class PictureFormat : std::uint8_t { Svg, Png, Pdf };

// The format a file name asks for by its extension (.svg, .png, .pdf in any case).
std::optional<PictureFormat> PictureFormatOf(std::string_view path);

// A picture that cannot be written; the message names the file and the system's reason.
class PictureError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// One line of the legend: a heading when the value is empty.
struct LegendLine {
    std::string label;
    std::string value;
};

// Everything the picture shows, worked out before it is drawn: the drawing computes no figure
// and writes no text of its own but its tick labels and the key.
struct ProfileDrawing {
    Clearance clearance;
    double pathLength_m = 0;
    PathEnd end1, end2;
    // The run's units: distances along the path and heights.
    std::string distanceUnit;  // "km", "mi"
    double metresPerDistanceUnit = 1000;
    std::string heightUnit;  // "m", "ft"
    double metresPerHeightUnit = 1;
    std::string title;
    std::string site1Label, site2Label;  // beside each mast
    std::string worstLabel;              // beside the worst point
    std::string bulgeLabel;              // on the earth bulge
    std::vector<LegendLine> legend;
};

struct PictureWriter {
    static constexpr const char* kInterfaceName = "picture/2";
    virtual ~PictureWriter() = default;
    // Draws the picture in the format given onto `fd`, which stays open; the reason it could
    // not, empty otherwise.
    virtual std::string Write(int fd, PictureFormat format,
                              const ProfileDrawing& drawing) const = 0;
};

// Through the picture module, to an OutputFile (output_file.h): whole or not at all. Throws
// std::invalid_argument for a path of another extension, ModuleError when the module cannot be
// loaded, PictureError when the file cannot be written.
void WriteProfilePicture(const std::string& path, const ProfileDrawing& drawing);

}  // namespace linkcalc::planning
