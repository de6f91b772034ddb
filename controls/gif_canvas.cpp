#include "gif_canvas.h"

#include <QByteArrayView>
#include <QPainter>

#include "gif_walker.h"

QImage loadPicture(std::span<const uint8_t> bytes) {
    if (bytes.empty()) {
        return {};
    }
    return QImage::fromData(
        QByteArrayView(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size())));
}

namespace {

// The loader places a frame on the whole logical screen it finds in the stream; the canvas
// places frames itself, so only the frame's own image is kept.
QImage frameImage(QImage decoded, const QRect& frameRect) {
    if (decoded.isNull() || decoded.size() == frameRect.size()) {
        return decoded;
    }
    if (QRect(QPoint(0, 0), decoded.size()).contains(frameRect)) {
        return decoded.copy(frameRect);
    }
    return decoded;
}

}  // namespace

std::vector<GifFrame> loadGifFrames(std::span<const uint8_t> gifBytes) {
    std::vector<GifFrame> frames;
    gif::GifWalker walker(gifBytes);
    while (auto stream = walker.extractFrame()) {
        GifFrame frame{{},
                       stream->frameWidth,
                       stream->frameHeight,
                       stream->frameLeft,
                       stream->frameTop,
                       stream->delay,
                       stream->disposal};
        frame.picture = frameImage(loadPicture(stream->bytes), frame.rect());
        if (!frame.picture.isNull()) {
            frames.push_back(std::move(frame));
        }
    }
    return frames;
}

bool GifCanvas::prepare(QSize size, QColor fillColour, QColor clearColour) {
    release();
    if (size.isEmpty()) {
        return false;
    }
    surface_ = QImage(size, QImage::Format_RGB32);
    if (surface_.isNull()) {
        return false;
    }
    surface_.fill(fillColour);
    clearColour_ = clearColour;
    return true;
}

void GifCanvas::release() {
    surface_ = QImage();
    savedArea_ = QImage();
    clearColour_ = Qt::white;
}

bool GifCanvas::drawPicture(const QImage& picture, const QRect& target) {
    if (surface_.isNull() || picture.isNull() || target.isEmpty()) {
        return false;
    }
    QPainter painter(&surface_);
    painter.drawImage(target, picture);
    return true;
}

bool GifCanvas::drawFrame(const GifFrame& frame) {
    if (frame.disposal == 3 && !surface_.isNull()) {
        savedArea_ = surface_.copy(frame.rect());
    }
    return drawPicture(frame.picture, frame.rect());
}

void GifCanvas::disposeFrame(const GifFrame& frame) {
    if (frame.disposal == 2) {
        fill(frame.rect(), clearColour_);
    } else if (frame.disposal == 3 && !savedArea_.isNull() && !surface_.isNull()) {
        QPainter painter(&surface_);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(frame.rect().topLeft(), savedArea_);
        savedArea_ = QImage();
    }
}

void GifCanvas::clearAll() {
    fill(surface_.rect(), clearColour_);
}

void GifCanvas::fill(const QRect& rect, QColor colour) {
    if (surface_.isNull()) {
        return;
    }
    QPainter painter(&surface_);
    painter.fillRect(rect, colour);
}
