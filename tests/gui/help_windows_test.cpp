// The two help windows: their texts, the pictures of the main window and the step markers
// over them, focus and closing keys.
#include <QFontMetrics>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <memory>

#include "gui_test_support.h"
#include "windows/caption_wrap.h"
#include "windows/help_windows.h"

using namespace linkcalc;
using namespace linkcalc::windows;
using namespace linkcalc::windows::test;

namespace {

std::unique_ptr<SecondaryWindow> Build(const QString& window) {
    if (window == "FrmInptHlp") return std::make_unique<FrmInptHlp>();
    return std::make_unique<Frmhlp>();
}

// Where each picture's area lies in the main window, in pixels.
QRect AreaOf(const QString& window) {
    return window == "FrmInptHlp" ? QRect(26, 132, 597, 194) : QRect(25, 331, 644, 307);
}

QString PictureOf(const QString& window) {
    return window == "FrmInptHlp" ? "Pcthlp1" : "Picture1";
}

bool IsMarkerRed(const QColor& colour) {
    return colour.red() > 200 && colour.green() < 80 && colour.blue() < 80;
}

}  // namespace

class HelpWindowsTest : public QObject {
    Q_OBJECT

  private slots:
    void Texts_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        const auto row = [](const char* window, const char* name, const char* text) {
            QTest::newRow(name) << QString::fromLatin1(window) << QString::fromLatin1(name)
                                << QString::fromLatin1(text);
        };
        row("FrmInptHlp", "Lbl1Ihlp",
            "1. Input antenna gain under \"Select Antenna 1 and Select Antenna 2 Type\".  Or click "
            "on \"Select Certified Antennas\" to pick Mervane Recomended antenas.");
        row("FrmInptHlp", "Lbl2Ihlp",
            "2. Select Distance type from the drop down list; Miles or Km and input the distance "
            "on "
            "the box immidiately under the drop down list box. ");
        row("FrmInptHlp", "Lbl3Ihlp",
            "3. Select frequency from the \"Select Frequency (GHz)\" drop down list.");
        row("FrmInptHlp", "Lbl4Ihlp", "4. Input packet size under the \"Enter Packet Size\" box.");
        row("FrmInptHlp", "Lbl9Ihlp",
            "5. Select Throughput under the \"Select Speed\" drop down list.");
        row("FrmInptHlp", "Lbl5Ihlp",
            "6. Enter cable loss according to the type of cable on the frequency been used.");
        row("FrmInptHlp", "Lbl6Ihlp", "7. Click on \"Calc\" icon to run the calculation.");
        row("FrmInptHlp", "CmdExit", "E&xit");
        row("Frmhlp", "LblH1",
            "1. EIRP is the sum of the Tx power + the cable loss + Antenna gain ");
        row("Frmhlp", "LblH2",
            "2. Max Transmit powerwill be restricted by the \"Select Speed\" and cannot be "
            "exceeded "
            "to avoid bit errors.");
        row("Frmhlp", "LblH3",
            "3. The expected RSSI is the target value during antenna alignment.");
        row("Frmhlp", "LblH4",
            "4. Maximum Noise Floor, RSSI signal has to be at least 5dB stronger than this value.");
        row("Frmhlp", "LblH5",
            "5. C/I; this is the minimum separtion between the RSSI and the noise floor level to "
            "maintain the selected speed. ");
        row("Frmhlp", "LblH6",
            "6. Fade Margin; total amount of signal the link can loose before having bit errors "
            "and "
            "possible signal loss.                ");
        row("Frmhlp", "LblH7",
            "7.The Suggested antenna height is the minimum height the antenna should be at to meet "
            "the required fresnel zone.");
        row("Frmhlp", "LblH8",
            "8. Expected Bit Rate will be the actual sustain speed at the distance entered");
        row("Frmhlp", "Command1", "Exit");
    }
    void Texts() {
        QFETCH(QString, window);
        QFETCH(QString, name);
        QFETCH(QString, text);
        const auto built = Build(window);
        QWidget* control = built->Control(name);
        if (auto* label = qobject_cast<QLabel*>(control)) {
            QCOMPARE(label->text(), text);
        } else {
            QCOMPARE(qobject_cast<QPushButton*>(control)->text(), text);
        }
    }

    // Every line a text breaks into is visible within its label.
    void TextsFitTheirLabels_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("lines");
        const auto row = [](const char* window, const char* name, int lines) {
            QTest::newRow(name) << QString::fromLatin1(window) << QString::fromLatin1(name)
                                << lines;
        };
        row("FrmInptHlp", "Lbl1Ihlp", 2);
        row("FrmInptHlp", "Lbl2Ihlp", 2);
        row("FrmInptHlp", "Lbl3Ihlp", 1);
        row("FrmInptHlp", "Lbl4Ihlp", 1);
        row("FrmInptHlp", "Lbl9Ihlp", 1);
        row("FrmInptHlp", "Lbl5Ihlp", 1);
        row("FrmInptHlp", "Lbl6Ihlp", 1);
        row("Frmhlp", "LblH1", 1);
        row("Frmhlp", "LblH2", 2);
        row("Frmhlp", "LblH3", 1);
        row("Frmhlp", "LblH4", 2);
        row("Frmhlp", "LblH5", 2);
        row("Frmhlp", "LblH6", 2);
        row("Frmhlp", "LblH7", 2);
        row("Frmhlp", "LblH8", 1);
    }
    void TextsFitTheirLabels() {
        QFETCH(QString, window);
        QFETCH(QString, name);
        QFETCH(int, lines);
        const auto built = Build(window);
        auto* label = ControlAs<QLabel>(*built, name);
        QVERIFY(label->wordWrap());
        const QRect area = label->contentsRect();
        QCOMPARE(WrappedLines(label->text(), label->font(), area.width()).size(), lines);
        const QFontMetrics metrics(label->font());
        QVERIFY2((lines - 1) * metrics.lineSpacing() + metrics.ascent() <= area.height(),
                 "the last line is cut off");
    }

    // Each marker: a red digit on grey, or on the button face where it sits on a button, over
    // the picture at the place its row gives; `target` is what it points at in the main window.
    void Markers_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("digit");
        QTest::addColumn<QRect>("pixels");
        QTest::addColumn<bool>("buttonFace");
        QTest::addColumn<QString>("target");
        const auto row = [](const char* window, const char* name, const char* digit, QRect pixels,
                            bool buttonFace, const char* target) {
            QTest::newRow(name) << QString::fromLatin1(window) << QString::fromLatin1(name)
                                << QString::fromLatin1(digit) << pixels << buttonFace
                                << QString::fromLatin1(target);
        };
        row("FrmInptHlp", "Lbl7Ihlp", "1", QRect(8, 40, 17, 17), false, "LblAntenna1");
        row("FrmInptHlp", "Lbl12Ihlp", "1", QRect(480, 40, 17, 17), false, "LblAntenna2");
        row("FrmInptHlp", "Lbl13Ihlp", "1", QRect(240, 104, 17, 17), true, "CmdLdantenna");
        row("FrmInptHlp", "LblIhlp8", "2", QRect(120, 16, 25, 17), false, "LblDistane");
        row("FrmInptHlp", "Label1", "3", QRect(240, 40, 25, 17), false, "LblFRQ");
        row("FrmInptHlp", "Lbl10Ihlp", "4", QRect(120, 88, 25, 17), false, "LblPckSz");
        row("FrmInptHlp", "Lbl11Ihlp", "5", QRect(360, 40, 25, 17), false, "LblSpeed");
        row("FrmInptHlp", "Lbl14Ihlp", "6", QRect(40, 104, 25, 17), false, "LblCblLoss");
        row("FrmInptHlp", "Lbl15Ihlp", "6", QRect(520, 104, 17, 17), false, "LblCblLoss2");
        row("FrmInptHlp", "Lbl16Ihlp", "7", QRect(328, 160, 17, 17), true, "CmdCalc");
        row("Frmhlp", "Lbl1H_1", "1", QRect(96, 32, 17, 25), false, "TxtEIRP1");
        row("Frmhlp", "Lbl1H_2", "1", QRect(280, 32, 17, 25), true, "TxtEIRP2");
        row("Frmhlp", "Lbl2H_1", "2", QRect(96, 88, 17, 17), false, "TxtMTP");
        row("Frmhlp", "Lbl2H_2", "2", QRect(280, 88, 17, 17), false, "TxtMTP2");
        row("Frmhlp", "Lbl3H_1", "3", QRect(96, 136, 17, 17), false, "TxtERSSI");
        row("Frmhlp", "Lbl3H_2", "3", QRect(280, 136, 17, 17), false, "TxtERSSI2");
        row("Frmhlp", "Lbl4H_1", "4", QRect(96, 184, 17, 17), false, "TxtRNFL2");
        row("Frmhlp", "Lbl4H_2", "4", QRect(280, 184, 17, 17), false, "TxtRNFL");
        row("Frmhlp", "Lbl5H_1", "5", QRect(96, 224, 17, 17), false, "TxtRECI");
        row("Frmhlp", "Lbl6H_1", "6", QRect(280, 232, 17, 17), false, "TxtFM");
        row("Frmhlp", "Lbl7H_1", "7", QRect(496, 184, 17, 17), false, "TxtSAH");
        row("Frmhlp", "Lbl8H_1", "8", QRect(432, 216, 17, 17), false, "FrmBitRate");
    }
    void Markers() {
        QFETCH(QString, window);
        QFETCH(QString, name);
        QFETCH(QString, digit);
        QFETCH(QRect, pixels);
        QFETCH(bool, buttonFace);
        const auto built = Build(window);
        auto* marker = ControlAs<QLabel>(*built, name);
        QVERIFY(marker);
        QCOMPARE(marker->parentWidget(), built->Control(PictureOf(window)));
        QCOMPARE(marker->geometry(), pixels);
        QCOMPARE(marker->text(), digit);
        QCOMPARE(marker->font().pixelSize(), 15);
        QVERIFY(marker->font().bold());
        QCOMPARE(int(marker->alignment() & Qt::AlignHorizontal_Mask), int(Qt::AlignHCenter));
        QCOMPARE(marker->palette().color(QPalette::WindowText), QColor(255, 0, 0));

        // Drawn over the picture: its back colour at its corner, its red digit inside.
        const QImage drawn = built->Control(PictureOf(window))->grab().toImage();
        const QColor back =
            buttonFace ? QApplication::palette().color(QPalette::Button) : QColor(224, 224, 224);
        QCOMPARE(drawn.pixelColor(pixels.topLeft()), back);
        int red = 0;
        for (int y = pixels.top(); y <= pixels.bottom(); ++y) {
            for (int x = pixels.left(); x <= pixels.right(); ++x) {
                red += IsMarkerRed(drawn.pixelColor(x, y)) ? 1 : 0;
            }
        }
        QVERIFY2(red >= 10, qPrintable(QStringLiteral("%1 red pixels").arg(red)));
    }

    // Over the picture a marker covers part of what its step speaks of.
    void MarkersPointAtTheirTargets_data() { Markers_data(); }
    void MarkersPointAtTheirTargets() {
        QFETCH(QString, window);
        QFETCH(QRect, pixels);
        QFETCH(QString, target);
        const FrmOrlisCalc mainWindow;
        QWidget* pointedAt = mainWindow.Control(target);
        const QRect targetArea(pointedAt->mapTo(&mainWindow, QPoint(0, 0)), pointedAt->size());
        QVERIFY(targetArea.intersects(pixels.translated(AreaOf(window).topLeft())));
    }

    // The picture is the named area of a main window just opened, even while the one on the
    // screen holds a calculated link.
    void ThePicturesShowAnEmptyMainWindow_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("button");
        QTest::newRow("FrmInptHlp") << "FrmInptHlp"
                                    << "CmdHelp2";
        QTest::newRow("Frmhlp") << "Frmhlp"
                                << "CmdHelp1";
    }
    void ThePicturesShowAnEmptyMainWindow() {
        QFETCH(QString, window);
        QFETCH(QString, button);
        Counted counted;
        FillKilometreLink(counted.window);
        QTest::mouseClick(counted.window.Control(QStringLiteral("CmdCalc")), Qt::LeftButton);
        QVERIFY(!QString::fromStdString(counted.window.Text(Field::TxtFM)).isEmpty());
        QVERIFY(ShowActive(counted.window));

        SecondaryWindow* help = OpenThrough(counted.window, button, window);
        QVERIFY(help);
        const QImage shown = ControlAs<QLabel>(*help, PictureOf(window))->pixmap().toImage();
        QCOMPARE(shown.size(), AreaOf(window).size());
        FrmOrlisCalc empty;
        const QImage expected = empty.grab(AreaOf(window)).toImage();
        QCOMPARE(shown.convertToFormat(QImage::Format_RGB32),
                 expected.convertToFormat(QImage::Format_RGB32));
        const QImage filled = counted.window.grab(AreaOf(window)).toImage();
        QVERIFY(filled.convertToFormat(QImage::Format_RGB32) !=
                expected.convertToFormat(QImage::Format_RGB32));
    }

    // Drawn from the picture box's top-left corner, at one picture pixel per screen pixel.
    void ThePicturesAreDrawnFromTheTopLeft_data() { ThePicturesShowAnEmptyMainWindow_data(); }
    void ThePicturesAreDrawnFromTheTopLeft() {
        QFETCH(QString, window);
        const auto built = Build(window);
        auto* picture = ControlAs<QLabel>(*built, PictureOf(window));
        QCOMPARE(picture->alignment(), Qt::AlignLeft | Qt::AlignTop);
        QVERIFY(!picture->hasScaledContents());
        const QImage image = picture->pixmap().toImage();
        const QImage drawn = picture->grab().toImage();
        for (const QPoint at : {QPoint(0, 0), QPoint(300, 5), QPoint(5, 150)}) {
            QCOMPARE(drawn.pixelColor(at), image.pixelColor(at));
        }
    }

    void TheKeyboardClosesThem_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("focus");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::newRow("input help, Alt+X") << "FrmInptHlp"
                                           << "CmdHelp2"
                                           << "CmdExit" << int(Qt::Key_X) << int(Qt::AltModifier);
        QTest::newRow("input help, Enter") << "FrmInptHlp"
                                           << "CmdHelp2"
                                           << "CmdExit" << int(Qt::Key_Return) << 0;
        QTest::newRow("result help, Enter") << "Frmhlp"
                                            << "CmdHelp1"
                                            << "Command1" << int(Qt::Key_Return) << 0;
        QTest::newRow("result help, Space") << "Frmhlp"
                                            << "CmdHelp1"
                                            << "Command1" << int(Qt::Key_Space) << 0;
    }
    void TheKeyboardClosesThem() {
        QFETCH(QString, window);
        QFETCH(QString, button);
        QFETCH(QString, focus);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        Counted counted;
        QVERIFY(ShowActive(counted.window));
        QPointer<SecondaryWindow> help = OpenThrough(counted.window, button, window);
        QTRY_COMPARE(QApplication::activeWindow(), help.data());
        QCOMPARE(FocusedControl(*help), focus);
        QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(key),
                        static_cast<Qt::KeyboardModifiers>(modifiers));
        QTRY_VERIFY(help.isNull());
        QVERIFY(counted.window.isVisible());  // Alt+X here is not the main window's Exit
        QCOMPARE(counted.ends, 0);
    }

    // The exit button is the one control that takes the focus.
    void TabStaysOnTheExitButton_data() { ThePicturesShowAnEmptyMainWindow_data(); }
    void TabStaysOnTheExitButton() {
        QFETCH(QString, window);
        const auto built = Build(window);
        QVERIFY(ShowActive(*built));
        const QString exit = FocusedControl(*built);
        QVERIFY(!exit.isEmpty());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(FocusedControl(*built), exit);
    }

    void NoIconOfTheirOwn_data() { ThePicturesShowAnEmptyMainWindow_data(); }
    void NoIconOfTheirOwn() {
        QFETCH(QString, window);
        const auto built = Build(window);
        QCOMPARE(built->windowIcon().cacheKey(), QApplication::windowIcon().cacheKey());
    }
};

QTEST_MAIN(HelpWindowsTest)
#include "help_windows_test.moc"
