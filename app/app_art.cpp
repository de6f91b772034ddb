#include "app_art.h"

#include <QFile>
#include <QGuiApplication>
#include <QImage>

namespace {

constexpr int kTabPictureCount = 5;
constexpr QRgb kTransparentColour = 0xFFFFFFFF;

QString bitmapPath(int id, bool doubled) {
    return QStringLiteral(":/bitmap/%1%2.png").arg(id).arg(doubled ? "@2x" : "");
}

bool wantsDoubled() {
    return qGuiApp && qGuiApp->devicePixelRatio() > 1.0;
}

QImage withoutWhite(const QImage& source) {
    QImage image = source.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (line[x] == kTransparentColour) {
                line[x] = 0;
            }
        }
    }
    return image;
}

// Adds the strip's pictures of one scale to the icons.
void addStrip(QList<QIcon>& icons, const QString& path, qreal ratio) {
    const QImage strip = withoutWhite(QImage(path));
    if (strip.isNull()) {
        return;
    }
    const int side = strip.height();
    for (int i = 0; i < kTabPictureCount && (i + 1) * side <= strip.width(); ++i) {
        QPixmap picture = QPixmap::fromImage(strip.copy(i * side, 0, side, side));
        picture.setDevicePixelRatio(ratio);
        icons[i].addPixmap(picture);
    }
}

}  // namespace

QList<QIcon> tabImages() {
    QList<QIcon> icons(kTabPictureCount);
    addStrip(icons, bitmapPath(131, false), 1.0);
    addStrip(icons, bitmapPath(131, true), 2.0);
    return icons;
}

QPixmap bitmapResource(int id) {
    if (wantsDoubled() && QFile::exists(bitmapPath(id, true))) {
        QPixmap doubled(bitmapPath(id, true));
        doubled.setDevicePixelRatio(2.0);
        return doubled;
    }
    return QPixmap(bitmapPath(id, false));
}

QIcon programIcon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        icon.addFile(QStringLiteral(":/icon/128-%1.png").arg(size), QSize(size, size));
    }
    return icon;
}
