// A static whose whole area is a two-colour linear gradient with its text drawn on top, on
// one line. Pages use it for their title strips and for coloured status boxes.
#pragma once

#include <QLabel>

#include <cstdint>

#include "color_ref.h"

class QPainter;

class CGradientStatic : public QLabel {
    Q_OBJECT
public:
    explicit CGradientStatic(QWidget* parent = nullptr);

    void SetCaption(const QString& text);

    // Set directly by the owning page; they take effect at the next paint.
    int32_t textMargin = 10;
    ColorRef startColour;
    ColorRef endColour;
    ColorRef gradientTextColour;
    int textAlign = 0;  // 0 left, 1 centred, anything else right
    bool verticalGradient = false;
    // The smooth fill is used wherever painting supports it; the banded one is the fallback.
    bool smoothFill = true;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void fillSmooth(QPainter& painter) const;
    void fillBanded(QPainter& painter) const;
    void drawCaption(QPainter& painter) const;
};
