// The application icon and the logo built into the program.
#include <QImageReader>
#include <QLabel>
#include <QTest>

#include "gui_test_support.h"

using namespace linkcalc::windows;
using namespace linkcalc::windows::test;

class PicturesTest : public QObject {
    Q_OBJECT

  private slots:
    // One icon resource, seven images: 16 (8 and 24 bits), 32 and 48 (8 and 32 bits), and
    // 256 (32 bits, PNG-compressed).
    void TheIconHoldsSevenImages() {
        FrmOrlisCalc window;  // registers the pictures
        const QList<IconEntry> entries = IconEntries(QStringLiteral(":/icons/quarn.ico"));
        const QList<QPair<int, int>> expected{{16, 8}, {16, 24}, {32, 8},  {32, 32},
                                              {48, 8}, {48, 32}, {256, 32}};
        QCOMPARE(entries.size(), expected.size());
        for (int i = 0; i < expected.size(); ++i) {
            QCOMPARE(entries[i].size, expected[i].first);
            QCOMPARE(entries[i].bitsPerPixel, expected[i].second);
            QCOMPARE(entries[i].image.startsWith("\x89PNG"), expected[i].first == 256);
        }
        QImageReader reader(QStringLiteral(":/icons/quarn.ico"));
        QCOMPARE(reader.imageCount(), 7);
    }

    void TheWindowShowsTheIconInEverySize() {
        FrmOrlisCalc window;
        const QList<QSize> sizes = window.windowIcon().availableSizes();
        for (const int side : {16, 32, 48, 256}) QVERIFY(sizes.contains(QSize(side, side)));
    }

    void TheLogoIsAGifClippedToItsBox() {
        FrmOrlisCalc window;
        QImageReader reader(QStringLiteral(":/images/logo.gif"));
        QCOMPARE(reader.format(), QByteArray("gif"));
        QCOMPARE(reader.size(), QSize(210, 68));
        auto* picture = ControlAs<QLabel>(window, QStringLiteral("Picture1"));
        QCOMPARE(picture->pixmap().size(), QSize(210, 68));
        QCOMPARE(picture->alignment(), Qt::AlignLeft | Qt::AlignTop);
        QVERIFY(!picture->hasScaledContents());
        // Drawn from the box's top-left corner: the logo's first pixel is the box's.
        const QImage logo = reader.read();
        QCOMPARE(picture->grab().toImage().pixelColor(0, 0), logo.pixelColor(0, 0));
    }
};

QTEST_MAIN(PicturesTest)
#include "pictures_test.moc"
