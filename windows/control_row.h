#pragma once

#include <cstdint>
#include <string_view>

namespace linkcalc::windows {

// Geometry in the control tables is in twips; at 96 dots per inch a pixel is 15 twips.
inline constexpr int kTwipsPerPixel = 15;

constexpr int Pixels(int twips) {
    return twips / kTwipsPerPixel;
}

enum class Kind : std::uint8_t {
    Frame,          // a box without caption that holds other controls
    Label,          // wraps its caption at blanks, never takes the focus
    InputBox,       // single-line text box with a sunken border
    ResultBox,      // single-line text box, flat with a one-pixel black border, centred
    DropDownList,   // pick one item and nothing else
    DropDownCombo,  // pick an item or type any text
    Button,         // "&" in the caption marks the access key
    Picture,        // shows a picture from its top-left corner, clipped
};

// The faces the tables name; each maps to the nearest face installed on the desktop.
enum class Face : std::uint8_t { Window, Verdana, VerdanaNarrow, Arial, MsSansSerif };

struct RowFont {
    Face face = Face::Window;
    double points = 0;  // at 96 dots per inch
    bool bold = false;
    bool italic = false;
};

struct Colour {
    enum class Source : std::uint8_t {
        Default,
        Rgb,
        WindowBackground,
        WindowText,
        Highlight,
        ButtonFace,
    };
    Source source = Source::Default;
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
};

constexpr Colour Rgb(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return {Colour::Source::Rgb, r, g, b};
}
inline constexpr Colour kHighlight{Colour::Source::Highlight};
inline constexpr Colour kWindowBackground{Colour::Source::WindowBackground};
inline constexpr Colour kButtonFace{Colour::Source::ButtonFace};

enum class Align : std::uint8_t { Default, Left, Centre, Right };

enum class Cursor : std::uint8_t { Default, PointingHand };

// A rectangle of the main window's client area, from its top-left to its bottom-right corner.
struct TwipsArea {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// One row of a window's control table.
struct ControlRow {
    std::string_view name;
    Kind kind;
    std::string_view parent;  // empty: the window's client area
    std::string_view text;    // caption, or the initial text of a text box
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    RowFont font{};
    Colour back{};
    Colour fore{};
    Align align = Align::Default;
    int tabIndex = 0;
    bool visible = true;
    Cursor cursor = Cursor::Default;
    std::string_view picture{};  // resource path of a picture box's picture
    // A picture box without a resource picture shows this area of a freshly opened main window.
    TwipsArea snapshot{};
};

// The title bar always has a close box.
enum class TitleBoxes : std::uint8_t { Minimize, MinimizeAndMaximize };

enum class Placement : std::uint8_t {
    Fixed,      // the client area's top-left corner at the row's left and top
    ByDesktop,  // wherever the desktop puts a new window
};

struct WindowRow {
    std::string_view name;
    std::string_view caption;
    int clientWidth;
    int clientHeight;
    // Of the client area, from the screen's top-left corner, where the placement is fixed.
    int left = 0;
    int top = 0;
    Colour back;
    RowFont font;
    TitleBoxes boxes = TitleBoxes::Minimize;
    Placement placement = Placement::Fixed;
    std::string_view icon{};  // resource path; none: the desktop's default icon
};

}  // namespace linkcalc::windows
