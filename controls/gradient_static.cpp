#include "gradient_static.h"

#include <QLinearGradient>
#include <QPainter>

#include "gradient_bands.h"
#include "qt_color_ref.h"

CGradientStatic::CGradientStatic(QWidget* parent) : QLabel(parent) {
    startColour = toColorRef(palette().color(QPalette::Highlight));
    endColour = toColorRef(palette().color(QPalette::Button));
    gradientTextColour = toColorRef(palette().color(QPalette::HighlightedText));
}

void CGradientStatic::SetCaption(const QString& text) {
    setText(text);
    update();
}

void CGradientStatic::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    if (smoothFill) {
        fillSmooth(painter);
    } else {
        fillBanded(painter);
    }
    drawCaption(painter);
}

void CGradientStatic::fillSmooth(QPainter& painter) const {
    const QRect area = rect();
    const QPointF end = verticalGradient ? QPointF(0, area.height()) : QPointF(area.width(), 0);
    QLinearGradient gradient(QPointF(0, 0), end);
    gradient.setColorAt(0, toQColor(startColour));
    gradient.setColorAt(1, toQColor(endColour));
    painter.fillRect(area, gradient);
}

void CGradientStatic::fillBanded(QPainter& painter) const {
    const QRect area = rect();
    const int extent = verticalGradient ? area.height() : area.width();
    for (const GradientBand& band : gradientBands(extent, startColour, endColour)) {
        if (band.to <= band.from) {
            continue;
        }
        const QRect strip = verticalGradient
                                ? QRect(0, band.from, area.width(), band.to - band.from)
                                : QRect(band.from, 0, band.to - band.from, area.height());
        painter.fillRect(strip, toQColor(band.colour));
    }
}

void CGradientStatic::drawCaption(QPainter& painter) const {
    QRect area = rect();
    int horizontal = Qt::AlignHCenter;
    if (textAlign == 0) {
        area.setLeft(area.left() + textMargin);
        horizontal = Qt::AlignLeft;
    } else if (textAlign != 1) {
        area.setRight(area.right() - textMargin);
        horizontal = Qt::AlignRight;
    }
    painter.setFont(font());
    painter.setPen(toQColor(gradientTextColour));
    painter.setClipRect(rect());
    painter.drawText(area, horizontal | Qt::AlignVCenter | Qt::TextSingleLine, text());
}
