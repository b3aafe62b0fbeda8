// Calc on the window: completed runs match the command-line tool, notices and run failures
// are shown as modal boxes and move the focus.
#include <QApplication>
#include <QComboBox>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QProxyStyle>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "gui_test_support.h"
#include "windows/qt_text.h"

using namespace linkcalc;
using namespace linkcalc::windows;
using namespace linkcalc::windows::test;

namespace {

// The inputs as a user enters them; an empty text leaves the field as the window opens it.
struct Inputs {
    QString gain1, gain2, loss1, loss2, distance, unit, band, speed, packet;
};

void Fill(FrmOrlisCalc& window, const Inputs& in) {
    const auto type = [&](const char* name, const QString& text) {
        if (!text.isEmpty()) ControlAs<QLineEdit>(window, QString::fromLatin1(name))->setText(text);
    };
    type("TxtAntG", in.gain1);
    type("TxtAntG2", in.gain2);
    type("TxtCblLss1", in.loss1);
    type("TxtCblLoss2", in.loss2);
    type("TxtDM", in.distance);
    type("Txtepksz", in.packet);
    if (!in.unit.isEmpty()) ControlAs<QComboBox>(window, "Cmbmilekm")->setEditText(in.unit);
    for (const auto& [name, text] : {std::pair{"CmbEFreq", in.band}, {"CmbSlcSpeed", in.speed}}) {
        auto* choice = ControlAs<QComboBox>(window, QString::fromLatin1(name));
        if (!text.isEmpty()) choice->setCurrentIndex(choice->findText(text, Qt::MatchExactly));
    }
}

QJsonObject RunCli(const Inputs& in) {
    QStringList args{"--json"};
    const QList<std::pair<const char*, QString>> options{
        {"--gain1", in.gain1}, {"--gain2", in.gain2},       {"--loss1", in.loss1},
        {"--loss2", in.loss2}, {"--distance", in.distance}, {"--unit", in.unit},
        {"--band", in.band},   {"--speed", in.speed},       {"--packet", in.packet}};
    for (const auto& [option, value] : options) args << QString::fromLatin1(option) << value;
    QProcess cli;
    cli.start(QStringLiteral(LINKCALC_CLI_PATH), args);
    if (!cli.waitForFinished(30000)) return {};
    return QJsonDocument::fromJson(cli.readAllStandardOutput()).object();
}

void Calc(FrmOrlisCalc& window) {
    QTest::mouseClick(window.Control(QStringLiteral("CmdCalc")), Qt::LeftButton);
}

QString TextOf(const FrmOrlisCalc& window, Field field) {
    return QString::fromStdString(window.Text(field));
}

QString ControlName(Field field) {
    const std::string_view name = linkcalc::NameOf(field);
    return ToQString(name);
}

// What a presenter saw of the boxes it was given.
struct Shown {
    QString text;
    QString title;
};

const Inputs kGoodLink{"23", "23", "1", "2", "5", "Miles", "5800", "54 Mbps", ""};

QStringList Results(const FrmOrlisCalc& window) {
    QStringList results;
    for (const FieldInfo& info : kFields) {
        if (info.role == FieldRole::Result) results << TextOf(window, info.field);
    }
    return results;
}

// Puts icons on dialog buttons, as the styles under X do; a notice must take its icon off.
class IconButtonsStyle : public QProxyStyle {
  public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returned) const override {
        if (hint == SH_DialogButtonBox_ButtonsHaveIcons) return 1;
        return QProxyStyle::styleHint(hint, option, widget, returned);
    }
};

}  // namespace

Q_DECLARE_METATYPE(Inputs)

class WindowRunTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { QApplication::setStyle(new IconButtonsStyle); }

    void SameTextsAsTheCommandLineTool_data() {
        QTest::addColumn<Inputs>("in");
        // gain1, gain2, loss1, loss2, distance, unit, band, speed, packet
        QTest::newRow("5800 54 Mbps miles") << kGoodLink;
        QTest::newRow("4900 6 Mbps km")
            << Inputs{"19", "19", "0", "0", "10", "Km", "4900", " 6 Mbps", "1518"};
        QTest::newRow("5300 24 Mbps km, minus signs")
            << Inputs{"28", "28", "-2.5", "-3.5", "-3.2", "Km", "5300", "24 Mbps", "-512"};
        QTest::newRow("5400 12 Mbps, trailing minus")
            << Inputs{"31", "34", "2.5-", "2.5-", "20", "Miles", "5400", "12 Mbps", "64"};
        QTest::newRow("5800 36 Mbps half a km")
            << Inputs{"27", "22", "1", "1", "0.5", "Km", "5800", "36 Mbps", "1500"};
        QTest::newRow("4900 48 Mbps long path, cut results")
            << Inputs{"18", "18", "3", "3", "400", "Miles", "4900", "48 Mbps", "9000"};
        QTest::newRow("5300 18 Mbps")
            << Inputs{"19", "23", "0", "0.0", "1E1", "Miles", "5300", "18 Mbps", ""};
        QTest::newRow("5400 54 Mbps km")
            << Inputs{"34", "31", "0.5", "0.25", "2", "Km", "5400", "54 Mbps", "256"};
        QTest::newRow("stopped: zero loss with 20 dBi")
            << Inputs{"20", "23", "0", "1", "5", "Km", "5800", "54 Mbps", ""};
        QTest::newRow("stopped: distance not numeric")
            << Inputs{"23", "23", "1", "1", "5x", "Km", "5800", "54 Mbps", ""};
        QTest::newRow("failed: packet size not numeric")
            << Inputs{"23", "23", "1", "1", "5", "Miles", "5800", "54 Mbps", "abc"};
    }
    void SameTextsAsTheCommandLineTool() {
        QFETCH(Inputs, in);
        const QJsonObject cli = RunCli(in);
        QVERIFY2(!cli.isEmpty(), "the command-line tool gave no JSON");

        FrmOrlisCalc window;
        QList<Shown> shown;
        window.SetNoticePresenter([&](QMessageBox& box) {
            shown << Shown{box.text(), box.windowTitle()};
        });
        Fill(window, in);
        Calc(window);

        const QJsonObject fields = cli.value("fields").toObject();
        QCOMPARE(fields.size(), qsizetype(kFieldCount));
        for (const FieldInfo& info : kFields) {
            QCOMPARE(TextOf(window, info.field), fields.value(ControlName(info.field)).toString());
        }
        const QString outcome = cli.value("outcome").toString();
        QCOMPARE(shown.size(), outcome == "completed" ? 0 : 1);
        if (outcome == "completed") return;
        const QJsonObject said = cli.value(outcome == "stopped" ? "notice" : "failure").toObject();
        QCOMPARE(shown[0].text, said.value("message").toString().replace("\r\n", "\n"));
        QCOMPARE(shown[0].title, outcome == "stopped" ? said.value("title").toString() : "ZIDORER");
        QCOMPARE(window.focusWidget()->objectName(), said.value("focus").toString());
    }

    void RunningTwiceGivesTheSameSheet() {
        FrmOrlisCalc window;
        Fill(window, Inputs{"28", "28", "-2.5", "-3.5", "-3.2", "Km", "5300", "24 Mbps", ""});
        Calc(window);
        const QStringList first = SheetTexts(window);
        Calc(window);
        QCOMPARE(SheetTexts(window), first);
    }

    // The real modal box, closed from a timer as a user would close it.
    void ANoticeIsAModalBoxWithOneOkAndNoIcon() {
        FrmOrlisCalc window;
        QVERIFY(ShowActive(window));
        Fill(window, Inputs{"20", "", "1", "", "12abc", "Miles", "", "", ""});

        bool seen = false;
        QTimer poll;
        poll.setInterval(10);
        connect(&poll, &QTimer::timeout, this, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            poll.stop();
            seen = true;
            QCOMPARE(box->text(), QStringLiteral("You must enter a numeric value\n"
                                                 "This value should be in miles or KM."));
            QCOMPARE(box->windowTitle(), QStringLiteral("Invalid Input!"));
            QCOMPARE(box->icon(), QMessageBox::NoIcon);
            QVERIFY(box->iconPixmap().isNull());
            QCOMPARE(box->buttons().size(), 1);
            QAbstractButton* ok = box->buttons().first();
            QCOMPARE(box->buttonRole(ok), QMessageBox::AcceptRole);
            QCOMPARE(ok->text().remove(u'&'), QStringLiteral("OK"));
            QVERIFY(ok->icon().isNull());
            QVERIFY(box->isModal());
            QCOMPARE(box->font(), window.font());
            auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
            QVERIFY(label);
            QCOMPARE(QFontInfo(label->font()).family(), QStringLiteral("DejaVu Sans"));
            QCOMPARE(label->font().pixelSize(), 11);
            QVERIFY(label->font().bold());
            ok->click();
        });
        poll.start();
        QTimer::singleShot(10000, [] {  // never hang, whatever went wrong
            if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
        });
        Calc(window);
        QVERIFY(seen);
        QCOMPARE(window.focusWidget()->objectName(), QStringLiteral("TxtDM"));
        QCOMPARE(ControlAs<QLineEdit>(window, "TxtDM")->selectedText(), QStringLiteral("12abc"));
        // The desktop gives the window back its activation; the selection survives that.
        window.activateWindow();
        QTRY_COMPARE(FocusedControl(window), QStringLiteral("TxtDM"));
        QCOMPARE(ControlAs<QLineEdit>(window, "TxtDM")->selectedText(), QStringLiteral("12abc"));
    }

    void NoticesMoveTheFocus_data() {
        QTest::addColumn<Inputs>("in");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("focus");
        QTest::newRow("first run") << Inputs{} << "Select an antenna."
                                   << "Invalid Input!"
                                   << "TxtAntG";
        QTest::newRow("no application title of its own")
            << Inputs{"-3", "", "1", "", "", "", "", "", ""}
            << "Enter a none negative numeric value for antenna 1.\nInvalid Input!"
            << "ZIDORER"
            << "TxtAntG";
        QTest::newRow("missing cable loss 2")
            << Inputs{"23", "20", "1", "0", "5", "Miles", "5800", "54 Mbps", ""}
            << "Enter correct cable loss"
            << "Missing Input!"
            << "TxtCblLoss2";
        QTest::newRow("no speed") << Inputs{"23", "23", "1", "1", "5", "Km", "5800", "", ""}
                                  << "Select a speed."
                                  << "Invalid Input!"
                                  << "CmbSlcSpeed";
    }
    void NoticesMoveTheFocus() {
        QFETCH(Inputs, in);
        QFETCH(QString, text);
        QFETCH(QString, title);
        QFETCH(QString, focus);
        FrmOrlisCalc window;
        QVERIFY(ShowActive(window));
        QList<Shown> shown;
        window.SetNoticePresenter([&](QMessageBox& box) {
            shown << Shown{box.text(), box.windowTitle()};
        });
        Fill(window, in);
        Calc(window);
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].text, text);
        QCOMPARE(shown[0].title, title);
        QCOMPARE(FocusedControl(window), focus);
        for (const QLineEdit* box : window.findChildren<QLineEdit*>()) {
            QVERIFY2(!box->hasSelectedText(), qPrintable(box->objectName()));
        }
    }

    void ARunFailureLeavesTheResults_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        QTest::newRow("distance 0") << "TxtDM"
                                    << "0"
                                    << "The distance must be greater than zero.";
        QTest::newRow("packet size letters") << "Txtepksz"
                                             << "abc"
                                             << "The packet size must be a number of bytes.";
    }
    void ARunFailureLeavesTheResults() {
        QFETCH(QString, field);
        QFETCH(QString, text);
        QFETCH(QString, message);
        FrmOrlisCalc window;
        QVERIFY(ShowActive(window));
        QList<Shown> shown;
        window.SetNoticePresenter([&](QMessageBox& box) {
            shown << Shown{box.text(), box.windowTitle()};
        });
        Fill(window, kGoodLink);
        Calc(window);
        QCOMPARE(shown.size(), 0);
        const QStringList results = Results(window);
        const RunValues values = RunValuesOf(window);

        ControlAs<QLineEdit>(window, field)->setText(text);
        Calc(window);
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].text, message);
        QCOMPARE(shown[0].title, QStringLiteral("ZIDORER"));
        QCOMPARE(FocusedControl(window), field);
        QCOMPARE(Results(window), results);
        QCOMPARE(RunValuesOf(window).FrequencyMHz, values.FrequencyMHz);
    }
};

QTEST_MAIN(WindowRunTest)
#include "window_run_test.moc"
