#include "gif_walker.h"

#include <gtest/gtest.h>

#include <cstring>
#include <tuple>

#include "gif_builder.h"
#include "resource_bytes.h"

namespace {

using gif::GifWalker;

size_t countFrames(const std::vector<uint8_t>& bytes) {
    GifWalker walker(bytes);
    return walker.countFrames();
}

std::vector<gif::FrameStream> extractAll(const std::vector<uint8_t>& bytes) {
    GifWalker walker(bytes);
    std::vector<gif::FrameStream> frames;
    while (auto frame = walker.extractFrame()) {
        frames.push_back(*frame);
    }
    return frames;
}

GifBuilder threeFrames() {
    GifBuilder gif(4, 4);
    gif.control(10, 1).solidImage(0, 0, 4, 4, 0);
    gif.control(20, 2).solidImage(1, 1, 2, 2, 1);
    gif.control(30, 3).solidImage(2, 0, 2, 3, 2);
    return gif;
}

TEST(GifWalker, OurAnimationsSplitIntoTheirFrames) {
    struct Case {
        const char* path;
        size_t frames;
        int width, height;
        uint32_t delay, disposal;
        std::tuple<int, int, int, int> firstRect;
    };
    for (const Case& c : {Case{":/gif/140.gif", 13, 200, 200, 15, 1, {0, 0, 200, 200}},
                          Case{":/gif/142.gif", 6, 81, 90, 25, 2, {3, 3, 75, 83}}}) {
        SCOPED_TRACE(c.path);
        const auto bytes = resourceBytes(c.path);
        ASSERT_FALSE(bytes.empty());
        GifWalker walker(bytes);
        EXPECT_EQ(walker.screenWidth(), c.width);
        EXPECT_EQ(walker.screenHeight(), c.height);
        EXPECT_EQ(walker.globalTableSize(), 768u);
        EXPECT_EQ(walker.countFrames(), c.frames);
        const auto frames = extractAll(bytes);
        ASSERT_EQ(frames.size(), c.frames);
        for (const auto& frame : frames) {
            EXPECT_EQ(frame.delay, c.delay);
            EXPECT_EQ(frame.disposal, c.disposal);
            EXPECT_LE(frame.frameLeft + frame.frameWidth, c.width);
            EXPECT_LE(frame.frameTop + frame.frameHeight, c.height);
            // The stream keeps the whole header and colour table and ends with a trailer.
            ASSERT_GT(frame.bytes.size(), 13u + 768u);
            EXPECT_TRUE(std::equal(bytes.begin(), bytes.begin() + 13 + 768, frame.bytes.begin()));
            EXPECT_EQ(frame.bytes.back(), 0x3B);
        }
        const auto& first = frames[0];
        EXPECT_EQ(std::tuple(first.frameLeft, first.frameTop, first.frameWidth, first.frameHeight),
                  c.firstRect);
    }
}

TEST(GifWalker, FrameFieldsAndStreamLayout) {
    const auto bytes = threeFrames().trailer().bytes();
    const auto frames = extractAll(bytes);
    ASSERT_EQ(frames.size(), 3u);
    using Fields = std::tuple<int, int, int, int, uint32_t, uint32_t>;
    const Fields expected[] = {{0, 0, 4, 4, 10, 1}, {1, 1, 2, 2, 20, 2}, {2, 0, 2, 3, 30, 3}};
    size_t blockStart = 13 + 12;
    for (size_t i = 0; i < 3; ++i) {
        const auto& f = frames[i];
        EXPECT_EQ(Fields(f.frameLeft, f.frameTop, f.frameWidth, f.frameHeight, f.delay, f.disposal),
                  expected[i]);
        // Header, the graphic block copied unchanged, trailer.
        const size_t blockLength = f.bytes.size() - 25 - 1;
        EXPECT_TRUE(std::equal(bytes.begin(), bytes.begin() + 25, f.bytes.begin()));
        EXPECT_TRUE(std::equal(bytes.begin() + long(blockStart),
                               bytes.begin() + long(blockStart + blockLength),
                               f.bytes.begin() + 25));
        blockStart += blockLength;
    }
}

TEST(GifWalker, ExtensionsAroundFramesAreSkipped) {
    struct Case {
        const char* name;
        GifBuilder gif;
        size_t frames;
    };
    Case cases[] = {
        {"application and comment first",
         GifBuilder(4, 4)
             .application()
             .comment("x")
             .control(5, 1)
             .solidImage(0, 0, 4, 4, 0)
             .control(5, 1)
             .solidImage(0, 0, 2, 2, 1)
             .trailer(),
         2},
        {"between control and image",
         GifBuilder(4, 4)
             .control(5, 1)
             .comment("between")
             .application()
             .solidImage(0, 0, 4, 4, 0)
             .control(5, 1)
             .solidImage(0, 0, 2, 2, 1)
             .trailer(),
         2},
        {"between frames",
         GifBuilder(4, 4)
             .control(5, 1)
             .solidImage(0, 0, 4, 4, 0)
             .comment("a")
             .application()
             .control(5, 1)
             .solidImage(0, 0, 2, 2, 1)
             .trailer(),
         2},
        {"after the frames, no trailer",
         GifBuilder(4, 4)
             .control(5, 1)
             .solidImage(0, 0, 4, 4, 0)
             .control(5, 1)
             .solidImage(0, 0, 2, 2, 1)
             .comment("end")
             .application(),
         2},
        {"image without control extension",
         GifBuilder(4, 4).solidImage(0, 0, 4, 4, 0).solidImage(0, 0, 1, 1, 2).trailer(), 2},
        {"plain text counts as a frame", GifBuilder(4, 4).plainText().solidImage(0, 0, 1, 1, 2), 2},
        {"unrecognised label ends the walk",
         GifBuilder(4, 4).solidImage(0, 0, 4, 4, 0).raw({0x21, 0x99, 0}).solidImage(0, 0, 1, 1, 2),
         1},
        {"stray byte ends the walk",
         GifBuilder(4, 4)
             .solidImage(0, 0, 4, 4, 0)
             .solidImage(0, 0, 1, 1, 1)
             .raw({0x00})
             .solidImage(0, 0, 1, 1, 2),
         2},
        {"only extensions", GifBuilder(4, 4).comment("nothing").application().trailer(), 0},
        {"control extension then trailer", GifBuilder(4, 4).control(5, 1).trailer(), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(countFrames(c.gif.bytes()), c.frames);
        EXPECT_EQ(extractAll(c.gif.bytes()).size(), c.frames);
    }
}

TEST(GifWalker, FrameWithoutControlExtensionHasNoDelay) {
    const auto frames = extractAll(GifBuilder(4, 4).solidImage(1, 2, 3, 1, 0).trailer().bytes());
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].delay, gif::kNoDelay);
    EXPECT_EQ(frames[0].disposal, 0u);
    EXPECT_EQ(frames[0].frameTop, 2);
}

