// The main window's control table and the window built from it.
#include <QApplication>
#include <QFontInfo>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QSet>
#include <QTest>

#include "gui_test_support.h"
#include "windows/frm_orlis_calc_controls.h"
#include "windows/qt_text.h"

using namespace linkcalc;
using namespace linkcalc::windows;
using namespace linkcalc::windows::test;

namespace {

const ControlRow* RowNamed(std::string_view name) {
    for (const ControlRow& row : kFrmOrlisCalcControls) {
        if (row.name == name) return &row;
    }
    return nullptr;
}

}  // namespace

class ControlTableTest : public QObject {
    Q_OBJECT

  private slots:
    void NamesAreUniqueAndTheSheetFieldsAreAmongThem() {
        QSet<QString> names;
        for (const ControlRow& row : kFrmOrlisCalcControls) names.insert(ToQString(row.name));
        QCOMPARE(names.size(), static_cast<qsizetype>(kFrmOrlisCalcControls.size()));
        for (const FieldInfo& info : kFields)
            QVERIFY2(names.contains(ToQString(info.name)), info.name.data());
    }

    // The window numbers its controls 0 to 82; the table lists 82 controls, so one number
    // (75) has no control.
    void TabIndexesAreUniqueFrom0To82() {
        QSet<int> seen;
        for (const ControlRow& row : kFrmOrlisCalcControls) {
            QVERIFY2(row.tabIndex >= 0 && row.tabIndex <= 82, row.name.data());
            QVERIFY2(!seen.contains(row.tabIndex), row.name.data());
            seen.insert(row.tabIndex);
        }
        QCOMPARE(seen.size(), 82);
    }

    void ParentsComeFirstAndHoldTheirChildren() {
        QSet<QString> built;
        for (const ControlRow& row : kFrmOrlisCalcControls) {
            int parentWidth = kFrmOrlisCalcWindow.clientWidth;
            int parentHeight = kFrmOrlisCalcWindow.clientHeight;
            if (!row.parent.empty()) {
                QVERIFY2(built.contains(ToQString(row.parent)), row.name.data());
                const ControlRow* parent = RowNamed(row.parent);
                QCOMPARE(parent->kind, Kind::Frame);
                parentWidth = parent->width;
                parentHeight = parent->height;
            }
            QVERIFY2(row.left >= 0 && row.top >= 0, row.name.data());
            QVERIFY2(row.left + row.width <= parentWidth, row.name.data());
            QVERIFY2(row.top + row.height <= parentHeight, row.name.data());
            built.insert(ToQString(row.name));
        }
    }

    void EveryRowBecomesANamedWidgetInItsParent() {
        FrmOrlisCalc window;
        for (const ControlRow& row : kFrmOrlisCalcControls) {
            QWidget* widget = window.Control(ToQString(row.name));
            QVERIFY2(widget, row.name.data());
            QCOMPARE(widget->objectName(), ToQString(row.name));
            QWidget* parent = row.parent.empty() ? &window : window.Control(ToQString(row.parent));
            QCOMPARE(widget->parentWidget(), parent);
            QVERIFY2(parent->rect().contains(widget->geometry()), row.name.data());
        }
    }

