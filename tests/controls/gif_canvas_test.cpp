#include "gif_canvas.h"

#include <QBuffer>
#include <QImageReader>
#include <QPainter>

#include <gtest/gtest.h>

#include "gif_builder.h"
#include "resource_bytes.h"

namespace {

const QColor kClear(0xEF, 0xEF, 0xEF);

// What Qt's own GIF reader composes for each frame, laid over the clear colour: an
// independent reference for our split-and-compose path.
std::vector<QImage> referenceFrames(const std::vector<uint8_t>& bytes) {
    QByteArray data(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
    QBuffer buffer(&data);
    QImageReader reader(&buffer, "gif");
    std::vector<QImage> frames;
    QImage frame;
    while (reader.read(&frame)) {
        QImage over(frame.size(), QImage::Format_RGB32);
        over.fill(kClear);
        QPainter(&over).drawImage(0, 0, frame);
        frames.push_back(over);
    }
    return frames;
}

bool allPixels(const QImage& image, const QRect& area, QColor colour) {
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (image.pixelColor(x, y) != colour) {
                return false;
            }
        }
    }
    return true;
}

TEST(GifCanvas, FramePicturesCoverOnlyTheirOwnImage) {
    for (const char* path : {":/gif/140.gif", ":/gif/142.gif"}) {
        for (const GifFrame& frame : loadGifFrames(resourceBytes(path))) {
            EXPECT_EQ(frame.picture.size(), frame.rect().size()) << path;
        }
    }
}

TEST(GifCanvas, LeftInPlaceFramesAccumulateThenThePassClears) {
    const auto bytes = resourceBytes(":/gif/140.gif");
    const auto frames = loadGifFrames(bytes);
    const auto reference = referenceFrames(bytes);
    ASSERT_EQ(frames.size(), 13u);
    ASSERT_EQ(reference.size(), 13u);
    GifCanvas canvas;
    ASSERT_TRUE(canvas.prepare({200, 200}, kClear, kClear));
    for (size_t i = 0; i < frames.size(); ++i) {
        ASSERT_TRUE(canvas.drawFrame(frames[i]));
        EXPECT_EQ(canvas.surface(), reference[i]) << "frame " << i;
        canvas.disposeFrame(frames[i]);
        EXPECT_EQ(canvas.surface(), reference[i]) << "disposal 1 changes nothing, frame " << i;
    }
    canvas.clearAll();
    EXPECT_TRUE(allPixels(canvas.surface(), canvas.surface().rect(), kClear));
}

TEST(GifCanvas, RestoreToBackgroundRefillsTheFrameRectangle) {
    const auto bytes = resourceBytes(":/gif/142.gif");
    const auto frames = loadGifFrames(bytes);
    const auto reference = referenceFrames(bytes);
    ASSERT_EQ(frames.size(), 6u);
    GifCanvas canvas;
    ASSERT_TRUE(canvas.prepare({81, 90}, kClear, kClear));
    for (size_t i = 0; i < frames.size(); ++i) {
        ASSERT_TRUE(canvas.drawFrame(frames[i]));
        EXPECT_EQ(canvas.surface(), reference[i]) << "frame " << i;
        EXPECT_FALSE(allPixels(canvas.surface(), frames[i].rect(), kClear));
        canvas.disposeFrame(frames[i]);
        EXPECT_TRUE(allPixels(canvas.surface(), canvas.surface().rect(), kClear)) << i;
    }
}

TEST(GifCanvas, RestoreToPreviousPutsBackExactlyTheCoveredPixels) {
    // Frame 0: red with one green pixel at (2, 1); frame 1: blue 2 x 2 with one transparent pixel.
    std::vector<uint8_t> first(16, 0);
    first[6] = 1;
    const auto bytes = GifBuilder(4, 4)
                           .control(5, 1)
                           .image(0, 0, 4, 4, first)
                           .control(5, 3, 3)
                           .image(1, 1, 2, 2, {2, 3, 2, 2})
                           .control(5, 0)
                           .solidImage(3, 3, 1, 1, 3)
                           .trailer()
                           .bytes();
    const auto frames = loadGifFrames(bytes);
    ASSERT_EQ(frames.size(), 3u);
    GifCanvas canvas;
    ASSERT_TRUE(canvas.prepare({4, 4}, kClear, kClear));
    canvas.drawFrame(frames[0]);
    const QImage before = canvas.surface().copy();
    canvas.drawFrame(frames[1]);
    EXPECT_TRUE(canvas.hasSavedArea());
    EXPECT_EQ(canvas.surface().pixelColor(1, 1), QColor(0, 0, 255));
    EXPECT_EQ(canvas.surface().pixelColor(2, 1), QColor(0, 255, 0)) << "transparent pixel";
    canvas.disposeFrame(frames[1]);
    EXPECT_FALSE(canvas.hasSavedArea());
    EXPECT_EQ(canvas.surface(), before);
    // Disposal 0 leaves the frame in place.
    canvas.drawFrame(frames[2]);
    canvas.disposeFrame(frames[2]);
    EXPECT_EQ(canvas.surface().pixelColor(3, 3), QColor(255, 255, 255));
}

TEST(GifCanvas, ReleasedCanvasIgnoresDrawing) {
    GifCanvas canvas;
    EXPECT_FALSE(canvas.prepare({0, 5}, kClear, kClear));
    GifFrame frame;
    frame.picture = QImage(2, 2, QImage::Format_RGB32);
    frame.frameWidth = frame.frameHeight = 2;
    frame.disposal = 3;
    EXPECT_FALSE(canvas.drawFrame(frame));
    canvas.disposeFrame(frame);
    canvas.clearAll();
    EXPECT_EQ(canvas.clearColour(), QColor(Qt::white));
}

}  // namespace