TEST(GifWalker, EveryTruncatedPrefixKeepsOnlyCompleteFrames) {
    const auto whole = threeFrames().trailer().bytes();
    const size_t wholeFrames = countFrames(whole);
    ASSERT_EQ(wholeFrames, 3u);
    size_t previous = 0;
    for (size_t length = 0; length <= whole.size(); ++length) {
        const std::vector<uint8_t> prefix(whole.begin(), whole.begin() + long(length));
        const size_t counted = countFrames(prefix);
        EXPECT_GE(counted, previous) << length;
        EXPECT_EQ(extractAll(prefix).size(), counted) << length;
        previous = counted;
    }
    EXPECT_EQ(previous, 3u);
    // Cut inside the last image's data: the first two frames remain.
    const std::vector<uint8_t> cut(whole.begin(), whole.end() - 4);
    EXPECT_EQ(countFrames(cut), 2u);
}

TEST(GifWalker, ColourTableSizesAndShortHeaders) {
    auto header = GifBuilder(2, 2).bytes();
    header[10] = 0x82;  // global table of 8 entries, larger than what follows
    EXPECT_EQ(GifWalker(header).globalTableSize(), 24u);
    EXPECT_EQ(countFrames(header), 0u);
    const std::vector<uint8_t> tiny{'G', 'I', 'F', '8', '9', 'a', 1};
    EXPECT_EQ(GifWalker(tiny).screenWidth(), 0);
    EXPECT_EQ(countFrames(tiny), 0u);
    // A local colour table sits between the descriptor and the image data.
    auto local = GifBuilder(2, 2).solidImage(0, 0, 1, 1, 0).trailer().bytes();
    local[25 + 9] = 0x80;  // two-entry local table
    local.insert(local.begin() + 25 + 10, {1, 2, 3, 4, 5, 6});
    EXPECT_EQ(countFrames(local), 1u);
    auto over = local;
    over.resize(25 + 12);
    EXPECT_EQ(countFrames(over), 0u);
}

TEST(GifWalker, Signature) {
    auto bytes = [](const char* text) {
        return std::vector<uint8_t>(text, text + std::strlen(text));
    };
    EXPECT_TRUE(gif::hasGifSignature(bytes("GIF87a...")));
    EXPECT_TRUE(gif::hasGifSignature(bytes("GIF89a")));
    EXPECT_FALSE(gif::hasGifSignature(bytes("GIF88a")));
    EXPECT_FALSE(gif::hasGifSignature(bytes("GIF89")));
    EXPECT_FALSE(gif::hasGifSignature(bytes("gif89a")));
}

TEST(GifWalker, HoldTimes) {
    const std::pair<uint32_t, uint32_t> cases[] = {
        {0, 100}, {4, 100}, {5, 50}, {15, 150}, {25, 250}, {gif::kNoDelay, 4294967286u}};
    for (auto [delay, hold] : cases) {
        EXPECT_EQ(gif::frameHoldMs(delay), hold) << delay;
    }
}

}  // namespace
