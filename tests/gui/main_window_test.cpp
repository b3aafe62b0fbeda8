// The main window's state and events: start, Tab, access keys, Clear, web link, Exit.
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "gui_test_support.h"
#include "linkcalc/choice_lists.h"
#include "windows/qt_text.h"

using namespace linkcalc;
using namespace linkcalc::windows;
using namespace linkcalc::windows::test;

namespace {

template <std::size_t N>
QStringList Listed(const std::array<std::string_view, N>& items) {
    QStringList list;
    for (const std::string_view item : items) {
        list << ToQString(item);
    }
    return list;
}

QStringList Items(const QComboBox& choice) {
    QStringList items;
    for (int i = 0; i < choice.count(); ++i) items << choice.itemText(i);
    return items;
}

QString TextOf(const FrmOrlisCalc& window, Field field) {
    return QString::fromStdString(window.Text(field));
}

const QStringList kButtons{"CmdCalc",  "CmdClear", "CmdExit",
                           "CmdHelp1", "CmdHelp2", "CmdLdantenna"};

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void InitialState() {
        FrmOrlisCalc window;
        for (const FieldInfo& info : kFields) {
            const QString expected =
                info.field == Field::TxtCblLss1 || info.field == Field::TxtCblLoss2 ? "0"
                : info.role == FieldRole::UnitLabel                                 ? "ft"
                                                                                    : "";
            QCOMPARE(TextOf(window, info.field), expected);
        }
        const auto* band = ControlAs<QComboBox>(window, QStringLiteral("CmbEFreq"));
        const auto* speed = ControlAs<QComboBox>(window, QStringLiteral("CmbSlcSpeed"));
        const auto* unit = ControlAs<QComboBox>(window, QStringLiteral("Cmbmilekm"));
        QCOMPARE(Items(*band), QStringList({"4900", "5300", "5400", "5800"}));
        QCOMPARE(Items(*speed), QStringList({" 6 Mbps", "12 Mbps", "18 Mbps", "24 Mbps", "36 Mbps",
                                             "48 Mbps", "54 Mbps"}));
        QCOMPARE(Items(*unit), QStringList({"Miles", "Km"}));
        for (const auto* choice : {band, speed, unit}) QCOMPARE(choice->currentIndex(), -1);
        QVERIFY(!band->isEditable());
        QVERIFY(!speed->isEditable());
        QVERIFY(unit->isEditable());
        QCOMPARE(RunValuesOf(window), RunValues{});

        auto* link = ControlAs<QLabel>(window, QStringLiteral("LblWebLink"));
        QVERIFY(link->font().underline());
        QCOMPARE(link->cursor().shape(), Qt::PointingHandCursor);
    }

    void FocusStartsInTheFirstCableLoss() {
        FrmOrlisCalc window;
        QVERIFY(ShowActive(window));
        QCOMPARE(FocusedControl(window), QStringLiteral("TxtCblLss1"));
    }

    void TabVisitsTheInputsAndButtonsInTabIndexOrder() {
        FrmOrlisCalc window;
        QVERIFY(ShowActive(window));
        const QStringList order{"TxtDM",    "CmbEFreq", "CmbSlcSpeed", "TxtCblLoss2",
                                "CmdCalc",  "CmdClear", "CmdExit",     "CmdLdantenna",
                                "TxtAntG",  "TxtAntG2", "Cmbmilekm",   "CmdHelp1",
                                "Txtepksz", "CmdHelp2", "TxtCblLss1"};
        QStringList visited;
        for (qsizetype i = 0; i < order.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited << FocusedControl(window);
        }
        QCOMPARE(visited, order);

        QStringList back;
        for (qsizetype i = 0; i < order.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
            back << FocusedControl(window);
        }
        QStringList reversed(order.crbegin() + 1, order.crend());
        reversed << order.last();
        QCOMPARE(back, reversed);
    }

