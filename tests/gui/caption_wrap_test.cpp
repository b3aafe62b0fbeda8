// Captions break into the lines the window's tables show, in the stand-in faces.
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "gui_test_support.h"
#include "windows/caption_wrap.h"

using namespace linkcalc::windows;
using namespace linkcalc::windows::test;

class CaptionWrapTest : public QObject {
    Q_OBJECT

  private slots:
    void LabelsBreakAsShown_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("lines");
        const auto row = [](const char* name, QStringList lines) {
            QTest::newRow(name) << QString::fromLatin1(name) << lines;
        };
        row("LblAntenna1", {"Select", "Antenna 1", "Type"});
        row("LblDistane", {"Enter", "Distance"});
        row("LblFRQ", {"Select", "Frequency", "(GHz)"});
        row("LblSpeed", {"Select", "Speed"});
        row("LblAntenna2", {"Select", "Antenna 2", "Type"});
        row("LblCblLoss", {"Cable Loss", "Antenna 1"});
        row("LblPckSz", {"Enter", "Packet Size"});
        row("LblReqSS", {"Receiver", "Sensitivity"});
        row("LblCblLoss2", {"Cable Loss", "Antenna 2"});
        row("LblMTP", {"Max", "Transmit", "Power 1"});
        row("LblMTP2", {"Max", "Transmit", "Power 2"});
        row("LblERSSI1", {"Expected", "RSSI 1"});
        row("LblERSSI2", {"Expected", "RSSI 2"});
        row("LblRNFL2", {"Maximum", "Noise", "Floor"});
        row("LblRNFL", {"Maximum", "Noise", "Floor"});
        row("LblCI", {"Required", "C/I"});
        row("LblFadeMargin", {"Fade", "Margin"});
        row("LblFSL", {"Free Space", "Loss"});
        row("LblFR", {"Fresnel", "Radius"});
        row("LblEC", {"Earth", "Curvature"});
        row("LblSAH", {"Suggested", "Antenna", "Height"});
        // One line each
        row("LblALBC", {"Link Budget Calculator"});
        row("LblLB", {"4.9 - 5.8GHz"});
        row("LblSd1", {"Side 1"});
        row("LblEIRP1", {"EIRP Ant 1"});
        row("LblEIRP2", {"EIRP Ant 2"});
        row("lbldBm1", {"dBm"});
        row("LbldB1", {"dB"});
        row("Lblft1", {"ft"});
        row("LblBitRtRslts", {"Expected Bit Rate"});
        row("LblUnirate", {"Unidirectional"});
        row("LblBidirect", {"Bidirectional"});
        row("LblWebLink", {"http://www.mervane.com"});
        row("LblTch1", {"Provided by"});
        row("LblTch2", {"Mervane Sales and Marketing"});
        row("LblTch3", {"Dec 12 , 2009"});
        row("LblRev", {"Rev. Beta"});
    }
    void LabelsBreakAsShown() {
        QFETCH(QString, name);
        QFETCH(QStringList, lines);
        FrmOrlisCalc window;
        auto* label = ControlAs<QLabel>(window, name);
        QVERIFY(label->wordWrap());
        const QRect area = label->contentsRect();
        QCOMPARE(WrappedLines(label->text(), label->font(), area.width()), lines);

        // The same number of lines as the label paints them, and all of them visible.
        const QFontMetrics metrics(label->font());
        const QRect painted =
            metrics.boundingRect(area, int(label->alignment()) | Qt::TextWordWrap, label->text());
        QCOMPARE(painted.height() / metrics.height(), lines.size());
        QVERIFY2((lines.size() - 1) * metrics.lineSpacing() + metrics.ascent() <= area.height(),
                 "the last line is cut off");
    }

    void TheAntennasButtonBreaksAsShown() {
        FrmOrlisCalc window;
        auto* button = ControlAs<QPushButton>(window, QStringLiteral("CmdLdantenna"));
        QCOMPARE(button->text().split(u'\n'), QStringList({"&Select", "Certified", "Antennas"}));
        const QFontMetrics metrics(button->font());
        QVERIFY(3 * metrics.lineSpacing() <= button->height());
    }

    void ShortButtonCaptionsStayOnOneLine_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::newRow("CmdCalc") << "CmdCalc"
                                 << "&Calc";
        QTest::newRow("CmdClear") << "CmdClear"
                                  << "Clea&r";
        QTest::newRow("CmdExit") << "CmdExit"
                                 << "E&xit";
        QTest::newRow("CmdHelp1") << "CmdHelp1"
                                  << "H&elp";
        QTest::newRow("CmdHelp2") << "CmdHelp2"
                                  << "&Help";
    }
    void ShortButtonCaptionsStayOnOneLine() {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        FrmOrlisCalc window;
        QCOMPARE(ControlAs<QPushButton>(window, name)->text(), caption);
    }

    void WrappingKeepsAccessKeysAndDropsBlanksAtBreaks_data() {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("width");
        QTest::addColumn<QString>("wrapped");
        QTest::newRow("mark in the first word") << "&One Two" << 40 << "&One\nTwo";
        QTest::newRow("mark in a later word") << "One T&wo" << 40 << "One\nT&wo";
        QTest::newRow("escaped ampersand") << "A && B" << 500 << "A && B";
        QTest::newRow("runs of blanks") << "  One     Two  " << 40 << "One\nTwo";
        QTest::newRow("wide enough") << "One Two" << 500 << "One Two";
        QTest::newRow("one line keeps its blanks") << "18 dBi " << 500 << "18 dBi ";
        QTest::newRow("empty") << "" << 40 << "";
    }
    void WrappingKeepsAccessKeysAndDropsBlanksAtBreaks() {
        QFETCH(QString, caption);
        QFETCH(int, width);
        QFETCH(QString, wrapped);
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(11);
        // The button keeps a margin on each side of its caption.
        QCOMPARE(WrappedButtonCaption(caption, font, width + 2 * kButtonCaptionMargin), wrapped);
    }
};

QTEST_MAIN(CaptionWrapTest)
#include "caption_wrap_test.moc"
