#include "app_art.h"

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <algorithm>
#include <vector>

namespace {

constexpr int kTabPictureCount = 5;

QString bitmapPath(int id, bool doubled) {
    return QStringLiteral(":/bitmap/%1%2.png").arg(id).arg(doubled ? "@2x" : "");
}

bool wantsDoubled() {
    return qGuiApp && qGuiApp->devicePixelRatio() > 1.0;
}

// How far a pixel is from white, 0 (white) to 255.
int distanceFromWhite(QRgb pixel) {
    return 255 - std::min({qRed(pixel), qGreen(pixel), qBlue(pixel)});
}

// The pixel with white taken out of it, as if it had been drawn on white with the returned
// opacity: the smooth edges of a picture drawn on white then blend into any background.
QRgb whiteToAlpha(QRgb pixel) {
    const int alpha = distanceFromWhite(pixel);
    if (alpha == 0) {
        return 0;
    }
    const auto unblend = [alpha](int channel) {
        return std::clamp(255 - (255 - channel) * 255 / alpha, 0, 255);
    };
    return qRgba(unblend(qRed(pixel)), unblend(qGreen(pixel)), unblend(qBlue(pixel)), alpha);
}

// White is the strip's transparent colour. Light pixels reached from the picture's edge
// through other light pixels are the smoothed rim of the drawing and become partly
// transparent; light areas enclosed by the drawing (paper) stay as they are.
QImage withoutWhite(const QImage& source) {
    constexpr int kLight = 96;
    QImage image = source.convertToFormat(QImage::Format_ARGB32);
    const int width = image.width();
    const int height = image.height();
    std::vector<bool> seen(static_cast<size_t>(width) * static_cast<size_t>(height));
    std::vector<QPoint> pending;
    for (int x = 0; x < width; ++x) {
        pending.push_back({x, 0});
        pending.push_back({x, height - 1});
    }
    for (int y = 0; y < height; ++y) {
        pending.push_back({0, y});
        pending.push_back({width - 1, y});
    }
    while (!pending.empty()) {
        const QPoint point = pending.back();
        pending.pop_back();
        if (point.x() < 0 || point.y() < 0 || point.x() >= width || point.y() >= height) {
            continue;
        }
        const size_t index = static_cast<size_t>(point.y()) * width + point.x();
        const QRgb pixel = image.pixel(point);
        if (seen[index] || distanceFromWhite(pixel) > kLight) {
            continue;
        }
        seen[index] = true;
        image.setPixel(point, whiteToAlpha(pixel));
        for (const QPoint step : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)}) {
            pending.push_back(point + step);
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
