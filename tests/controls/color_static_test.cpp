#include <QCoreApplication>
#include <QTimerEvent>

#include <gtest/gtest.h>

#include "color_static_st.h"
#include "qt_color_ref.h"

namespace {

void tick(CColorStaticST& label, int timerId) {
    QTimerEvent event(timerId);
    QCoreApplication::sendEvent(&label, &event);
}

// The wait dialogs' set-up: green background blinking, text between the button face and black.
void waitDialogBlink(CColorStaticST& label) {
    label.SetBlinkBackgroundColours(0x008000, 0x00FF00);
    label.StartBackgroundBlink(500);
    label.SetBlinkTextColours(label.backgroundColour(), 0x000000);
    label.StartTextBlink(2000);
}

TEST(CColorStaticST, SteadyColoursFollowTheTheme) {
    CColorStaticST label("x");
    EXPECT_EQ(toQColor(label.currentTextColour()), label.palette().color(QPalette::ButtonText));
    EXPECT_EQ(toQColor(label.currentBackgroundColour()), label.palette().color(QPalette::Button));
    EXPECT_EQ(label.currentAreaColour(), label.palette().color(QPalette::Button));
    EXPECT_EQ(label.blinkTimerId(), 0);
}

TEST(CColorStaticST, BothBlinksShareOneTimerAndFlipTogether) {
    CColorStaticST label(" Моля, изчакайте ");
    const ColorRef face = label.backgroundColour();
    waitDialogBlink(label);
    EXPECT_EQ(label.blinkPeriod(), 2000) << "the last start's period applies to both";
    const int timer = label.blinkTimerId();
    ASSERT_NE(timer, 0);

    struct State {
        int text, background;
        ColorRef textColour, backgroundColour;
    };
    const State expected[] = {{0, 0, face, 0x008000},
                              {1, 1, 0x000000, 0x00FF00},
                              {0, 0, face, 0x008000},
                              {1, 1, 0x000000, 0x00FF00}};
    for (const State& s : expected) {
        EXPECT_EQ(label.textBlinkState(), s.text);
        EXPECT_EQ(label.backgroundBlinkState(), s.background);
        EXPECT_EQ(label.currentTextColour(), s.textColour);
        EXPECT_EQ(label.currentBackgroundColour(), s.backgroundColour);
        EXPECT_EQ(label.currentAreaColour(), toQColor(s.backgroundColour));
        tick(label, timer);
    }
    // Another timer of the control does not flip anything; nor does hiding it.
    tick(label, timer + 1000);
    label.show();
    label.hide();
    label.show();
    EXPECT_EQ(label.textBlinkState(), 0);
    EXPECT_EQ(label.backgroundBlinkState(), 0);
}

TEST(CColorStaticST, RestartingOneBlinkResetsOnlyItsState) {
    CColorStaticST label("x");
    label.StartBackgroundBlink(300);
    tick(label, label.blinkTimerId());
    EXPECT_EQ(label.backgroundBlinkState(), 1);
    label.StartTextBlink(700);
    EXPECT_EQ(label.blinkPeriod(), 700);
    EXPECT_EQ(label.textBlinkState(), 0);
    EXPECT_EQ(label.backgroundBlinkState(), 1);
    tick(label, label.blinkTimerId());
    EXPECT_EQ(label.textBlinkState(), 1);
    EXPECT_EQ(label.backgroundBlinkState(), 0);
}

TEST(CColorStaticST, PaintsAreaAndTextBackground) {
    struct Case {
        std::optional<QColor> owner;
        QColor corner;
    };
    for (const Case& c : {Case{{}, QColor(0, 128, 0)}, Case{QColor(Qt::white), Qt::white}}) {
        CColorStaticST label(" Моля, изчакайте ");
        label.setAlignment(Qt::AlignCenter);
        label.resize(200, 40);
        label.setOwnerBrush(c.owner);
        waitDialogBlink(label);
        const QImage image = label.grab().toImage();
        EXPECT_EQ(image.pixelColor(0, 0), c.corner);
        EXPECT_EQ(image.pixelColor(100, 20 - label.fontMetrics().height() / 2 + 1).green(), 128)
            << "behind the text the blink colour shows";
    }
}

}  // namespace
