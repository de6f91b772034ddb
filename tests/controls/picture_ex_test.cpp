#include "picture_ex.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QImageReader>

#include <gtest/gtest.h>

#include <chrono>
#include <future>

#include "gif_builder.h"
#include "resource_bytes.h"

namespace {

const QColor kRed(255, 0, 0), kGreen(0, 255, 0), kBlue(0, 0, 255);

// Runs the event loop until the condition holds or two seconds have passed.
template <typename Condition>
bool eventually(Condition condition) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

QColor pixel(const CPictureEx& picture, int x, int y) {
    return picture.surfaceSnapshot().pixelColor(x, y);
}

TEST(CPictureEx, ResourceLoadSizesTheControlInPlace) {
    struct Case {
        int id;
        QSize size;
        size_t frames;
    };
    for (const Case& c : {Case{140, {200, 200}, 13}, Case{142, {81, 90}, 6}}) {
        CPictureEx picture;
        picture.move(17, 23);
        ASSERT_TRUE(picture.LoadGifResource(c.id));
        EXPECT_EQ(picture.pictureSize(), c.size);
        EXPECT_EQ(picture.size(), c.size);
        EXPECT_EQ(picture.pos(), QPoint(17, 23));
        EXPECT_EQ(picture.frameCount(), c.frames);
        EXPECT_EQ(picture.currentFrame(), 0u);
    }
    CPictureEx missing;
    EXPECT_FALSE(missing.LoadGifResource(141));
}

TEST(CPictureEx, StillPicturesAreDrawnOnceWithoutAThread) {
    QImage png(6, 5, QImage::Format_RGB32);
    png.fill(kBlue);
    QByteArray pngBytes;
    QBuffer buffer(&pngBytes);
    buffer.open(QIODevice::WriteOnly);
    png.save(&buffer, "PNG");
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
        QSize size;
    };
    Case cases[] = {
        {"one-frame GIF", GifBuilder(7, 3).solidImage(0, 0, 7, 3, 2).trailer().bytes(), {7, 3}},
        // The size is the logical screen's, however small the one image is.
        {"one-frame GIF with a comment",
         GifBuilder(7, 3).comment("c").control(5, 2).solidImage(5, 1, 2, 2, 2).trailer().bytes(),
         {7, 3}},
        {"PNG", std::vector<uint8_t>(pngBytes.begin(), pngBytes.end()), {6, 5}},
    };
    for (Case& c : cases) {
        SCOPED_TRACE(c.name);
        CPictureEx picture;
        ASSERT_TRUE(picture.LoadBuffer(c.bytes));
        EXPECT_EQ(picture.pictureSize(), c.size);
        EXPECT_EQ(picture.frameCount(), 0u);
        picture.Play();
        EXPECT_FALSE(picture.isPlaying());
        EXPECT_EQ(pixel(picture, c.size.width() - 1, c.size.height() - 1), kBlue);
    }
}

TEST(CPictureEx, RejectedBuffersLeaveTheControlEmpty) {
    auto otherVersion = GifBuilder(4, 4, "GIF88a")
                            .control(5, 1)
                            .solidImage(0, 0, 4, 4, 0)
                            .control(5, 1)
                            .solidImage(0, 0, 2, 2, 1)
                            .trailer()
                            .bytes();
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
    };
    Case cases[] = {
        {"empty", {}},
        {"not a picture", {1, 2, 3, 4, 5, 6, 7, 8}},
        {"GIF without frames", GifBuilder(4, 4).comment("none").trailer().bytes()},
        {"frames the loader rejects", GifBuilder(4, 4).plainText().plainText().trailer().bytes()},
        // Another version is not walked; the loader is given the whole buffer and refuses it.
        {"other GIF version", otherVersion},
    };
    for (Case& c : cases) {
        SCOPED_TRACE(c.name);
        CPictureEx picture;
        EXPECT_FALSE(picture.LoadBuffer(c.bytes));
        EXPECT_EQ(picture.frameCount(), 0u);
        picture.Play();
        EXPECT_FALSE(picture.isPlaying());
        EXPECT_TRUE(picture.surfaceSnapshot().isNull());
    }
}

