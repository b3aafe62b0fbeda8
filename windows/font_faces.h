#pragma once

#include <QFont>
#include <QString>
#include <string_view>

#include "windows/control_row.h"

namespace linkcalc::windows {

// Verdana and Arial are not installed on a Linux desktop: DejaVu Sans, set a little wider as
// Verdana is, stands for Verdana, and the metric-compatible Liberation Sans for Arial and for
// MS Sans Serif, a face of the same kind.
inline constexpr const char* kVerdanaStandIn = "DejaVu Sans";
inline constexpr const char* kVerdanaNarrowStandIn = "DejaVu Sans Condensed";
inline constexpr const char* kArialStandIn = "Liberation Sans";
inline constexpr const char* kMsSansSerifStandIn = "Liberation Sans";
inline constexpr double kVerdanaLetterSpacing = 104;  // percent

// Point sizes are given at 96 dots per inch; 8.25 pt is 11 pixels.
int PixelSizeOf(double points);

// The font of a table row; Face::Window takes the window's font.
QFont FontOf(const RowFont& row, const QFont& windowFont);

// A face as fontconfig names it, and the Debian package that installs it.
struct StandInFace {
    std::string_view family;
    std::string_view style;
    std::string_view package;
};

// The installed face that stands in for a row's face, weight and slant; the row's face is
// never Face::Window.
StandInFace StandInOf(const RowFont& row);

// The family and style of the face a font is drawn with, as "DejaVu Sans (Bold)".
QString DrawnFaceOf(const QFont& font);
QString NameOf(const StandInFace& face);

}  // namespace linkcalc::windows
