// The faces the windows draw with: each must be installed as itself, neither replaced by
// another face nor slanted or narrowed from an upright one, or captions break elsewhere.
#include <QFontInfo>
#include <QTest>
#include <algorithm>
#include <memory>
#include <span>

#include "gui_test_support.h"
#include "windows/font_faces.h"
#include "windows/frm_inpt_hlp_controls.h"
#include "windows/frm_mv_antennas.h"
#include "windows/frm_mv_antennas_controls.h"
#include "windows/frm_orlis_calc_controls.h"
#include "windows/frmhlp_controls.h"
#include "windows/help_windows.h"
#include "windows/qt_text.h"
#include "windows/window_faces.h"

using namespace linkcalc::windows;
using namespace linkcalc::windows::test;

namespace {

// What the test says when a face is drawn with another one.
QByteArray Fault(const StandInFace& face, const QString& drawn, const QString& where) {
    return (where + QStringLiteral(": ") + NameOf(face) + QStringLiteral(" is drawn as ") + drawn +
            QStringLiteral("; install ") + ToQString(face.package))
        .toUtf8();
}

bool AmongWindowFaces(const RowFont& font) {
    const std::vector<RowFont> faces = WindowFaces();
    return std::any_of(faces.begin(), faces.end(), [&](const RowFont& face) {
        return face.face == font.face && face.bold == font.bold && face.italic == font.italic;
    });
}

struct Window {
    const WindowRow* row;
    std::span<const ControlRow> controls;
};

Window WindowNamed(const QString& name) {
    if (name == "FrmMVAntennas") return {&kFrmMVAntennasWindow, kFrmMVAntennasControls};
    if (name == "FrmInptHlp") return {&kFrmInptHlpWindow, kFrmInptHlpControls};
    if (name == "Frmhlp") return {&kFrmhlpWindow, kFrmhlpControls};
    return {&kFrmOrlisCalcWindow, kFrmOrlisCalcControls};
}

}  // namespace

class FontFacesTest : public QObject {
    Q_OBJECT

  private slots:
    void EveryWindowFaceIsInstalled_data() {
        QTest::addColumn<int>("index");
        const std::vector<RowFont> faces = WindowFaces();
        for (int i = 0; i < static_cast<int>(faces.size()); ++i) {
            QTest::newRow(NameOf(StandInOf(faces[i])).toUtf8().constData()) << i;
        }
    }
    void EveryWindowFaceIsInstalled() {
        QFETCH(int, index);
        const RowFont font = WindowFaces().at(index);
        const StandInFace face = StandInOf(font);
        const QString drawn = DrawnFaceOf(FontOf(font, QFont()));
        QVERIFY2(drawn == NameOf(face), Fault(face, drawn, QStringLiteral("stand-in")));
    }

    // Each of them, and no other: all six, which a missing table row or window would change.
    void TheWindowsDrawWithSixFaces() {
        QStringList names;
        for (const RowFont& font : WindowFaces()) names.append(NameOf(StandInOf(font)));
        names.sort();
        QCOMPARE(names, QStringList({"DejaVu Sans (Bold)", "DejaVu Sans (Oblique)",
                                     "DejaVu Sans Condensed (Condensed Bold)",
                                     "Liberation Sans (Bold Italic)", "Liberation Sans (Bold)",
                                     "Liberation Sans (Regular)"}));
    }

    // What each control of the built windows is drawn with, its window included.
    void EveryControlIsDrawnWithItsFace_data() {
        QTest::addColumn<QString>("window");
        for (const char* name : {"FrmOrlisCalc", "FrmMVAntennas", "FrmInptHlp", "Frmhlp"}) {
            QTest::newRow(name) << QString::fromLatin1(name);
        }
    }
    void EveryControlIsDrawnWithItsFace() {
        QFETCH(QString, window);
        const Window tables = WindowNamed(window);
        FrmOrlisCalc mainWindow;
        std::unique_ptr<SecondaryWindow> secondary;
        if (window == "FrmMVAntennas") secondary = std::make_unique<FrmMVAntennas>(mainWindow);
        if (window == "FrmInptHlp") secondary = std::make_unique<FrmInptHlp>();
        if (window == "Frmhlp") secondary = std::make_unique<Frmhlp>();
        const auto control = [&](const QString& name) {
            return secondary ? secondary->Control(name) : mainWindow.Control(name);
        };
        const QWidget& built = secondary ? static_cast<QWidget&>(*secondary) : mainWindow;

        const StandInFace windowFace = StandInOf(tables.row->font);
        QVERIFY(AmongWindowFaces(tables.row->font));
        QVERIFY2(DrawnFaceOf(built.font()) == NameOf(windowFace),
                 Fault(windowFace, DrawnFaceOf(built.font()), window));
        for (const ControlRow& row : tables.controls) {
            const RowFont& font = row.font.face == Face::Window ? tables.row->font : row.font;
            QVERIFY2(AmongWindowFaces(font), row.name.data());
            const QWidget* widget = control(ToQString(row.name));
            QVERIFY2(widget, row.name.data());
            const StandInFace face = StandInOf(font);
            const QString drawn = DrawnFaceOf(widget->font());
            QVERIFY2(drawn == NameOf(face), Fault(face, drawn, ToQString(row.name)));
        }
    }

    void NoWarningWhenEveryFaceIsInstalled() { QCOMPARE(MissingFaceWarnings(), QStringList()); }
};

QTEST_MAIN(FontFacesTest)
#include "font_faces_test.moc"
