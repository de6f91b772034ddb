#include <QCoreApplication>
#include <QMouseEvent>
#include <QPainter>

#include <gtest/gtest.h>

#include <chrono>

#include "clock_st.h"

namespace {

using Digits6 = std::array<uint8_t, 6>;
using Digits8 = std::array<uint8_t, 8>;

TEST(ClockDigits, TakenFromTheFormattedDateAndTime) {
    struct Case {
        LocalDateTime when;
        Digits6 time;
        Digits8 date;
    };
    const Case cases[] = {
        {{2025, 2, 3, 9, 5, 7}, {0, 9, 0, 5, 0, 7}, {0, 3, 0, 2, 2, 0, 2, 5}},
        {{2026, 12, 31, 0, 0, 0}, {0, 0, 0, 0, 0, 0}, {3, 1, 1, 2, 2, 0, 2, 6}},
        {{1999, 10, 28, 23, 59, 59}, {2, 3, 5, 9, 5, 9}, {2, 8, 1, 0, 1, 9, 9, 9}},
        {{987, 1, 1, 12, 0, 1}, {1, 2, 0, 0, 0, 1}, {0, 1, 0, 1, 0, 9, 8, 7}},
        {{12345, 1, 1, 0, 0, 0}, {0, 0, 0, 0, 0, 0}, {0, 1, 0, 1, 1, 2, 3, 4}},
    };
    for (const Case& c : cases) {
        const ClockDigits digits = clockDigits(c.when);
        EXPECT_EQ(digits.timeDigits, c.time) << c.when.hour << ":" << c.when.minute;
        EXPECT_EQ(digits.dateDigits, c.date) << c.when.year;
    }
}

QImage cellOf(const QImage& strip, int digit, int width, int height) {
    return strip.copy(digit * width, 0, width, height);
}

TEST(ClockFace, DigitCellsAreCopiedToTheirPlaces) {
    const QImage face = QImage(":/bitmap/134.bmp").convertToFormat(QImage::Format_RGB32);
    const QImage large = QImage(":/bitmap/133.bmp").convertToFormat(QImage::Format_RGB32);
    const QImage small = QImage(":/bitmap/132.bmp").convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(face.size(), QSize(151, 72));
    ASSERT_EQ(large.size(), QSize(240, 34));
    ASSERT_EQ(small.size(), QSize(120, 17));
    QImage shown = face.copy();
    drawClockDigits(shown, large, small, clockDigits({2025, 2, 3, 9, 5, 7}));
    struct Cell {
        int x, y, digit;
        bool isLarge;
    };
    const Cell cells[] = {{5, 33, 0, true},   {32, 33, 9, true},   {65, 33, 0, true},
                          {92, 33, 5, true},  {120, 50, 0, false}, {134, 50, 7, false},
                          {5, 5, 0, false},   {19, 5, 3, false},   {41, 5, 0, false},
                          {55, 5, 2, false},  {77, 5, 2, false},   {91, 5, 0, false},
                          {105, 5, 2, false}, {119, 5, 5, false}};
    for (const Cell& c : cells) {
        const int w = c.isLarge ? 24 : 12, h = c.isLarge ? 34 : 17;
        EXPECT_EQ(shown.copy(c.x, c.y, w, h), cellOf(c.isLarge ? large : small, c.digit, w, h))
            << c.x << "," << c.y;
    }
    // The dashes and the colon belong to the face and stay.
    for (QPoint p : {QPoint(36, 13), QPoint(72, 13), QPoint(60, 43), QPoint(0, 0)}) {
        EXPECT_EQ(shown.pixel(p), face.pixel(p)) << p.x() << "," << p.y();
    }
    // The art itself: lit segments of an 8 are darker than the glass.
    EXPECT_LT(qGray(large.pixel(8 * 24 + 12, 17)), qGray(face.pixel(75, 10)) - 60);
}

QImage plainLabel(const QString& text, QSize size) {
    QLabel label(text);
    label.resize(size);
    return label.grab().toImage();
}

TEST(CClockST, PlainStaticUntilStarted) {
    CClockST unstarted("Clock");
    unstarted.resize(60, 20);
    EXPECT_EQ(unstarted.grab().toImage(), plainLabel("Clock", {60, 20}));

    CClockST failed("Clock");
    failed.resize(60, 20);
    failed.setBitmapFolder("/nonexistent");
    EXPECT_EQ(failed.StartClock(), CClockST::BitmapsMissing);
    EXPECT_FALSE(failed.isRunning());
    EXPECT_EQ(failed.size(), QSize(60, 20));
    EXPECT_EQ(failed.grab().toImage(), plainLabel("Clock", {60, 20}));
}

TEST(CClockST, StartsOnceRefreshesAtOnceAndStopsPromptly) {
    auto clock = std::make_unique<CClockST>("Clock");
    clock->move(9, 4);
    EXPECT_EQ(clock->digits().timeDigits, Digits6{});
    ASSERT_EQ(clock->StartClock(), CClockST::Started);
    EXPECT_TRUE(clock->isRunning());
    EXPECT_EQ(clock->size(), QSize(151, 72));
    EXPECT_EQ(clock->pos(), QPoint(9, 4));
    EXPECT_EQ(clock->StartClock(), CClockST::Started);

    // The first refresh comes as the thread starts, not a second later.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(900);
    bool refreshed = false;
    while (!refreshed && std::chrono::steady_clock::now() < deadline) {
        refreshed = clock->digits().dateDigits == clockDigits(localNow()).dateDigits;
    }
    EXPECT_TRUE(refreshed);
    EXPECT_NE(clock->grab().toImage(), plainLabel("Clock", {151, 72}));

    const auto start = std::chrono::steady_clock::now();
    clock.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1500));
}

TEST(CClockST, ReportsClicksAndDoubleClicksOfTheLeftButton) {
    CClockST clock("Clock");
    int clicks = 0, doubleClicks = 0;
    QObject::connect(&clock, &CClockST::clicked, [&] { ++clicks; });
    QObject::connect(&clock, &CClockST::doubleClicked, [&] { ++doubleClicks; });
    auto send = [&](QEvent::Type type, Qt::MouseButton button) {
        QMouseEvent event(type, QPointF(3, 3), QPointF(3, 3), button, button, Qt::NoModifier);
        QCoreApplication::sendEvent(&clock, &event);
    };
    send(QEvent::MouseButtonPress, Qt::LeftButton);
    send(QEvent::MouseButtonDblClick, Qt::LeftButton);
    send(QEvent::MouseButtonDblClick, Qt::RightButton);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(doubleClicks, 1);
}

}  // namespace
