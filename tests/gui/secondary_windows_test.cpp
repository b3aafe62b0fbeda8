// The antenna picker and the two help windows as the main window shows them: at most one of
// each, without owner, modeless, destroyed when closed, and closed with the main window.
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include "gui_test_support.h"

using namespace linkcalc;
using namespace linkcalc::windows;
using namespace linkcalc::windows::test;

namespace {

struct Opener {
    const char* button;  // of the main window
    const char* window;
};
constexpr std::array<Opener, 3> kOpeners{{
    {"CmdLdantenna", "FrmMVAntennas"},
    {"CmdHelp2", "FrmInptHlp"},
    {"CmdHelp1", "Frmhlp"},
}};

void EachWindow() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("focus");
    QTest::addColumn<QString>("closer");
    QTest::newRow("FrmMVAntennas") << "CmdLdantenna"
                                   << "FrmMVAntennas"
                                   << "CmdAntInt23"
                                   << "CmdExit";
    QTest::newRow("FrmInptHlp") << "CmdHelp2"
                                << "FrmInptHlp"
                                << "CmdExit"
                                << "CmdExit";
    QTest::newRow("Frmhlp") << "CmdHelp1"
                            << "Frmhlp"
                            << "Command1"
                            << "Command1";
}

QList<QPointer<QWidget>> OpenAll(FrmOrlisCalc& window) {
    QList<QPointer<QWidget>> opened;
    for (const Opener& opener : kOpeners) {
        opened << OpenThrough(window, QString::fromLatin1(opener.button),
                              QString::fromLatin1(opener.window));
    }
    return opened;
}

}  // namespace

class SecondaryWindowsTest : public QObject {
    Q_OBJECT

  private slots:
    void ShowingOpensOneModelessWindowWithoutOwner_data() { EachWindow(); }
    void ShowingOpensOneModelessWindowWithoutOwner() {
        QFETCH(QString, button);
        QFETCH(QString, window);
        QFETCH(QString, focus);
        Counted counted;
        QVERIFY(ShowActive(counted.window));
        QVERIFY(TopLevelsNamed(window).isEmpty());  // created on first show only

        SecondaryWindow* shown = OpenThrough(counted.window, button, window);
        QVERIFY(shown);
        QVERIFY(shown->isVisible());
        QCOMPARE(shown->parentWidget(), nullptr);
        QCOMPARE(shown->windowModality(), Qt::NonModal);
        QTRY_COMPARE(QApplication::activeWindow(), shown);
        QCOMPARE(FocusedControl(*shown), focus);
        QVERIFY(counted.window.isVisible());
    }

    void ShowingAgainBringsTheSameWindowForward_data() { EachWindow(); }
    void ShowingAgainBringsTheSameWindowForward() {
        QFETCH(QString, button);
        QFETCH(QString, window);
        Counted counted;
        QVERIFY(ShowActive(counted.window));
        QPointer<SecondaryWindow> first = OpenThrough(counted.window, button, window);
        QVERIFY(first);

        QVERIFY(ShowActive(counted.window));
        QCOMPARE(OpenThrough(counted.window, button, window), first.data());
        QTRY_COMPARE(QApplication::activeWindow(), first.data());

        // A minimized window comes back too.
        first->showMinimized();
        QCOMPARE(OpenThrough(counted.window, button, window), first.data());
        QVERIFY(!first->isMinimized());
        QCOMPARE(TopLevelsNamed(window).size(), 1);
    }

