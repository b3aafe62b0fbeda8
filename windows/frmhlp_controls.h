#pragma once

#include <array>

#include "windows/control_row.h"
#include "windows/help_markers.h"
#include "windows/window_looks.h"

namespace linkcalc::windows {

// In the regular width of the stand-in face the one-line notes would need a second line, which
// their labels have no room for.
inline constexpr RowFont kHelpNotesFont{Face::VerdanaNarrow, 12, true, false};

inline constexpr WindowRow kFrmhlpWindow{
    .name = "Frmhlp",
    .caption = "Help",
    .clientWidth = 10560,
    .clientHeight = 10395,
    .back = Rgb(200, 208, 225),  // right of and below the frame
    .font = kHelpNotesFont,
    .boxes = TitleBoxes::MinimizeAndMaximize,
    .placement = Placement::ByDesktop};

// The main window's two result frames side by side, with the result Help button.
inline constexpr TwipsArea kResultArea{375, 4965, 10035, 9570};

// Every control of the result help, parents before their children; the step markers lie over
// the picture, each at the result its note speaks of. The names are the calculator's own, kept
// as they are.
// clang-format off
inline constexpr std::array kFrmhlpControls = std::to_array<ControlRow>({
    // Shows no text of its own.
    {.name = "Frame2", .kind = Kind::Frame, .parent = "", .text = "", .left = 0, .top = 0,
     .width = 10455, .height = 10335, .font = {Face::MsSansSerif, 8.25, false, false},
     .back = kFormGrey, .tabIndex = 0},
    {.name = "LblH1", .kind = Kind::Label, .parent = "Frame2",
     .text = "1. EIRP is the sum of the Tx power + the cable loss + Antenna gain ", .left = 120,
     .top = 240, .width = 10095, .height = 375, .tabIndex = 2},
    {.name = "LblH2", .kind = Kind::Label, .parent = "Frame2",
     .text = "2. Max Transmit powerwill be restricted by the \"Select Speed\" and cannot be "
             "exceeded to avoid bit errors.",
     .left = 120, .top = 600, .width = 9975, .height = 615, .tabIndex = 3},
    {.name = "LblH3", .kind = Kind::Label, .parent = "Frame2",
     .text = "3. The expected RSSI is the target value during antenna alignment.", .left = 120,
     .top = 1320, .width = 9135, .height = 375, .tabIndex = 4},
    {.name = "LblH4", .kind = Kind::Label, .parent = "Frame2",
     .text = "4. Maximum Noise Floor, RSSI signal has to be at least 5dB stronger than this "
             "value.",
     .left = 120, .top = 1680, .width = 9855, .height = 735, .tabIndex = 5},
    {.name = "LblH5", .kind = Kind::Label, .parent = "Frame2",
     .text = "5. C/I; this is the minimum separtion between the RSSI and the noise floor level to "
             "maintain the selected speed. ",
     .left = 120, .top = 2400, .width = 9975, .height = 615, .tabIndex = 6},
    {.name = "LblH6", .kind = Kind::Label, .parent = "Frame2",
     .text = "6. Fade Margin; total amount of signal the link can loose before having bit errors "
             "and possible signal loss.                ",
     .left = 120, .top = 3120, .width = 9975, .height = 615, .tabIndex = 7},
    {.name = "LblH7", .kind = Kind::Label, .parent = "Frame2",
     .text = "7.The Suggested antenna height is the minimum height the antenna should be at to "
             "meet the required fresnel zone.",
     .left = 120, .top = 3840, .width = 9855, .height = 615, .tabIndex = 8},
    {.name = "LblH8", .kind = Kind::Label, .parent = "Frame2",
     .text = "8. Expected Bit Rate will be the actual sustain speed at the distance entered",
     .left = 120, .top = 4560, .width = 10095, .height = 375, .tabIndex = 9},
    {.name = "Picture1", .kind = Kind::Picture, .parent = "Frame2", .text = "", .left = 360,
     .top = 5160, .width = 9735, .height = 4575, .back = kFormGrey, .tabIndex = 10,
     .snapshot = kResultArea},
    {.name = "Command1", .kind = Kind::Button, .parent = "Frame2", .text = "Exit", .left = 4560,
     .top = 9840, .width = 1575, .height = 495, .tabIndex = 1},

    // The EIRP boxes
    Marker("Lbl1H_1", "Picture1", "1", 1440, 480, 255, 375, 11),
    Marker("Lbl1H_2", "Picture1", "1", 4200, 480, 255, 375, 12, kButtonFace),
    // The maximum transmit power boxes
    Marker("Lbl2H_1", "Picture1", "2", 1440, 1320, 255, 255, 13),
    Marker("Lbl2H_2", "Picture1", "2", 4200, 1320, 255, 255, 14),
    // The expected RSSI boxes
    Marker("Lbl3H_1", "Picture1", "3", 1440, 2040, 255, 255, 15),
    Marker("Lbl3H_2", "Picture1", "3", 4200, 2040, 255, 255, 16),
    // The maximum noise floor boxes
    Marker("Lbl4H_1", "Picture1", "4", 1440, 2760, 255, 255, 17),
    Marker("Lbl4H_2", "Picture1", "4", 4200, 2760, 255, 255, 18),
    // The required C/I box
    Marker("Lbl5H_1", "Picture1", "5", 1440, 3360, 255, 255, 19),
    // The fade margin box
    Marker("Lbl6H_1", "Picture1", "6", 4200, 3480, 255, 255, 20),
    // The suggested antenna height box
    Marker("Lbl7H_1", "Picture1", "7", 7440, 2760, 255, 255, 21),
    // The expected bit rate frame
    Marker("Lbl8H_1", "Picture1", "8", 6480, 3240, 255, 255, 22),
});
// clang-format on

}  // namespace linkcalc::windows
