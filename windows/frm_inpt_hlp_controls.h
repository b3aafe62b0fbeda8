#pragma once

#include <array>

#include "windows/control_row.h"
#include "windows/help_markers.h"
#include "windows/window_looks.h"

namespace linkcalc::windows {

inline constexpr WindowRow kFrmInptHlpWindow{.name = "FrmInptHlp",
                                             .caption = "Input Help",
                                             .clientWidth = 9570,
                                             .clientHeight = 6675,
                                             .back = kFormGrey,
                                             .font = kWindowFont,
                                             .boxes = TitleBoxes::MinimizeAndMaximize,
                                             .placement = Placement::ByDesktop};

// The main window's inputs, from the antenna 1 column to the antenna 2 column and from the
// captions of the first row of fields down to the Help and Calc buttons.
inline constexpr TwipsArea kInputArea{390, 1980, 9345, 4890};

// Every control of the input help, parents before their children; the step markers lie over
// the picture, each at what its step speaks of. The names are the calculator's own, kept as
// they are.
// clang-format off
inline constexpr std::array kFrmInptHlpControls = std::to_array<ControlRow>({
    {.name = "FrmeInputHelp", .kind = Kind::Frame, .parent = "", .text = "", .left = 0, .top = 0,
     .width = 9495, .height = 6615, .back = kFormGrey, .tabIndex = 0},
    {.name = "Lbl1Ihlp", .kind = Kind::Label, .parent = "FrmeInputHelp",
     .text = "1. Input antenna gain under \"Select Antenna 1 and Select Antenna 2 Type\".  Or "
             "click on \"Select Certified Antennas\" to pick Mervane Recomended antenas.",
     .left = 240, .top = 240, .width = 9015, .height = 495, .tabIndex = 3},
    {.name = "Lbl2Ihlp", .kind = Kind::Label, .parent = "FrmeInputHelp",
     .text = "2. Select Distance type from the drop down list; Miles or Km and input the distance "
             "on the box immidiately under the drop down list box. ",
     .left = 240, .top = 720, .width = 9015, .height = 495, .tabIndex = 4},
    {.name = "Lbl3Ihlp", .kind = Kind::Label, .parent = "FrmeInputHelp",
     .text = "3. Select frequency from the \"Select Frequency (GHz)\" drop down list.",
     .left = 240, .top = 1200, .width = 9015, .height = 255, .tabIndex = 5},
    {.name = "Lbl4Ihlp", .kind = Kind::Label, .parent = "FrmeInputHelp",
     .text = "4. Input packet size under the \"Enter Packet Size\" box.", .left = 240,
     .top = 1440, .width = 8895, .height = 255, .tabIndex = 6},
    {.name = "Lbl9Ihlp", .kind = Kind::Label, .parent = "FrmeInputHelp",
     .text = "5. Select Throughput under the \"Select Speed\" drop down list.", .left = 240,
     .top = 1680, .width = 8895, .height = 255, .tabIndex = 12},
    {.name = "Lbl5Ihlp", .kind = Kind::Label, .parent = "FrmeInputHelp",
     .text = "6. Enter cable loss according to the type of cable on the frequency been used.",
     .left = 240, .top = 1920, .width = 8895, .height = 255, .tabIndex = 7},
    {.name = "Lbl6Ihlp", .kind = Kind::Label, .parent = "FrmeInputHelp",
     .text = "7. Click on \"Calc\" icon to run the calculation.", .left = 240, .top = 2160,
     .width = 8895, .height = 255, .tabIndex = 8},
    {.name = "Pcthlp1", .kind = Kind::Picture, .parent = "FrmeInputHelp", .text = "", .left = 240,
     .top = 2880, .width = 9015, .height = 2895, .back = kWindowBackground, .tabIndex = 1,
     .snapshot = kInputArea},
    {.name = "CmdExit", .kind = Kind::Button, .parent = "FrmeInputHelp", .text = "E&xit",
     .left = 3120, .top = 5880, .width = 3015, .height = 495, .tabIndex = 2},

    // Over the antenna 1 and 2 captions and the Select Certified Antennas button
    Marker("Lbl7Ihlp", "Pcthlp1", "1", 120, 600, 255, 255, 9),
    Marker("Lbl12Ihlp", "Pcthlp1", "1", 7200, 600, 255, 255, 15),
    Marker("Lbl13Ihlp", "Pcthlp1", "1", 3600, 1560, 255, 255, 16, kButtonFace),
    // The distance caption
    Marker("LblIhlp8", "Pcthlp1", "2", 1800, 240, 375, 255, 10),
    // The frequency caption
    Marker("Label1", "Pcthlp1", "3", 3600, 600, 375, 255, 11),
    // The packet size caption
    Marker("Lbl10Ihlp", "Pcthlp1", "4", 1800, 1320, 375, 255, 13),
    // The speed caption
    Marker("Lbl11Ihlp", "Pcthlp1", "5", 5400, 600, 375, 255, 14),
    // The two cable loss captions
    Marker("Lbl14Ihlp", "Pcthlp1", "6", 600, 1560, 375, 255, 17),
    Marker("Lbl15Ihlp", "Pcthlp1", "6", 7800, 1560, 255, 255, 18),
    // The Calc button
    Marker("Lbl16Ihlp", "Pcthlp1", "7", 4920, 2400, 255, 255, 19, kButtonFace),
});
// clang-format on

}  // namespace linkcalc::windows