    // The closed window is gone; the next show builds a new one as its table gives it.
    void ClosingDestroysAndTheNextShowIsFresh_data() { EachWindow(); }
    void ClosingDestroysAndTheNextShowIsFresh() {
        QFETCH(QString, button);
        QFETCH(QString, window);
        QFETCH(QString, focus);
        QFETCH(QString, closer);
        Counted counted;
        QVERIFY(ShowActive(counted.window));
        QPointer<SecondaryWindow> first = OpenThrough(counted.window, button, window);
        const QRect opened = first->geometry();
        first->setGeometry(opened.translated(37, 23).adjusted(0, 0, 50, 40));
        QTest::mouseClick(first->Control(closer), Qt::LeftButton);
        QVERIFY(!first || !first->isVisible());
        QTRY_VERIFY(first.isNull());
        QVERIFY(TopLevelsNamed(window).isEmpty());

        SecondaryWindow* second = OpenThrough(counted.window, button, window);
        QVERIFY(second);
        QCOMPARE(second->size(), opened.size());
        if (second->testAttribute(Qt::WA_Moved))
            QCOMPARE(second->geometry().topLeft(), opened.topLeft());
        QTRY_COMPARE(QApplication::activeWindow(), second);
        QCOMPARE(FocusedControl(*second), focus);
        QCOMPARE(counted.ends, 0);
    }

    void TheCloseBoxDestroysOnlyThatWindow_data() { EachWindow(); }
    void TheCloseBoxDestroysOnlyThatWindow() {
        QFETCH(QString, button);
        QFETCH(QString, window);
        Counted counted;
        QVERIFY(ShowActive(counted.window));
        QPointer<SecondaryWindow> shown = OpenThrough(counted.window, button, window);
        QVERIFY(shown->close());
        QTRY_VERIFY(shown.isNull());
        QVERIFY(counted.window.isVisible());
        QCOMPARE(counted.ends, 0);
    }

    void AllThreeAtOnceWhileTheMainWindowWorks() {
        Counted counted;
        FrmOrlisCalc& window = counted.window;
        QVERIFY(ShowActive(window));
        const QList<QPointer<QWidget>> opened = OpenAll(window);
        for (const QPointer<QWidget>& secondary : opened)
            QVERIFY(secondary && secondary->isVisible());

        // Typed into the main window and calculated there, by keyboard, with all three open.
        QVERIFY(ShowActive(window));
        FillKilometreLink(window);
        window.Control(QStringLiteral("TxtAntG"))->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("25"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_C, Qt::AltModifier);
        QTRY_VERIFY(!QString::fromStdString(window.Text(Field::TxtFM)).isEmpty());
        QCOMPARE(counted.notices, 0);
        QCOMPARE(QString::fromStdString(window.Text(Field::TxtAntG)), QStringLiteral("25"));
        for (const QPointer<QWidget>& secondary : opened)
            QVERIFY(secondary && secondary->isVisible());
    }

    void EndingTheProgramClosesThem_data() {
        QTest::addColumn<bool>("closeBox");
        QTest::newRow("close box") << true;
        QTest::newRow("Exit") << false;
    }
    void EndingTheProgramClosesThem() {
        QFETCH(bool, closeBox);
        Counted counted;
        QVERIFY(ShowActive(counted.window));
        const QList<QPointer<QWidget>> opened = OpenAll(counted.window);
        if (closeBox) {
            QVERIFY(counted.window.close());
        } else {
            QTest::mouseClick(counted.window.Control(QStringLiteral("CmdExit")), Qt::LeftButton);
        }
        QCOMPARE(counted.ends, 1);
        for (const QPointer<QWidget>& secondary : opened)
            QVERIFY(!secondary || !secondary->isVisible());
        for (const QPointer<QWidget>& secondary : opened) QTRY_VERIFY(secondary.isNull());
    }

    // Without owners nothing else would take them along.
    void DestroyingTheMainWindowDestroysThem() {
        auto* window = new FrmOrlisCalc;
        QVERIFY(ShowActive(*window));
        const QList<QPointer<QWidget>> opened = OpenAll(*window);
        for (const QPointer<QWidget>& secondary : opened) QVERIFY(secondary);
        delete window;
        for (const QPointer<QWidget>& secondary : opened) QVERIFY(secondary.isNull());
    }
};

QTEST_MAIN(SecondaryWindowsTest)
#include "secondary_windows_test.moc"
