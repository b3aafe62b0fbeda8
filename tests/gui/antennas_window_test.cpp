// The antenna picker: captions, focus and Tab, gains written into the main window, and
// closing without a trace.
#include <QImageReader>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include "gui_test_support.h"
#include "windows/frm_mv_antennas.h"

using namespace linkcalc;
using namespace linkcalc::windows;
using namespace linkcalc::windows::test;

namespace {

QString TextOf(const FrmOrlisCalc& window, Field field) {
    return QString::fromStdString(window.Text(field));
}

// The sheet with both gain fields as given.
QStringList WithGains(QStringList sheet, const QString& gain) {
    for (QString& field : sheet) {
        if (field.startsWith("TxtAntG=") || field.startsWith("TxtAntG2=")) {
            field = field.section(u'=', 0, 0) + "=" + gain;
        }
    }
    return sheet;
}

// A main window ready for a run, showing the picker.
struct PickerOpen : Counted {
    QPointer<SecondaryWindow> picker;

    PickerOpen() {
        FillKilometreLink(window);
        window.SetText(Field::TxtAntG, "5");
        window.SetText(Field::TxtAntG2, "7");
        if (!ShowActive(window)) return;
        picker =
            OpenThrough(window, QStringLiteral("CmdLdantenna"), QStringLiteral("FrmMVAntennas"));
    }
};

}  // namespace

class AntennasWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void Captions_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::newRow("LblFreq49") << "LblFreq49"
                                   << "4.9GHz Options";
        QTest::newRow("Cmd49AntInt18") << "Cmd49AntInt18"
                                       << "18 dBi ";
        QTest::newRow("Cmd49AntInt22") << "Cmd49AntInt22"
                                       << "22 dBi";
        QTest::newRow("Cmd49AntExt27") << "Cmd49AntExt27"
                                       << "27 dBi";
        QTest::newRow("LblFreq5") << "LblFreq5"
                                  << "5 GHz Options";
        QTest::newRow("CmdAntInt19") << "CmdAntInt19"
                                     << "Int 19dBi";
        QTest::newRow("CmdAntInt23") << "CmdAntInt23"
                                     << "Int 23dBi";
        QTest::newRow("CmdAntG27") << "CmdAntG27"
                                   << "28dBi";
        QTest::newRow("CmdAntG20") << "CmdAntG20"
                                   << "31dBi";
        QTest::newRow("CmdAntG33") << "CmdAntG33"
                                   << "34dBi";
        QTest::newRow("CmdExit") << "CmdExit"
                                 << "Exit";
    }
    void Captions() {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        FrmOrlisCalc window;
        FrmMVAntennas picker(window);
        QWidget* control = picker.Control(name);
        if (auto* label = qobject_cast<QLabel*>(control)) {
            QCOMPARE(label->text(), caption);
        } else {
            QCOMPARE(qobject_cast<QPushButton*>(control)->text(), caption);
        }
    }

    // Whatever both fields held, they get the button's gain; nothing else changes, no run
    // starts (the inputs would let one finish), and the picker is gone.
    void AGainButtonWritesItsGainIntoBothFieldsAndCloses_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("gain");
        QTest::newRow("18 dBi ") << "Cmd49AntInt18"
                                 << "18";
        QTest::newRow("22 dBi") << "Cmd49AntInt22"
                                << "22";
        QTest::newRow("27 dBi") << "Cmd49AntExt27"
                                << "27";
        QTest::newRow("Int 19dBi") << "CmdAntInt19"
                                   << "19";
        QTest::newRow("Int 23dBi") << "CmdAntInt23"
                                   << "23";
        QTest::newRow("28dBi") << "CmdAntG27"
                               << "28";
        QTest::newRow("31dBi") << "CmdAntG20"
                               << "31";
        QTest::newRow("34dBi") << "CmdAntG33"
                               << "34";
    }
    void AGainButtonWritesItsGainIntoBothFieldsAndCloses() {
        QFETCH(QString, button);
        QFETCH(QString, gain);
        PickerOpen open;
        QVERIFY(open.picker);
        const QStringList before = SheetTexts(open.window);
        QTest::mouseClick(open.picker->Control(button), Qt::LeftButton);
        QCOMPARE(TextOf(open.window, Field::TxtAntG), gain);
        QCOMPARE(TextOf(open.window, Field::TxtAntG2), gain);
        QCOMPARE(SheetTexts(open.window), WithGains(before, gain));
        QCOMPARE(RunValuesOf(open.window), RunValues{});
        QCOMPARE(open.notices, 0);
        QVERIFY(!open.picker || !open.picker->isVisible());
        QTRY_VERIFY(open.picker.isNull());
        QVERIFY(open.window.isVisible());
    }

    // The picker opens with the focus on "Int 23dBi", so Enter or Space there writes 23.
    void TheKeyboardPressesTheFocusedGain_data() {
        QTest::addColumn<int>("key");
        QTest::newRow("Enter") << int(Qt::Key_Return);
        QTest::newRow("Space") << int(Qt::Key_Space);
    }
    void TheKeyboardPressesTheFocusedGain() {
        QFETCH(int, key);
        PickerOpen open;
        QTRY_COMPARE(QApplication::activeWindow(), open.picker.data());
        QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(key));
        QTRY_VERIFY(open.picker.isNull());
        QCOMPARE(TextOf(open.window, Field::TxtAntG), QStringLiteral("23"));
        QCOMPARE(TextOf(open.window, Field::TxtAntG2), QStringLiteral("23"));
    }

    void ExitAndTheCloseBoxChangeNothing_data() {
        QTest::addColumn<bool>("closeBox");
        QTest::newRow("Exit") << false;
        QTest::newRow("close box") << true;
    }
    void ExitAndTheCloseBoxChangeNothing() {
        QFETCH(bool, closeBox);
        PickerOpen open;
        QVERIFY(open.picker);
        const QStringList before = SheetTexts(open.window);
        if (closeBox) {
            QVERIFY(open.picker->close());
        } else {
            QTest::mouseClick(open.picker->Control(QStringLiteral("CmdExit")), Qt::LeftButton);
        }
        QTRY_VERIFY(open.picker.isNull());
        QCOMPARE(SheetTexts(open.window), before);
        QCOMPARE(open.notices + open.ends, 0);
        QVERIFY(open.window.isVisible());
    }

    void TabVisitsTheButtonsInTabIndexOrder() {
        PickerOpen open;
        QTRY_COMPARE(QApplication::activeWindow(), open.picker.data());
        QCOMPARE(FocusedControl(*open.picker), QStringLiteral("CmdAntInt23"));
        const QStringList order{"CmdAntG27",     "CmdAntG20",     "CmdAntG33",
                                "CmdExit",       "Cmd49AntInt18", "Cmd49AntInt22",
                                "Cmd49AntExt27", "CmdAntInt19",   "CmdAntInt23"};
        QStringList visited;
        for (qsizetype i = 0; i < order.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited << FocusedControl(*open.picker);
        }
        QCOMPARE(visited, order);

        QStringList back;
        for (qsizetype i = 0; i < order.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
            back << FocusedControl(*open.picker);
        }
        QStringList reversed(order.crbegin() + 1, order.crend());
        reversed << order.last();
        QCOMPARE(back, reversed);
    }

    // Closing the main window takes the picker along, and the main window stays closed.
    void AfterTheMainWindowClosesNothingBringsItBack() {
        PickerOpen open;
        QVERIFY(open.picker);
        QVERIFY(open.window.close());
        QCOMPARE(open.ends, 1);
        QTRY_VERIFY(open.picker.isNull());
        QVERIFY(!open.window.isVisible());

        // A picker still open for a closed main window only closes itself.
        QPointer<FrmMVAntennas> late = new FrmMVAntennas(open.window);
        late->show();
        const QStringList before = SheetTexts(open.window);
        QTest::mouseClick(late->Control(QStringLiteral("CmdAntG20")), Qt::LeftButton);
        QTRY_VERIFY(late.isNull());
        QVERIFY(!open.window.isVisible());
        QCOMPARE(open.ends, 1);
        QCOMPARE(SheetTexts(open.window), WithGains(before, QStringLiteral("31")));
    }

    void AGainAfterTheMainWindowIsDestroyedOnlyCloses() {
        auto* window = new FrmOrlisCalc;
        QPointer<FrmMVAntennas> picker = new FrmMVAntennas(*window);
        QVERIFY(ShowActive(*picker));
        delete window;
        QTest::mouseClick(picker->Control(QStringLiteral("Cmd49AntInt22")), Qt::LeftButton);
        QTRY_VERIFY(picker.isNull());
        QVERIFY(TopLevelsNamed(QStringLiteral("FrmOrlisCalc")).isEmpty());
    }

    // Its own icon: two 16-colour images, 32 x 32 and 16 x 16.
    void TheIconHoldsTwoSixteenColourImages() {
        FrmOrlisCalc window;  // registers the pictures
        const QList<IconEntry> entries = IconEntries(QStringLiteral(":/icons/antennas.ico"));
        const QList<int> sizes{32, 16};
        QCOMPARE(entries.size(), sizes.size());
        for (int i = 0; i < sizes.size(); ++i) {
            QCOMPARE(entries[i].size, sizes[i]);
            QCOMPARE(entries[i].colours, 16);
            QCOMPARE(entries[i].bitsPerPixel, 4);
        }
        QCOMPARE(QImageReader(QStringLiteral(":/icons/antennas.ico")).imageCount(), 2);

        FrmMVAntennas picker(window);
        const QList<QSize> shown = picker.windowIcon().availableSizes();
        QVERIFY(shown.contains(QSize(32, 32)));
        QVERIFY(shown.contains(QSize(16, 16)));
        QVERIFY(picker.windowIcon().cacheKey() != window.windowIcon().cacheKey());
    }
};

QTEST_MAIN(AntennasWindowTest)
#include "antennas_window_test.moc"
