#pragma once

#include <string_view>

#include "windows/control_row.h"
#include "windows/window_looks.h"

namespace linkcalc::windows {

// The help windows' step numbers: red digits over the pictures of the main window.
inline constexpr RowFont kMarkerFont{Face::Verdana, 11.25, true, false};

// One step-number marker: a label in a picture box, on the window's grey unless it sits on a
// button, whose face colour it then takes.
constexpr ControlRow Marker(std::string_view name, std::string_view picture, std::string_view digit,
                            int left, int top, int width, int height, int tabIndex,
                            Colour back = kFormGrey) {
    return {.name = name,
            .kind = Kind::Label,
            .parent = picture,
            .text = digit,
            .left = left,
            .top = top,
            .width = width,
            .height = height,
            .font = kMarkerFont,
            .back = back,
            .fore = kRed,
            .align = Align::Centre,
            .tabIndex = tabIndex};
}

}  // namespace linkcalc::windows
