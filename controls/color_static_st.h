// A static text drawn in chosen colours, whose text and background colours can blink
// between two colours each. Both blinks share one timer, so they flip together.
#pragma once

#include <QBasicTimer>
#include <QBrush>
#include <QLabel>

#include <array>
#include <optional>

#include "color_ref.h"

class CColorStaticST : public QLabel {
    Q_OBJECT
public:
    explicit CColorStaticST(QWidget* parent = nullptr);
    explicit CColorStaticST(const QString& text, QWidget* parent = nullptr);
    ~CColorStaticST() override;

    void SetTextColour(ColorRef colour);
    void SetBackgroundColour(ColorRef colour);
    void SetBlinkTextColours(ColorRef state0, ColorRef state1);
    void SetBlinkBackgroundColours(ColorRef state0, ColorRef state1);
    void StartTextBlink(int periodMs);
    void StartBackgroundBlink(int periodMs);

    // A dialog that paints all its controls on a brush of its own (as the white wait dialog
    // does) sets it here; the control's area then keeps that brush and only the background
    // directly behind the text shows the control's colours.
    void setOwnerBrush(std::optional<QColor> brush);

    ColorRef currentTextColour() const;
    ColorRef currentBackgroundColour() const;
    QColor currentAreaColour() const;

    ColorRef backgroundColour() const { return backgroundColour_; }
    int textBlinkState() const { return textBlinkState_; }
    int backgroundBlinkState() const { return backgroundBlinkState_; }
    bool textBlinking() const { return textBlinking_; }
    bool backgroundBlinking() const { return backgroundBlinking_; }
    int blinkPeriod() const { return blinkPeriod_; }
    int blinkTimerId() const { return blinkTimer_.timerId(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    void restartBlinkTimer(int periodMs);

    QBasicTimer blinkTimer_;
    int blinkPeriod_ = 0;
    ColorRef textColour_;
    std::array<ColorRef, 2> blinkTextColours_;
    bool textBlinking_ = false;
    int textBlinkState_ = 0;
    ColorRef backgroundColour_;
    std::array<ColorRef, 2> blinkBackgroundColours_;
    bool backgroundBlinking_ = false;
    int backgroundBlinkState_ = 0;
    QBrush backgroundBrush_;
    std::array<QBrush, 2> blinkBackgroundBrushes_;
    std::optional<QColor> ownerBrush_;
};