TEST(CPictureEx, ARejectedFrameIsDroppedAndTheOthersPlay) {
    const auto bytes = GifBuilder(4, 4)
                           .control(5, 1)
                           .solidImage(0, 0, 4, 4, 0)
                           .plainText()
                           .control(5, 1)
                           .solidImage(0, 0, 2, 2, 1)
                           .trailer()
                           .bytes();
    CPictureEx picture;
    ASSERT_TRUE(picture.LoadBuffer(bytes));
    EXPECT_EQ(picture.frameCount(), 2u);
}

// Frame 0 fills the picture red and is held briefly; frame 1 puts blue in the corner and is
// held for ten minutes, so a test can stop the animation while it is on screen.
std::vector<uint8_t> redThenHeldBlue() {
    return GifBuilder(4, 4)
        .control(5, 1)
        .solidImage(0, 0, 4, 4, 0)
        .control(60000, 2)
        .solidImage(0, 0, 2, 2, 2)
        .trailer()
        .bytes();
}

TEST(CPictureEx, StopCutsAHeldFrameAndResumeRedrawsIt) {
    CPictureEx picture;
    ASSERT_TRUE(picture.LoadBuffer(redThenHeldBlue()));
    picture.Play();
    ASSERT_TRUE(picture.isPlaying());
    ASSERT_TRUE(eventually([&] { return picture.framesDrawn() >= 2; }));
    EXPECT_EQ(picture.currentFrame(), 1u);

    auto stopped = std::async(std::launch::async, [&] { picture.StopPlaying(); });
    ASSERT_EQ(stopped.wait_for(std::chrono::seconds(3)), std::future_status::ready);
    EXPECT_FALSE(picture.isPlaying());
    EXPECT_EQ(picture.currentFrame(), 1u);
    EXPECT_EQ(pixel(picture, 0, 0), kBlue);

    // Resuming disposes of the held frame (its corner goes back to the background) and draws
    // it again; it does not move on to frame 0, which would paint the corner red.
    const uint32_t drawnBefore = picture.framesDrawn();
    picture.Play();
    ASSERT_TRUE(eventually([&] { return picture.framesDrawn() > drawnBefore; }));
    EXPECT_EQ(picture.currentFrame(), 1u);
    EXPECT_EQ(pixel(picture, 0, 0), kBlue);
    EXPECT_EQ(pixel(picture, 3, 3), kRed);
}

TEST(CPictureEx, EveryPassStartsOnAClearedPicture) {
    // Two corners left in place; frame 0 is held a second so the test can catch it.
    const auto bytes = GifBuilder(4, 4)
                           .control(100, 1)
                           .solidImage(0, 0, 2, 2, 0)
                           .control(5, 1)
                           .solidImage(2, 2, 2, 2, 2)
                           .trailer()
                           .bytes();
    CPictureEx picture;
    ASSERT_TRUE(picture.LoadBuffer(bytes));
    const QColor background = picture.palette().color(QPalette::Window);
    picture.Play();
    ASSERT_TRUE(eventually([&] { return picture.framesDrawn() >= 2; }));
    EXPECT_EQ(pixel(picture, 0, 0), kRed);
    EXPECT_EQ(pixel(picture, 3, 3), kBlue);
    ASSERT_TRUE(eventually([&] { return picture.framesDrawn() >= 3; }));
    picture.StopPlaying();
    ASSERT_EQ(picture.framesDrawn(), 3u);
    EXPECT_EQ(picture.currentFrame(), 0u);
    EXPECT_EQ(pixel(picture, 0, 0), kRed);
    EXPECT_EQ(pixel(picture, 3, 3), background);
}

TEST(CPictureEx, ClearAndDestructionWhilePlaying) {
    auto picture = std::make_unique<CPictureEx>();
    ASSERT_TRUE(picture->LoadGifResource(140));
    picture->Play();
    ASSERT_TRUE(eventually([&] { return picture->framesDrawn() >= 1; }));
    picture->Clear();
    EXPECT_FALSE(picture->isPlaying());
    EXPECT_EQ(picture->frameCount(), 0u);
    EXPECT_TRUE(picture->pictureSize().isEmpty());
    ASSERT_TRUE(picture->LoadGifResource(142));
    picture->Play();
    picture.reset();  // joins the thread; queued repaints for the dead control are dropped
    QCoreApplication::processEvents();
}

}  // namespace
