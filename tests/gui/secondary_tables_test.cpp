// The control tables of the antenna picker and the two help windows, and the windows built
// from them.
#include <QFontInfo>
#include <QImage>
#include <QLabel>
#include <QSet>
#include <QTest>
#include <memory>
#include <span>

#include "gui_test_support.h"
#include "windows/frm_inpt_hlp_controls.h"
#include "windows/frm_mv_antennas.h"
#include "windows/frm_mv_antennas_controls.h"
#include "windows/frmhlp_controls.h"
#include "windows/help_windows.h"
#include "windows/qt_text.h"

using namespace linkcalc::windows;
using namespace linkcalc::windows::test;

namespace {

struct Tables {
    const WindowRow* window;
    std::span<const ControlRow> controls;
};

Tables TablesOf(const QString& window) {
    if (window == "FrmMVAntennas") return {&kFrmMVAntennasWindow, kFrmMVAntennasControls};
    if (window == "FrmInptHlp") return {&kFrmInptHlpWindow, kFrmInptHlpControls};
    return {&kFrmhlpWindow, kFrmhlpControls};
}

std::unique_ptr<SecondaryWindow> Build(const QString& window, FrmOrlisCalc& mainWindow) {
    if (window == "FrmMVAntennas") return std::make_unique<FrmMVAntennas>(mainWindow);
    if (window == "FrmInptHlp") return std::make_unique<FrmInptHlp>();
    return std::make_unique<Frmhlp>();
}

void EachWindow() {
    QTest::addColumn<QString>("window");
    for (const char* name : {"FrmMVAntennas", "FrmInptHlp", "Frmhlp"}) {
        QTest::newRow(name) << QString::fromLatin1(name);
    }
}

}  // namespace

class SecondaryTablesTest : public QObject {
    Q_OBJECT

  private slots:
    void NamesAreUnique_data() { EachWindow(); }
    void NamesAreUnique() {
        QFETCH(QString, window);
        const Tables tables = TablesOf(window);
        QSet<QString> names;
        for (const ControlRow& row : tables.controls) names.insert(ToQString(row.name));
        QCOMPARE(names.size(), static_cast<qsizetype>(tables.controls.size()));
    }

    // Each window numbers its controls from 0 without gaps.
    void TabIndexesAreUniqueAndGapless_data() { EachWindow(); }
    void TabIndexesAreUniqueAndGapless() {
        QFETCH(QString, window);
        const Tables tables = TablesOf(window);
        const int count = static_cast<int>(tables.controls.size());
        QSet<int> seen;
        for (const ControlRow& row : tables.controls) {
            QVERIFY2(row.tabIndex >= 0 && row.tabIndex < count, row.name.data());
            QVERIFY2(!seen.contains(row.tabIndex), row.name.data());
            seen.insert(row.tabIndex);
        }
    }

    void ParentsComeFirstAndHoldTheirChildren_data() { EachWindow(); }
    void ParentsComeFirstAndHoldTheirChildren() {
        QFETCH(QString, window);
        const Tables tables = TablesOf(window);
        QHash<QString, const ControlRow*> built;
        for (const ControlRow& row : tables.controls) {
            QSize parent(tables.window->clientWidth, tables.window->clientHeight);
            if (!row.parent.empty()) {
                const ControlRow* parentRow = built.value(ToQString(row.parent));
                QVERIFY2(parentRow, row.name.data());
                QVERIFY(parentRow->kind == Kind::Frame || parentRow->kind == Kind::Picture);
                parent = QSize(parentRow->width, parentRow->height);
            }
            QVERIFY2(row.left >= 0 && row.top >= 0, row.name.data());
            QVERIFY2(row.left + row.width <= parent.width(), row.name.data());
            QVERIFY2(row.top + row.height <= parent.height(), row.name.data());
            built.insert(ToQString(row.name), &row);
        }
    }

    void EveryRowBecomesANamedWidgetInItsParent_data() { EachWindow(); }
    void EveryRowBecomesANamedWidgetInItsParent() {
        QFETCH(QString, window);
        FrmOrlisCalc mainWindow;
        const auto built = Build(window, mainWindow);
        QCOMPARE(built->objectName(), window);
        QVERIFY(built->isWindow());
        QCOMPARE(built->parentWidget(), nullptr);
        for (const ControlRow& row : TablesOf(window).controls) {
            QWidget* widget = built->Control(ToQString(row.name));
            QVERIFY2(widget, row.name.data());
            QCOMPARE(widget->objectName(), ToQString(row.name));
            QWidget* parent =
                row.parent.empty() ? built.get() : built->Control(ToQString(row.parent));
            QCOMPARE(widget->parentWidget(), parent);
            QVERIFY2(parent->rect().contains(widget->geometry()), row.name.data());
        }
    }