    void TheWindow() {
        FrmOrlisCalc window;
        QCOMPARE(window.objectName(), QStringLiteral("FrmOrlisCalc"));
        QCOMPARE(window.windowTitle(), QStringLiteral("QUARN Link Budget Calculator"));
        QCOMPARE(window.geometry(), QRect(318, 66, 676, 710));
        QVERIFY(window.windowFlags() & Qt::WindowMinimizeButtonHint);
        QVERIFY(!(window.windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(window.windowFlags() & Qt::WindowCloseButtonHint);
        QVERIFY(window.minimumSize() != window.maximumSize());  // sizable
    }

    void Geometry_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("pixels");
        QTest::newRow("Picture1") << "Picture1" << QRect(24, 16, 193, 73);
        QTest::newRow("LblALBC") << "LblALBC" << QRect(240, 24, 409, 49);
        QTest::newRow("LblAntenna1") << "LblAntenna1" << QRect(24, 136, 113, 57);
        QTest::newRow("Cmbmilekm") << "Cmbmilekm" << QRect(152, 168, 89, 21);
        QTest::newRow("CmbEFreq") << "CmbEFreq" << QRect(264, 192, 105, 24);
        QTest::newRow("CmdLdantenna") << "CmdLdantenna" << QRect(264, 232, 105, 49);
        QTest::newRow("TxtCblLoss2") << "TxtCblLoss2" << QRect(512, 288, 97, 25);
        QTest::newRow("FrmRslt") << "FrmRslt" << QRect(32, 328, 385, 305);
        QTest::newRow("TxtMTP in its frame") << "TxtMTP" << QRect(96, 80, 49, 33);
        QTest::newRow("TxtRNFL2 in its frame") << "TxtRNFL2" << QRect(96, 176, 49, 35);
        QTest::newRow("CmdHelp1") << "CmdHelp1" << QRect(128, 592, 233, 33);
        QTest::newRow("FrmSRLT") << "FrmSRLT" << QRect(424, 328, 241, 305);
        QTest::newRow("FrmBitRate in FrmSRLT") << "FrmBitRate" << QRect(0, 216, 241, 89);
        QTest::newRow("TxtEBRBi in FrmBitRate") << "TxtEBRBi" << QRect(144, 48, 81, 25);
        QTest::newRow("LblWebLink") << "LblWebLink" << QRect(0, 648, 193, 17);
        QTest::newRow("LblRev") << "LblRev" << QRect(576, 688, 65, 17);
        QTest::newRow("Command1") << "Command1" << QRect(56, 672, 81, 21);
    }
    void Geometry() {
        QFETCH(QString, name);
        QFETCH(QRect, pixels);
        FrmOrlisCalc window;
        QCOMPARE(window.Control(name)->geometry(), pixels);
    }

    void ResizingMovesNoControl() {
        FrmOrlisCalc window;
        QVERIFY(ShowActive(window));
        QHash<QString, QRect> before;
        for (const ControlRow& row : kFrmOrlisCalcControls) {
            before.insert(ToQString(row.name), window.Control(ToQString(row.name))->geometry());
        }
        for (const QSize size : {QSize(900, 800), QSize(300, 200)}) {
            window.resize(size);
            QTRY_COMPARE(window.size(), size);
            for (auto it = before.cbegin(); it != before.cend(); ++it) {
                QCOMPARE(window.Control(it.key())->geometry(), it.value());
            }
        }
    }

    void Fonts_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("family");
        QTest::addColumn<int>("pixels");
        QTest::addColumn<bool>("bold");
        QTest::addColumn<bool>("italic");
        QTest::newRow("window font") << ""
                                     << "DejaVu Sans" << 11 << true << false;
        QTest::newRow("title") << "LblALBC"
                               << "Liberation Sans" << 32 << true << false;
        QTest::newRow("band title") << "LblLB"
                                    << "Liberation Sans" << 32 << true << true;
        QTest::newRow("input caption") << "LblAntenna1"
                                       << "DejaVu Sans" << 13 << true << false;
        QTest::newRow("input box") << "TxtAntG"
                                   << "DejaVu Sans" << 13 << true << false;
        QTest::newRow("packet size box") << "Txtepksz"
                                         << "DejaVu Sans" << 11 << true << false;
        QTest::newRow("unit choice") << "Cmbmilekm"
                                     << "DejaVu Sans" << 11 << true << false;
        QTest::newRow("result box") << "TxtEIRP1"
                                    << "DejaVu Sans" << 15 << true << false;
        QTest::newRow("unit label") << "LbldBm2"
                                    << "DejaVu Sans" << 15 << true << false;
        QTest::newRow("fade margin") << "TxtFM"
                                     << "DejaVu Sans" << 11 << true << false;
        QTest::newRow("path unit") << "Lblft3"
                                   << "DejaVu Sans" << 15 << true << false;
        QTest::newRow("bit rate") << "TxtEBtRateUni"
                                  << "DejaVu Sans" << 11 << true << false;
        QTest::newRow("yellow label") << "LblMTP"
                                      << "DejaVu Sans" << 11 << true << false;
        QTest::newRow("web link") << "LblWebLink"
                                  << "DejaVu Sans" << 13 << false << true;
        QTest::newRow("maker") << "LblTch2"
                               << "DejaVu Sans Condensed" << 13 << true << false;
        QTest::newRow("date") << "LblTch3"
                              << "DejaVu Sans" << 13 << false << true;
        QTest::newRow("button") << "CmdCalc"
                                << "DejaVu Sans" << 11 << true << false;
    }
    void Fonts() {
        QFETCH(QString, name);
        QFETCH(QString, family);
        QFETCH(int, pixels);
        QFETCH(bool, bold);
        QFETCH(bool, italic);
        FrmOrlisCalc window;
        const QFont font = name.isEmpty() ? window.font() : window.Control(name)->font();
        const QFontInfo shown(font);
        QCOMPARE(shown.family(), family);
        QCOMPARE(font.pixelSize(), pixels);
        QCOMPARE(shown.bold(), bold);
        QCOMPARE(shown.italic(), italic);
    }

