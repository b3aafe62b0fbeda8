#pragma once

#include "windows/control_row.h"

namespace linkcalc::windows {

// Fonts and colours that several windows share.
inline constexpr RowFont kWindowFont{Face::Verdana, 8.25, true, false};
inline constexpr Colour kFormGrey = Rgb(224, 224, 224);
inline constexpr Colour kRed = Rgb(255, 0, 0);

}  // namespace linkcalc::windows
