#include "windows/font_faces.h"

#include <cmath>

namespace linkcalc::windows {

int PixelSizeOf(double points) {
    return static_cast<int>(std::lround(points * 96.0 / 72.0));
}

QFont FontOf(const FontSpec& row, const QFont& windowFont) {
    if (row.face == Face::Window) return windowFont;
    const char* family = row.face == Face::Arial           ? kArialStandIn
                         : row.face == Face::MsSansSerif   ? kMsSansSerifStandIn
                         : row.face == Face::VerdanaNarrow ? kVerdanaNarrowStandIn
                                                           : kVerdanaStandIn;
    QFont font(QString::fromLatin1(family));
    font.setPixelSize(PixelSizeOf(row.points));
    font.setBold(row.bold);
    font.setItalic(row.italic);
    // DejaVu Sans sets about 4% narrower than Verdana; without the extra spacing the captions
    // would break where Verdana's do not. Set on every font, so none inherits another's.
    font.setLetterSpacing(QFont::PercentageSpacing,
                          row.face == Face::Verdana ? kVerdanaLetterSpacing : 100);
    return font;
}

}  // namespace linkcalc::windows
