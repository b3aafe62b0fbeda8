#include "windows/font_faces.h"

#include <QFontInfo>
#include <cmath>

#include "windows/qt_text.h"

namespace linkcalc::windows {

int PixelSizeOf(double points) {
    return static_cast<int>(std::lround(points * 96.0 / 72.0));
}

QFont FontOf(const RowFont& row, const QFont& windowFont) {
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

StandInFace StandInOf(const RowFont& row) {
    // Indexed by bold * 2 + italic. The condensed and the slanted DejaVu faces come in another
    // package than the upright ones.
    static constexpr StandInFace kDejaVu[] = {
        {kVerdanaStandIn, "Book", "fonts-dejavu-core"},
        {kVerdanaStandIn, "Oblique", "fonts-dejavu-extra"},
        {kVerdanaStandIn, "Bold", "fonts-dejavu-core"},
        {kVerdanaStandIn, "Bold Oblique", "fonts-dejavu-extra"},
    };
    static constexpr StandInFace kDejaVuCondensed[] = {
        {kVerdanaNarrowStandIn, "Condensed", "fonts-dejavu-extra"},
        {kVerdanaNarrowStandIn, "Condensed Oblique", "fonts-dejavu-extra"},
        {kVerdanaNarrowStandIn, "Condensed Bold", "fonts-dejavu-extra"},
        {kVerdanaNarrowStandIn, "Condensed Bold Oblique", "fonts-dejavu-extra"},
    };
    // Arial and MS Sans Serif share their stand-in.
    static_assert(std::string_view(kArialStandIn) == kMsSansSerifStandIn);
    static constexpr StandInFace kLiberation[] = {
        {kArialStandIn, "Regular", "fonts-liberation"},
        {kArialStandIn, "Italic", "fonts-liberation"},
        {kArialStandIn, "Bold", "fonts-liberation"},
        {kArialStandIn, "Bold Italic", "fonts-liberation"},
    };
    const int variant = (row.bold ? 2 : 0) + (row.italic ? 1 : 0);
    switch (row.face) {
        case Face::Arial:
        case Face::MsSansSerif:
            return kLiberation[variant];
        case Face::VerdanaNarrow:
            return kDejaVuCondensed[variant];
        case Face::Window:
        case Face::Verdana:
            break;
    }
    return kDejaVu[variant];
}

QString DrawnFaceOf(const QFont& font) {
    const QFontInfo drawn(font);
    return drawn.family() + QStringLiteral(" (") + drawn.styleName() + QLatin1Char(')');
}

QString NameOf(const StandInFace& face) {
    return ToQString(face.family) + QStringLiteral(" (") + ToQString(face.style) + QLatin1Char(')');
}

}  // namespace linkcalc::windows
