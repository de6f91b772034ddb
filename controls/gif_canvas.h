// The off-screen surface that an animated picture is composed on, with the frame disposal
// rules. It holds no lock itself: its owner serialises the animation thread and painting.
#pragma once

#include <QColor>
#include <QImage>
#include <QRect>

#include <cstdint>
#include <span>
#include <vector>

// One decoded animation frame and the fields its GIF blocks gave it.
struct GifFrame {
    QImage picture;
    int32_t frameWidth = 0;
    int32_t frameHeight = 0;
    int32_t frameLeft = 0;
    int32_t frameTop = 0;
    uint32_t delay = 0;
    uint32_t disposal = 0;

    QRect rect() const { return QRect(frameLeft, frameTop, frameWidth, frameHeight); }
};

// Decodes a buffer with the platform's picture loader (GIF, BMP, PNG, JPEG...).
QImage loadPicture(std::span<const uint8_t> bytes);

// Splits an animated GIF into decoded frames. Frames the loader rejects are dropped.
std::vector<GifFrame> loadGifFrames(std::span<const uint8_t> gifBytes);

class GifCanvas {
public:
    // Creates the surface filled with fillColour; clearColour is used from then on.
    bool prepare(QSize size, QColor fillColour, QColor clearColour);
    void release();

    bool ready() const { return !surface_.isNull(); }
    const QImage& surface() const { return surface_; }
    QColor clearColour() const { return clearColour_; }
    bool hasSavedArea() const { return !savedArea_.isNull(); }

    // Draws a picture scaled into the target; transparent pixels leave the surface as it was.
    bool drawPicture(const QImage& picture, const QRect& target);
    // Keeps the pixels under a restore-to-previous frame, then draws the frame.
    bool drawFrame(const GifFrame& frame);
    // Undoes a frame after its delay as its disposal method asks.
    void disposeFrame(const GifFrame& frame);
    // Every pass of an animation starts on a cleared picture.
    void clearAll();

private:
    void fill(const QRect& rect, QColor colour);

    QImage surface_;
    QImage savedArea_;
    QColor clearColour_ = Qt::white;
};