    // What is drawn, not what is asked for: a pixel of each control as it paints.
    void Colours_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QPoint>("pixel");
        QTest::addColumn<QColor>("colour");
        const QColor grey(224, 224, 224);
        const QColor yellow(255, 255, 128);
        QTest::newRow("window back") << "" << QPoint(5, 5) << grey;
        QTest::newRow("caption back") << "LblAntenna1" << QPoint(1, 54) << grey;
        QTest::newRow("band title back") << "LblLB" << QPoint(2, 46) << QColor(200, 208, 225);
        QTest::newRow("yellow label") << "LblEIRP1" << QPoint(1, 1) << yellow;
        QTest::newRow("yellow noise floor") << "LblRNFL" << QPoint(70, 39) << yellow;
        QTest::newRow("result border") << "TxtEIRP1" << QPoint(0, 10) << QColor(Qt::black);
        QTest::newRow("result border bottom") << "TxtRECI" << QPoint(20, 32) << QColor(Qt::black);
        QTest::newRow("result inside") << "TxtEIRP1" << QPoint(1, 1) << QColor(Qt::white);
        QTest::newRow("red power 1") << "TxtMTP" << QPoint(2, 2) << QColor(255, 0, 0);
        QTest::newRow("red power 2") << "TxtMTP2" << QPoint(46, 30) << QColor(255, 0, 0);
        QTest::newRow("red power border") << "TxtMTP" << QPoint(48, 16) << QColor(Qt::black);
        QTest::newRow("frame inside") << "FrmBitRate" << QPoint(10, 80) << grey;
    }
    void Colours() {
        QFETCH(QString, name);
        QFETCH(QPoint, pixel);
        QFETCH(QColor, colour);
        FrmOrlisCalc window;
        QWidget* widget = name.isEmpty() ? &window : window.Control(name);
        const QImage image = widget->grab().toImage();
        QCOMPARE(image.pixelColor(pixel), colour);
    }

    void TextColours_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QColor>("colour");
        QTest::newRow("caption") << "LblSpeed" << QColor(Qt::black);
        QTest::newRow("title") << "LblALBC" << QColor(64, 64, 64);
        QTest::newRow("band title") << "LblLB" << QColor(37, 64, 143);
        QTest::newRow("web link") << "LblWebLink" << QColor(0, 0, 255);
        QTest::newRow("revision") << "LblRev" << QColor(0, 0, 255);
        QTest::newRow("provided by")
            << "LblTch1" << QApplication::palette().color(QPalette::Highlight);
        QTest::newRow("maker") << "LblTch2" << QApplication::palette().color(QPalette::Highlight);
    }
    void TextColours() {
        QFETCH(QString, name);
        QFETCH(QColor, colour);
        FrmOrlisCalc window;
        QCOMPARE(window.Control(name)->palette().color(QPalette::WindowText), colour);
    }

    void Alignment_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("horizontal");
        QTest::newRow("centred caption") << "LblFRQ" << int(Qt::AlignHCenter);
        QTest::newRow("left caption") << "LblCblLoss" << int(Qt::AlignLeft);
        QTest::newRow("right yellow label") << "LblEIRP2" << int(Qt::AlignRight);
        QTest::newRow("plain label") << "lbldBm1" << int(Qt::AlignLeft);
        QTest::newRow("centred input") << "TxtDM" << int(Qt::AlignHCenter);
        QTest::newRow("result") << "TxtFSL" << int(Qt::AlignHCenter);
        QTest::newRow("bidirectional") << "LblBidirect" << int(Qt::AlignLeft);
    }
    void Alignment() {
        QFETCH(QString, name);
        QFETCH(int, horizontal);
        FrmOrlisCalc window;
        Qt::Alignment alignment;
        if (auto* label = ControlAs<QLabel>(window, name)) alignment = label->alignment();
        if (auto* box = ControlAs<QLineEdit>(window, name)) alignment = box->alignment();
        QCOMPARE(int(alignment & Qt::AlignHorizontal_Mask), horizontal);
    }

    void LengthLimitsCutLongerTexts_data() {
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("kept");
        QTest::newRow("free-space loss") << int(Field::TxtFSL) << "123456";
        QTest::newRow("Fresnel radius") << int(Field::TxtFR) << "12345";
        QTest::newRow("earth curvature") << int(Field::TxtEC) << "12345";
        QTest::newRow("antenna height") << int(Field::TxtSAH) << "12345";
        QTest::newRow("no limit") << int(Field::TxtEIRP1) << "1234567890";
    }
    void LengthLimitsCutLongerTexts() {
        QFETCH(int, field);
        QFETCH(QString, kept);
        FrmOrlisCalc window;
        window.SetText(static_cast<Field>(field), "1234567890");
        QCOMPARE(QString::fromStdString(window.Text(static_cast<Field>(field))), kept);
    }

    void CommandOneIsNeverShownNorFocused() {
        FrmOrlisCalc window;
        QVERIFY(ShowActive(window));
        QWidget* hidden = window.Control(QStringLiteral("Command1"));
        QVERIFY(!hidden->isVisible());
        QCOMPARE(hidden->focusPolicy(), Qt::NoFocus);
        QCOMPARE(hidden->cursor().shape(), Qt::PointingHandCursor);
    }
};

QTEST_MAIN(ControlTableTest)
#include "control_table_test.moc"
