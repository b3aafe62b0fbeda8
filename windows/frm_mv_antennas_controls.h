#pragma once

#include <array>
#include <string_view>

#include "windows/control_row.h"
#include "windows/window_looks.h"

namespace linkcalc::windows {

inline constexpr WindowRow kFrmMVAntennasWindow{.name = "FrmMVAntennas",
                                                .caption = "Recommended Antennas",
                                                .clientWidth = 4005,
                                                .clientHeight = 6570,
                                                .left = 6030,
                                                .top = 1170,
                                                .back = kFormGrey,
                                                .font = kWindowFont,
                                                .boxes = TitleBoxes::Minimize,
                                                .icon = ":/icons/antennas.ico"};

// Every control of the antenna picker; all of them use the window font. The names are the
// calculator's own, kept as they are.
// clang-format off
inline constexpr std::array kFrmMVAntennasControls = std::to_array<ControlRow>({
    // 4.9 GHz band
    {.name = "LblFreq49", .kind = Kind::Label, .parent = "", .text = "4.9GHz Options", .left = 1200,
     .top = 120, .width = 1815, .height = 255, .align = Align::Centre, .tabIndex = 6},
    {.name = "Cmd49AntInt18", .kind = Kind::Button, .parent = "", .text = "18 dBi ", .left = 1320,
     .top = 480, .width = 1455, .height = 375, .tabIndex = 5},
    {.name = "Cmd49AntInt22", .kind = Kind::Button, .parent = "", .text = "22 dBi", .left = 1320,
     .top = 960, .width = 1455, .height = 375, .tabIndex = 7},
    {.name = "Cmd49AntExt27", .kind = Kind::Button, .parent = "", .text = "27 dBi", .left = 1320,
     .top = 1440, .width = 1455, .height = 375, .tabIndex = 8},

    // 5 GHz bands
    {.name = "LblFreq5", .kind = Kind::Label, .parent = "", .text = "5 GHz Options", .left = 1200,
     .top = 2520, .width = 1695, .height = 255, .align = Align::Centre, .tabIndex = 9},
    {.name = "CmdAntInt19", .kind = Kind::Button, .parent = "", .text = "Int 19dBi", .left = 1320,
     .top = 2880, .width = 1455, .height = 375, .tabIndex = 10},
    {.name = "CmdAntInt23", .kind = Kind::Button, .parent = "", .text = "Int 23dBi", .left = 1320,
     .top = 3360, .width = 1455, .height = 375, .tabIndex = 0},
    {.name = "CmdAntG27", .kind = Kind::Button, .parent = "", .text = "28dBi", .left = 1320,
     .top = 3840, .width = 1455, .height = 375, .tabIndex = 1},
    {.name = "CmdAntG20", .kind = Kind::Button, .parent = "", .text = "31dBi", .left = 1320,
     .top = 4320, .width = 1455, .height = 375, .tabIndex = 2},
    {.name = "CmdAntG33", .kind = Kind::Button, .parent = "", .text = "34dBi", .left = 1320,
     .top = 4800, .width = 1455, .height = 375, .tabIndex = 3},

    {.name = "CmdExit", .kind = Kind::Button, .parent = "", .text = "Exit", .left = 960,
     .top = 5400, .width = 2175, .height = 495, .tabIndex = 4},
});
// clang-format on

struct GainButton {
    std::string_view control;
    std::string_view gain;  // what it writes into both antenna gain fields
};

// Three names carry another number than the gain their captions show.
inline constexpr std::array<GainButton, 8> kGainButtons{{
    {"Cmd49AntInt18", "18"},
    {"Cmd49AntInt22", "22"},
    {"Cmd49AntExt27", "27"},
    {"CmdAntInt19", "19"},
    {"CmdAntInt23", "23"},
    {"CmdAntG27", "28"},
    {"CmdAntG20", "31"},
    {"CmdAntG33", "34"},
}};

}  // namespace linkcalc::windows
