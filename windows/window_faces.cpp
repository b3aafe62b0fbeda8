#include "windows/window_faces.h"

#include <QMap>
#include <algorithm>
#include <span>

#include "windows/font_faces.h"
#include "windows/frm_inpt_hlp_controls.h"
#include "windows/frm_mv_antennas_controls.h"
#include "windows/frm_orlis_calc_controls.h"
#include "windows/frmhlp_controls.h"
#include "windows/qt_text.h"

namespace linkcalc::windows {
namespace {

bool SameFace(const RowFont& a, const RowFont& b) {
    return a.face == b.face && a.bold == b.bold && a.italic == b.italic;
}

void AddFace(std::vector<RowFont>& faces, const RowFont& font) {
    if (std::none_of(faces.begin(), faces.end(),
                     [&](const RowFont& known) { return SameFace(known, font); })) {
        faces.push_back(font);
    }
}

void AddWindow(std::vector<RowFont>& faces, const WindowRow& window,
               std::span<const ControlRow> controls) {
    AddFace(faces, window.font);
    for (const ControlRow& row : controls) {
        AddFace(faces, row.font.face == Face::Window ? window.font : row.font);
    }
}

}  // namespace

std::vector<RowFont> WindowFaces() {
    std::vector<RowFont> faces;
    AddWindow(faces, kFrmOrlisCalcWindow, kFrmOrlisCalcControls);
    AddWindow(faces, kFrmMVAntennasWindow, kFrmMVAntennasControls);
    AddWindow(faces, kFrmInptHlpWindow, kFrmInptHlpControls);
    AddWindow(faces, kFrmhlpWindow, kFrmhlpControls);
    return faces;
}

QStringList MissingFaceWarnings() {
    QMap<QString, QStringList> missingByPackage;
    for (const RowFont& font : WindowFaces()) {
        const StandInFace face = StandInOf(font);
        const QString wanted = NameOf(face);
        const QString drawn = DrawnFaceOf(FontOf(font, QFont()));
        if (drawn == wanted) continue;
        missingByPackage[ToQString(face.package)].append(wanted + QStringLiteral(" is drawn as ") +
                                                         drawn);
    }
    QStringList warnings;
    for (auto it = missingByPackage.cbegin(); it != missingByPackage.cend(); ++it) {
        warnings.append(QStringLiteral("missing font: ") + it.value().join(QStringLiteral(", ")) +
                        QStringLiteral("; install ") + it.key());
    }
    return warnings;
}

}  // namespace linkcalc::windows