    void AccessKeysPressTheirButtons_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("button");
        QTest::newRow("Alt+C") << int(Qt::Key_C) << "CmdCalc";
        QTest::newRow("Alt+R") << int(Qt::Key_R) << "CmdClear";
        QTest::newRow("Alt+X") << int(Qt::Key_X) << "CmdExit";
        QTest::newRow("Alt+E") << int(Qt::Key_E) << "CmdHelp1";
        QTest::newRow("Alt+H") << int(Qt::Key_H) << "CmdHelp2";
        QTest::newRow("Alt+S") << int(Qt::Key_S) << "CmdLdantenna";
    }
    void AccessKeysPressTheirButtons() {
        QFETCH(int, key);
        QFETCH(QString, button);
        Counted counted;
        QVERIFY(ShowActive(counted.window));
        QList<QSignalSpy*> spies;
        for (const QString& name : kButtons) {
            spies << new QSignalSpy(ControlAs<QPushButton>(counted.window, name),
                                    &QPushButton::clicked);
        }
        QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(key), Qt::AltModifier);
        const qsizetype pressed = kButtons.indexOf(button);
        QTRY_COMPARE(spies[pressed]->count(), 1);
        for (qsizetype i = 0; i < spies.size(); ++i) {
            if (i != pressed) QCOMPARE(spies[i]->count(), 0);
        }
        qDeleteAll(spies);
    }

    void AltCRunsAltRClearsAltXEnds() {
        Counted counted;
        QVERIFY(ShowActive(counted.window));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_C, Qt::AltModifier);
        QTRY_COMPARE(counted.notices, 1);  // "Select an antenna."

        counted.window.SetText(Field::TxtDM, "12");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_R, Qt::AltModifier);
        QTRY_COMPARE(TextOf(counted.window, Field::TxtDM), QString());

        QTest::keyClick(QApplication::focusWidget(), Qt::Key_X, Qt::AltModifier);
        QTRY_COMPARE(counted.ends, 1);
    }

    void EnterPressesOnlyAFocusedButton() {
        Counted counted;
        QVERIFY(ShowActive(counted.window));
        counted.window.SetText(Field::TxtDM, "12");

        // In a text box Enter presses nothing: no run, no clear.
        QWidget* distance = counted.window.Control(QStringLiteral("TxtDM"));
        distance->setFocus();
        QTest::keyClick(distance, Qt::Key_Return);
        QTest::keyClick(distance, Qt::Key_Enter);
        QCOMPARE(counted.notices, 0);
        QCOMPARE(TextOf(counted.window, Field::TxtDM), QStringLiteral("12"));

        QWidget* clear = counted.window.Control(QStringLiteral("CmdClear"));
        clear->setFocus();
        QTest::keyClick(clear, Qt::Key_Return);
        QCOMPARE(TextOf(counted.window, Field::TxtDM), QString());

        QWidget* calc = counted.window.Control(QStringLiteral("CmdCalc"));
        calc->setFocus();
        QTest::keyClick(calc, Qt::Key_Enter);
        QCOMPARE(counted.notices, 1);
    }

    void EscapePressesNothing() {
        Counted counted;
        QVERIFY(ShowActive(counted.window));
        QList<QSignalSpy*> spies;
        for (const QString& name : kButtons) {
            spies << new QSignalSpy(ControlAs<QPushButton>(counted.window, name),
                                    &QPushButton::clicked);
        }
        for (const QString& name : {QStringLiteral("TxtDM"), QStringLiteral("CmdCalc")}) {
            QWidget* widget = counted.window.Control(name);
            widget->setFocus();
            QTest::keyClick(widget, Qt::Key_Escape);
        }
        QTest::qWait(150);  // past the delay of an animated click
        for (QSignalSpy* spy : spies) QCOMPARE(spy->count(), 0);
        QVERIFY(counted.window.isVisible());
        QCOMPARE(counted.ends, 0);
        qDeleteAll(spies);
    }

    void ClearAfterARunInKilometres() {
        Counted counted;
        FrmOrlisCalc& window = counted.window;
        FillKilometreLink(window);
        QTest::mouseClick(window.Control(QStringLiteral("CmdCalc")), Qt::LeftButton);
        QCOMPARE(counted.notices, 0);
        QCOMPARE(TextOf(window, Field::Lblft1), QStringLiteral("m"));
        QVERIFY(!TextOf(window, Field::TxtFM).isEmpty());
        const RunValues values = RunValuesOf(window);

        QWidget* focused = window.Control(QStringLiteral("TxtAntG2"));
        focused->setFocus();
        QTest::mouseClick(window.Control(QStringLiteral("CmdClear")), Qt::LeftButton);

        for (const FieldInfo& info : kFields) {
            QString expected;
            switch (info.field) {
                case Field::TxtCblLss1:
                case Field::TxtCblLoss2:
                    expected = "0";
                    break;
                case Field::Lblft1:
                case Field::Lblft2:
                case Field::Lblft3:
                    expected = "m";
                    break;
                case Field::Cmbmilekm:
                    expected = "Km";
                    break;
                case Field::Txtepksz:
                    expected = "512";
                    break;
                default:
                    break;
            }
            QCOMPARE(TextOf(window, info.field), expected);
        }
        QCOMPARE(ControlAs<QComboBox>(window, QStringLiteral("Cmbmilekm"))->currentIndex(), 1);
        QCOMPARE(RunValuesOf(window), values);
    }

    void ClearTwiceLeavesFourBandsAndSevenSpeedsNoneChosen() {
        Counted counted;
        FillKilometreLink(counted.window);
        auto* band = ControlAs<QComboBox>(counted.window, QStringLiteral("CmbEFreq"));
        auto* speed = ControlAs<QComboBox>(counted.window, QStringLiteral("CmbSlcSpeed"));
        QWidget* clear = counted.window.Control(QStringLiteral("CmdClear"));
        for (int times = 1; times <= 2; ++times) {
            QTest::mouseClick(clear, Qt::LeftButton);
            QCOMPARE(Items(*band), Listed(kBandList));
            QCOMPARE(Items(*speed), Listed(kSpeedList));
            QCOMPARE(band->currentIndex(), -1);
            QCOMPARE(speed->currentIndex(), -1);
            QCOMPARE(band->currentText(), QString());
        }
        // A run after Clear stops at the first antenna again.
        QTest::mouseClick(counted.window.Control(QStringLiteral("CmdCalc")), Qt::LeftButton);
        QCOMPARE(counted.notices, 1);
    }

    void TypedUnitTextStaysAsTyped() {
        Counted counted;
        QVERIFY(ShowActive(counted.window));
        QWidget* unit = counted.window.Control(QStringLiteral("Cmbmilekm"));
        unit->setFocus();
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("k"));
        QCOMPARE(TextOf(counted.window, Field::Cmbmilekm), QStringLiteral("k"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(TextOf(counted.window, Field::Cmbmilekm), QStringLiteral("k"));
        QCOMPARE(ControlAs<QComboBox>(counted.window, QStringLiteral("Cmbmilekm"))->count(), 2);
    }

    void TheWebLinkHandsItsCaptionToTheOpener() {
        Counted counted;
        QVERIFY(ShowActive(counted.window));
        auto* link = ControlAs<QLabel>(counted.window, QStringLiteral("LblWebLink"));
        QTest::mouseClick(link, Qt::LeftButton);
        QCOMPARE(counted.links, QStringList({"http://www.mervane.com"}));
        QCOMPARE(link->text(), QStringLiteral("http://www.mervane.com"));
        QTest::mouseClick(link, Qt::RightButton);
        QCOMPARE(counted.links.size(), 1);
        QCOMPARE(counted.notices + counted.ends, 0);
    }

    void ExitEndsTheProgram() {
        Counted counted;
        QTest::mouseClick(counted.window.Control(QStringLiteral("CmdExit")), Qt::LeftButton);
        QCOMPARE(counted.ends, 1);
    }

    void TheCloseBoxEndsTheProgram() {
        Counted counted;
        QVERIFY(ShowActive(counted.window));
        QVERIFY(counted.window.close());
        QCOMPARE(counted.ends, 1);
    }

    // Without a replaced ender, Exit and the close box make the event loop return at once.
    void EndingLeavesTheEventLoop_data() {
        QTest::addColumn<bool>("closeBox");
        QTest::newRow("Exit") << false;
        QTest::newRow("close box") << true;
    }
    void EndingLeavesTheEventLoop() {
        QFETCH(bool, closeBox);
        FrmOrlisCalc window;
        QVERIFY(ShowActive(window));
        QTimer::singleShot(0, &window, [&] {
            if (closeBox) {
                window.close();
            } else {
                ControlAs<QPushButton>(window, QStringLiteral("CmdExit"))->click();
            }
        });
        QTimer::singleShot(10000, [] { QCoreApplication::exit(99); });  // never hang
        QCOMPARE(QApplication::exec(), 0);
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
