#include "color_static_st.h"

#include <QPainter>
#include <QTimerEvent>

#include "qt_color_ref.h"

CColorStaticST::CColorStaticST(QWidget* parent) : CColorStaticST(QString(), parent) {}

CColorStaticST::CColorStaticST(const QString& text, QWidget* parent) : QLabel(text, parent) {
    const ColorRef buttonText = toColorRef(palette().color(QPalette::ButtonText));
    const ColorRef buttonFace = toColorRef(palette().color(QPalette::Button));
    textColour_ = buttonText;
    blinkTextColours_ = {buttonText, buttonText};
    backgroundColour_ = buttonFace;
    blinkBackgroundColours_ = {buttonFace, buttonFace};
    backgroundBrush_ = QBrush(toQColor(buttonFace));
    blinkBackgroundBrushes_ = {backgroundBrush_, backgroundBrush_};
}

CColorStaticST::~CColorStaticST() {
    blinkTimer_.stop();
}

void CColorStaticST::SetTextColour(ColorRef colour) {
    textColour_ = colour;
    update();
}

void CColorStaticST::SetBackgroundColour(ColorRef colour) {
    backgroundColour_ = colour;
    backgroundBrush_ = QBrush(toQColor(colour));
    update();
}

void CColorStaticST::SetBlinkTextColours(ColorRef state0, ColorRef state1) {
    blinkTextColours_ = {state0, state1};
}

void CColorStaticST::SetBlinkBackgroundColours(ColorRef state0, ColorRef state1) {
    blinkBackgroundColours_ = {state0, state1};
    blinkBackgroundBrushes_ = {QBrush(toQColor(state0)), QBrush(toQColor(state1))};
    update();
}

void CColorStaticST::StartTextBlink(int periodMs) {
    blinkTimer_.stop();
    textBlinking_ = true;
    textBlinkState_ = 0;
    restartBlinkTimer(periodMs);
}

void CColorStaticST::StartBackgroundBlink(int periodMs) {
    blinkTimer_.stop();
    backgroundBlinking_ = true;
    backgroundBlinkState_ = 0;
    restartBlinkTimer(periodMs);
}

void CColorStaticST::restartBlinkTimer(int periodMs) {
    // One timer drives both blinks, so the period of the last start applies to both.
    blinkPeriod_ = periodMs;
    blinkTimer_.start(periodMs, this);
}

void CColorStaticST::setOwnerBrush(std::optional<QColor> brush) {
    ownerBrush_ = brush;
    update();
}

ColorRef CColorStaticST::currentTextColour() const {
    return textBlinking_ ? blinkTextColours_[textBlinkState_] : textColour_;
}

ColorRef CColorStaticST::currentBackgroundColour() const {
    return backgroundBlinking_ ? blinkBackgroundColours_[backgroundBlinkState_] : backgroundColour_;
}

QColor CColorStaticST::currentAreaColour() const {
    if (ownerBrush_) {
        return *ownerBrush_;
    }
    const QBrush& brush =
        backgroundBlinking_ ? blinkBackgroundBrushes_[backgroundBlinkState_] : backgroundBrush_;
    return brush.color();
}

void CColorStaticST::timerEvent(QTimerEvent* event) {
    if (event->timerId() != blinkTimer_.timerId()) {
        QLabel::timerEvent(event);
        return;
    }
    if (textBlinking_) {
        textBlinkState_ ^= 1;
    }
    if (backgroundBlinking_) {
        backgroundBlinkState_ ^= 1;
    }
    if (textBlinking_ || backgroundBlinking_) {
        update();
    }
}

void CColorStaticST::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.fillRect(rect(), currentAreaColour());
    const QRect area =
        contentsRect().marginsRemoved(QMargins(margin(), margin(), margin(), margin()));
    int flags = int(alignment());
    if (wordWrap()) {
        flags |= Qt::TextWordWrap;
    }
    painter.setFont(font());
    const QRect textRect = painter.boundingRect(area, flags, text()).intersected(area);
    painter.fillRect(textRect, toQColor(currentBackgroundColour()));
    painter.setPen(toQColor(currentTextColour()));
    painter.drawText(area, flags, text());
}
