#include <QFont>

#include <gtest/gtest.h>

#include "gradient_bands.h"
#include "gradient_static.h"
#include "qt_color_ref.h"

namespace {

TEST(GradientBands, WidthsFollowTheExtent) {
    struct Case {
        int extent;
        int minWidth, maxWidth;
    };
    for (const Case& c : {Case{255, 1, 1}, Case{100, 0, 1}, Case{510, 2, 2}, Case{1023, 4, 5},
                          Case{0, 0, 0}, Case{-3, 0, 0}}) {
        SCOPED_TRACE(c.extent);
        const auto bands = gradientBands(c.extent, 0, 0xFFFFFF);
        int expectedFrom = 0;
        for (const GradientBand& band : bands) {
            EXPECT_EQ(band.from, expectedFrom) << "bands are contiguous";
            EXPECT_GE(band.to - band.from, c.minWidth);
            EXPECT_LE(band.to - band.from, c.maxWidth);
            expectedFrom = band.to;
        }
        EXPECT_EQ(bands.back().to, std::max(c.extent, 0)) << "the far edge is painted";
    }
    const auto narrow = gradientBands(100, 0, 0);
    EXPECT_EQ(std::count_if(narrow.begin(), narrow.end(),
                            [](const GradientBand& b) { return b.to > b.from; }),
              100);
}

TEST(GradientBands, ColoursStepTowardsTheEndWithoutReachingIt) {
    struct Case {
        ColorRef start, end;
        int band;
        ColorRef colour;
    };
    const Case cases[] = {
        {0x000000, 0xFFFFFF, 0, 0x000000},   {0x000000, 0xFFFFFF, 254, 0xFEFEFE},
        {0x0000FF, 0x000000, 1, 0x0000FE},    // red fading to black
        {0xBABA00, 0x000000, 1, 0xB9B900},    // 186 - 186/255 = 185.27
        {0xBABA00, 0x000000, 254, 0x000000},  // 186/255 = 0.73
        {0x102030, 0x102030, 100, 0x102030}, {0x00FF00, 0xFF0000, 128, makeColorRef(0, 127, 128)},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(gradientBands(255, c.start, c.end)[size_t(c.band)].colour, c.colour)
            << std::hex << c.start << " band " << std::dec << c.band;
    }
}

struct TextExtent {
    int left = -1, right = -1, top = -1, bottom = -1;
};

// Where white text pixels lie on a black strip.
TextExtent whiteExtent(const QImage& image) {
    TextExtent extent;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qGray(image.pixel(x, y)) < 128) {
                continue;
            }
            if (extent.left < 0 || x < extent.left)
                extent.left = x;
            if (x > extent.right)
                extent.right = x;
            if (extent.top < 0)
                extent.top = y;
            extent.bottom = y;
        }
    }
    return extent;
}

QImage render(CGradientStatic& strip) {
    return strip.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

TEST(CGradientStatic, BothFillsRunFromStartToEnd) {
    for (bool smooth : {true, false}) {
        for (bool vertical : {false, true}) {
            SCOPED_TRACE(smooth ? "smooth" : "banded");
            SCOPED_TRACE(vertical ? "vertical" : "horizontal");
            CGradientStatic strip;
            strip.resize(255, 255);
            strip.startColour = 0x0000FF;
            strip.endColour = 0xFF0000;
            strip.smoothFill = smooth;
            strip.verticalGradient = vertical;
            const QImage image = render(strip);
            const QColor first = image.pixelColor(0, 0);
            const QColor last = image.pixelColor(254, 254);
            EXPECT_GE(first.red(), 250);
            EXPECT_LE(first.blue(), 5);
            EXPECT_LE(last.red(), 5);
            EXPECT_GE(last.blue(), 250);
            // Along the other direction the colour does not change.
            const QColor across = vertical ? image.pixelColor(254, 0) : image.pixelColor(0, 254);
            EXPECT_EQ(across, first);
        }
    }
}

TEST(CGradientStatic, TextIsPlacedByAlignmentAndMarginOnOneLine) {
    struct Case {
        int align;
        QString text;
    };
    for (const Case& c : {Case{0, "Fisc"}, Case{1, "Fisc"}, Case{2, "Fisc"}, Case{7, "Fisc"}}) {
        SCOPED_TRACE(c.align);
        CGradientStatic strip;
        strip.resize(200, 30);
        strip.startColour = strip.endColour = 0x000000;
        strip.gradientTextColour = 0xFFFFFF;
        strip.textAlign = c.align;
        strip.textMargin = 12;
        strip.SetCaption(c.text);
        const TextExtent e = whiteExtent(render(strip));
        ASSERT_GE(e.left, 0);
        if (c.align == 0) {
            EXPECT_GE(e.left, 12);
            EXPECT_LE(e.left, 15);
        } else if (c.align == 1) {
            EXPECT_LE(std::abs(e.left - (199 - e.right)), 3);
        } else {
            EXPECT_LE(e.right, 199 - 12);
            EXPECT_GE(e.right, 199 - 15);
        }
        EXPECT_LE(std::abs(e.top - (29 - e.bottom)), 3) << "vertically centred";
    }
}

TEST(CGradientStatic, LongTextIsClippedNotWrapped) {
    CGradientStatic strip;
    strip.resize(80, 60);
    strip.startColour = strip.endColour = 0x000000;
    strip.gradientTextColour = 0xFFFFFF;
    strip.SetCaption("Конфигуриране на данъчен терминал");
    const TextExtent e = whiteExtent(render(strip));
    EXPECT_LT(e.bottom - e.top, QFontMetrics(strip.font()).height() + 2);
    EXPECT_EQ(e.right, 79) << "the text runs to the edge and is cut there";
}

TEST(CGradientStatic, DefaultsFollowTheTheme) {
    CGradientStatic strip;
    EXPECT_EQ(strip.textMargin, 10);
    EXPECT_EQ(strip.textAlign, 0);
    EXPECT_FALSE(strip.verticalGradient);
    EXPECT_EQ(toQColor(strip.startColour), strip.palette().color(QPalette::Highlight));
    EXPECT_EQ(toQColor(strip.endColour), strip.palette().color(QPalette::Button));
}

}  // namespace
