#include <QTest>

#include "app_art.h"
#include "dialog_support.h"
#include "korvex_dlg.h"
#include "tab_control.h"

namespace {

QImage imageOf(const QIcon& icon, int side) {
    return icon.pixmap(QSize(side, side), 1.0).toImage().convertToFormat(QImage::Format_ARGB32);
}

// The share of the picture's pixels that show something (not fully transparent).
double coverage(const QImage& image) {
    int shown = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            shown += qAlpha(image.pixel(x, y)) > 0 ? 1 : 0;
        }
    }
    return double(shown) / (image.width() * image.height());
}

}  // namespace

class ArtTest : public QObject {
    Q_OBJECT

private slots:
    void tabPicturesAreFiveDistinctDrawings();
    void tabsShowTheFirstAndLastPicture();
    void gearStates_data();
    void gearStates();
    void programIconSizes();
};

// White is the strip's transparent colour: the corners disappear, the drawing stays.
void ArtTest::tabPicturesAreFiveDistinctDrawings() {
    const QList<QIcon> pictures = tabImages();
    QCOMPARE(pictures.size(), 5);
    QList<QImage> images;
    for (const QIcon& picture : pictures) {
        const QImage image = imageOf(picture, 64);
        QCOMPARE(image.size(), QSize(64, 64));
        QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
        QCOMPARE(qAlpha(image.pixel(63, 63)), 0);
        const double covered = coverage(image);
        QVERIFY2(covered > 0.2 && covered < 0.95, qPrintable(QString::number(covered)));
        QVERIFY(!images.contains(image));
        images << image;
        QCOMPARE(picture.pixmap(QSize(64, 64), 2.0).size(), QSize(128, 128));
    }
}

void ArtTest::tabsShowTheFirstAndLastPicture() {
    CKorvexDlg dialog;
    const QList<QIcon> pictures = tabImages();
    QTabBar* bar = control<CTabControl>(&dialog, 1000)->tabBar();
    QCOMPARE(bar->count(), 2);
    QCOMPARE(imageOf(bar->tabIcon(0), 64), imageOf(pictures[0], 64));
    QCOMPARE(imageOf(bar->tabIcon(1), 64), imageOf(pictures[4], 64));
    QVERIFY(bar->tabText(0).isEmpty());
    QVERIFY(bar->tabText(1).isEmpty());
}

void ArtTest::gearStates_data() {
    QTest::addColumn<int>("id");
    QTest::newRow("normal") << 135;
    QTest::newRow("pressed") << 136;
    QTest::newRow("focused") << 137;
}

void ArtTest::gearStates() {
    QFETCH(int, id);
    const QPixmap gear = bitmapResource(id);
    QCOMPARE(gear.deviceIndependentSize().toSize(), QSize(24, 24));
    QVERIFY(coverage(gear.toImage().convertToFormat(QImage::Format_ARGB32)) > 0.3);
    for (int other : {135, 136, 137}) {
        if (other != id) {
            QVERIFY(bitmapResource(other).toImage() != gear.toImage());
        }
    }
}

void ArtTest::programIconSizes() {
    const QIcon icon = programIcon();
    for (int side : {16, 32, 48, 256}) {
        QCOMPARE(icon.pixmap(QSize(side, side), 1.0).size(), QSize(side, side));
    }
}

QTEST_MAIN(ArtTest)
#include "art_test.moc"