    void Geometry_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("pixels");
        const auto row = [](const char* window, const char* name, QRect pixels) {
            QTest::newRow(name) << QString::fromLatin1(window) << QString::fromLatin1(name)
                                << pixels;
        };
        row("FrmMVAntennas", "LblFreq49", QRect(80, 8, 121, 17));
        row("FrmMVAntennas", "Cmd49AntInt18", QRect(88, 32, 97, 25));
        row("FrmMVAntennas", "CmdAntG33", QRect(88, 320, 97, 25));
        row("FrmMVAntennas", "CmdExit", QRect(64, 360, 145, 33));
        row("FrmInptHlp", "FrmeInputHelp", QRect(0, 0, 633, 441));
        row("FrmInptHlp", "Lbl2Ihlp", QRect(16, 48, 601, 33));
        row("FrmInptHlp", "Pcthlp1", QRect(16, 192, 601, 193));
        row("FrmInptHlp", "Lbl12Ihlp", QRect(480, 40, 17, 17));
        row("FrmInptHlp", "CmdExit", QRect(208, 392, 201, 33));
        row("Frmhlp", "Frame2", QRect(0, 0, 697, 689));
        row("Frmhlp", "LblH4", QRect(8, 112, 657, 49));
        row("Frmhlp", "Picture1", QRect(24, 344, 649, 305));
        row("Frmhlp", "Lbl1H_1", QRect(96, 32, 17, 25));
        row("Frmhlp", "Command1", QRect(304, 656, 105, 33));
    }
    void Geometry() {
        QFETCH(QString, window);
        QFETCH(QString, name);
        QFETCH(QRect, pixels);
        FrmOrlisCalc mainWindow;
        QCOMPARE(Build(window, mainWindow)->Control(name)->geometry(), pixels);
    }

    // The picker stands where its table puts it; the desktop places the help windows.
    void TheWindows_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QSize>("client");
        QTest::addColumn<bool>("fixed");
        QTest::addColumn<QPoint>("position");
        QTest::addColumn<bool>("maximizeBox");
        QTest::newRow("FrmMVAntennas")
            << "FrmMVAntennas"
            << "Recommended Antennas" << QSize(267, 438) << true << QPoint(402, 78) << false;
        QTest::newRow("FrmInptHlp") << "FrmInptHlp"
                                    << "Input Help" << QSize(638, 445) << false << QPoint() << true;
        QTest::newRow("Frmhlp") << "Frmhlp"
                                << "Help" << QSize(704, 693) << false << QPoint() << true;
    }
    void TheWindows() {
        QFETCH(QString, window);
        QFETCH(QString, caption);
        QFETCH(QSize, client);
        QFETCH(bool, fixed);
        QFETCH(QPoint, position);
        QFETCH(bool, maximizeBox);
        FrmOrlisCalc mainWindow;
        const auto built = Build(window, mainWindow);
        QCOMPARE(built->windowTitle(), caption);
        QCOMPARE(built->size(), client);
        QCOMPARE(built->testAttribute(Qt::WA_Moved), fixed);
        if (fixed) QCOMPARE(built->pos(), position);
        const Qt::WindowFlags flags = built->windowFlags();
        QVERIFY(flags & Qt::WindowMinimizeButtonHint);
        QCOMPARE(bool(flags & Qt::WindowMaximizeButtonHint), maximizeBox);
        QVERIFY(flags & Qt::WindowCloseButtonHint);
        QVERIFY(built->minimumSize() != built->maximumSize());  // sizable
        QVERIFY(built->testAttribute(Qt::WA_DeleteOnClose));
    }

    void ResizingMovesNoControl_data() { EachWindow(); }
    void ResizingMovesNoControl() {
        QFETCH(QString, window);
        FrmOrlisCalc mainWindow;
        const auto built = Build(window, mainWindow);
        QVERIFY(ShowActive(*built));
        QHash<QString, QRect> before;
        for (const ControlRow& row : TablesOf(window).controls) {
            before.insert(ToQString(row.name), built->Control(ToQString(row.name))->geometry());
        }
        for (const QSize size : {QSize(900, 900), QSize(150, 100)}) {
            built->resize(size);
            QTRY_COMPARE(built->size(), size);
            for (auto it = before.cbegin(); it != before.cend(); ++it) {
                QCOMPARE(built->Control(it.key())->geometry(), it.value());
            }
        }
    }

    void Fonts_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("family");
        QTest::addColumn<int>("pixels");
        QTest::addColumn<bool>("bold");
        const auto row = [](const char* title, const char* window, const char* name,
                            const char* family, int pixels, bool bold) {
            QTest::newRow(title) << QString::fromLatin1(window) << QString::fromLatin1(name)
                                 << QString::fromLatin1(family) << pixels << bold;
        };
        row("picker window", "FrmMVAntennas", "", "DejaVu Sans", 11, true);
        row("picker label", "FrmMVAntennas", "LblFreq5", "DejaVu Sans", 11, true);
        row("picker button", "FrmMVAntennas", "CmdAntInt19", "DejaVu Sans", 11, true);
        row("input help window", "FrmInptHlp", "", "DejaVu Sans", 11, true);
        row("input step", "FrmInptHlp", "Lbl9Ihlp", "DejaVu Sans", 11, true);
        row("input exit", "FrmInptHlp", "CmdExit", "DejaVu Sans", 11, true);
        row("input marker", "FrmInptHlp", "Lbl16Ihlp", "DejaVu Sans", 15, true);
        // Narrowed so that the one-line notes keep to one line.
        row("result help window", "Frmhlp", "", "DejaVu Sans Condensed", 16, true);
        row("result note", "Frmhlp", "LblH8", "DejaVu Sans Condensed", 16, true);
        row("result exit", "Frmhlp", "Command1", "DejaVu Sans Condensed", 16, true);
        row("result frame", "Frmhlp", "Frame2", "Liberation Sans", 11, false);
        row("result marker", "Frmhlp", "Lbl8H_1", "DejaVu Sans", 15, true);
    }
    void Fonts() {
        QFETCH(QString, window);
        QFETCH(QString, name);
        QFETCH(QString, family);
        QFETCH(int, pixels);
        QFETCH(bool, bold);
        FrmOrlisCalc mainWindow;
        const auto built = Build(window, mainWindow);
        const QFont font = name.isEmpty() ? built->font() : built->Control(name)->font();
        const QFontInfo shown(font);
        QCOMPARE(shown.family(), family);
        QCOMPARE(font.pixelSize(), pixels);
        QCOMPARE(shown.bold(), bold);
        QVERIFY(!shown.italic());
    }

    // What is drawn: a pixel of each window or control as it paints.
    void Colours_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QPoint>("pixel");
        QTest::addColumn<QColor>("colour");
        const QColor grey(224, 224, 224);
        QTest::newRow("picker back") << "FrmMVAntennas"
                                     << "" << QPoint(5, 400) << grey;
        QTest::newRow("picker label") << "FrmMVAntennas"
                                      << "LblFreq49" << QPoint(1, 1) << grey;
        QTest::newRow("input help frame") << "FrmInptHlp"
                                          << "" << QPoint(8, 170) << grey;
        QTest::newRow("input help step") << "FrmInptHlp"
                                         << "Lbl6Ihlp" << QPoint(590, 8) << grey;
        QTest::newRow("input picture right of its picture")
            << "FrmInptHlp"
            << "Pcthlp1" << QPoint(599, 20) << QApplication::palette().color(QPalette::Base);
        QTest::newRow("result help strip right of the frame")
            << "Frmhlp"
            << "" << QPoint(700, 300) << QColor(200, 208, 225);
        QTest::newRow("result help strip below the frame")
            << "Frmhlp"
            << "" << QPoint(300, 691) << QColor(200, 208, 225);
        QTest::newRow("result help frame") << "Frmhlp"
                                           << "" << QPoint(4, 660) << grey;
        QTest::newRow("result note") << "Frmhlp"
                                     << "LblH1" << QPoint(660, 20) << grey;
    }
    void Colours() {
        QFETCH(QString, window);
        QFETCH(QString, name);
        QFETCH(QPoint, pixel);
        QFETCH(QColor, colour);
        FrmOrlisCalc mainWindow;
        const auto built = Build(window, mainWindow);
        QWidget* widget = name.isEmpty() ? built.get() : built->Control(name);
        QCOMPARE(widget->grab().toImage().pixelColor(pixel), colour);
    }

    // Labels are left-aligned and black unless their rows say otherwise.
    void Alignment_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("horizontal");
        QTest::addColumn<QColor>("text");
        QTest::newRow("picker label") << "FrmMVAntennas"
                                      << "LblFreq49" << int(Qt::AlignHCenter) << QColor(Qt::black);
        QTest::newRow("input step") << "FrmInptHlp"
                                    << "Lbl1Ihlp" << int(Qt::AlignLeft) << QColor(Qt::black);
        QTest::newRow("result note") << "Frmhlp"
                                     << "LblH6" << int(Qt::AlignLeft) << QColor(Qt::black);
    }
    void Alignment() {
        QFETCH(QString, window);
        QFETCH(QString, name);
        QFETCH(int, horizontal);
        QFETCH(QColor, text);
        FrmOrlisCalc mainWindow;
        const auto built = Build(window, mainWindow);
        auto* label = ControlAs<QLabel>(*built, name);
        QCOMPARE(int(label->alignment() & Qt::AlignHorizontal_Mask), horizontal);
        QCOMPARE(label->palette().color(QPalette::WindowText), text);
    }
};

QTEST_MAIN(SecondaryTablesTest)
#include "secondary_tables_test.moc"
