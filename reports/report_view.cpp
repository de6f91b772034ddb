#include "report_view.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <cmath>

namespace {

std::u16string_view viewOf(const QString& text) {
    return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<size_t>(text.size())};
}

}  // namespace

CReportView::CReportView(QWidget* parent) : QAbstractScrollArea(parent) {
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setBackgroundRole(QPalette::Base);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    lines = indexLines({});
}

void CReportView::setText(const QString& text) {
    content = text;
    lines = indexLines(viewOf(content));
    longestLine = static_cast<size_t>(
        std::max_element(lines.begin(), lines.end(),
                         [](const LineSpan& a, const LineSpan& b) { return a.length < b.length; }) -
        lines.begin());
    anchor = cursor = 0;
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
    updateScrollBars();
    viewport()->update();
}

void CReportView::setCharFormat(const QTextCharFormat& charFormat) {
    format = charFormat;
    font = format.font();
    colour = format.foreground().color();
    updateScrollBars();
    viewport()->update();
}

QString CReportView::lineText(size_t line) const {
    if (line >= lines.size()) {
        return {};
    }
    return content.mid(lines[line].start, lines[line].length);
}

int CReportView::firstVisibleLine() const {
    return verticalScrollBar()->value();
}

void CReportView::setSelection(qsizetype newAnchor, qsizetype newPosition) {
    anchor = std::clamp<qsizetype>(newAnchor, 0, content.size());
    cursor = std::clamp<qsizetype>(newPosition, 0, content.size());
    viewport()->update();
}

QString CReportView::selectedText() const {
    return content.mid(selectionStart(), selectionEnd() - selectionStart());
}

void CReportView::selectAll() {
    setSelection(content.size(), 0);
}

void CReportView::copy() const {
    if (selectionEnd() > selectionStart()) {
        QGuiApplication::clipboard()->setText(selectedText());
    }
}

// The characters are raised by a share of their size; the line grows by as much, so the
// raised text never touches the line above.
int CReportView::raisePixels() const {
    const qreal points = font.pointSizeF() * format.baselineOffset() / 100;
    return static_cast<int>(std::lround(points * logicalDpiY() / 72.0));
}

int CReportView::lineHeight() const {
    return std::max(1, QFontMetrics(font).lineSpacing() + raisePixels());
}

qreal CReportView::lineWidth(size_t line) const {
    return QFontMetricsF(font).horizontalAdvance(lineText(line));
}

void CReportView::updateScrollBars() {
    const int visible = std::max(1, viewport()->height() / lineHeight());
    QScrollBar* vertical = verticalScrollBar();
    const auto lastTop = static_cast<qsizetype>(lines.size()) - visible;
    vertical->setRange(0, static_cast<int>(std::clamp<qsizetype>(lastTop, 0, INT_MAX)));
    vertical->setPageStep(visible);
    vertical->setSingleStep(1);
    QScrollBar* horizontal = horizontalScrollBar();
    const int width = static_cast<int>(std::ceil(lineWidth(longestLine))) + 2 * kMargin;
    horizontal->setRange(0, std::max(0, width - viewport()->width()));
    horizontal->setPageStep(viewport()->width());
    horizontal->setSingleStep(std::max(1, QFontMetrics(font).averageCharWidth()));
}

void CReportView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

void CReportView::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    painter.setFont(font);
    const int height = lineHeight();
    size_t line = static_cast<size_t>(verticalScrollBar()->value());
    for (int top = 0; top < viewport()->height() && line < lines.size(); top += height, ++line) {
        paintLine(painter, line, top);
    }
}

// Draws one line, the selected part (only while focused) in the highlight colours. A
// selected line end shows as a short highlighted cell after the text.
void CReportView::paintLine(QPainter& painter, size_t line, int top) const {
    const QFontMetricsF metrics(font);
    const QString text = lineText(line);
    const qsizetype start = lines[line].start;
    const qsizetype end = start + text.size();
    const bool shown = hasFocus() && selectionStart() <= end && selectionEnd() > start;
    const qsizetype from =
        shown ? std::clamp<qsizetype>(selectionStart() - start, 0, text.size()) : text.size();
    const qsizetype to =
        shown ? std::clamp<qsizetype>(selectionEnd() - start, 0, text.size()) : text.size();
    const bool lineEndSelected = shown && selectionEnd() > end;

    const qreal left = kMargin - horizontalScrollBar()->value();
    const qreal baseline = top + metrics.ascent();
    const qreal selectionLeft = left + metrics.horizontalAdvance(text.left(from));
    const QString selected = text.mid(from, to - from);
    const qreal selectedWidth = metrics.horizontalAdvance(selected);
    painter.setPen(colour);
    painter.drawText(QPointF(left, baseline), text.left(from));
    painter.drawText(QPointF(selectionLeft + selectedWidth, baseline), text.mid(to));
    if (from < to || lineEndSelected) {
        const qreal cell = lineEndSelected ? metrics.averageCharWidth() / 2 : 0;
        painter.fillRect(QRectF(selectionLeft, top, selectedWidth + cell, lineHeight()),
                         palette().brush(QPalette::Highlight));
        painter.setPen(palette().color(QPalette::HighlightedText));
        painter.drawText(QPointF(selectionLeft, baseline), selected);
    }
}

qsizetype CReportView::positionAt(QPoint point) const {
    const int row = point.y() < 0 ? -1 : point.y() / lineHeight();
    const auto line = static_cast<size_t>(std::clamp<qsizetype>(
        verticalScrollBar()->value() + row, 0, static_cast<qsizetype>(lines.size()) - 1));
    const QString text = lineText(line);
    const QFontMetricsF metrics(font);
    const qreal x = point.x() + horizontalScrollBar()->value() - kMargin;
    qreal edge = 0;
    qsizetype column = 0;
    while (column < text.size()) {
        const qreal advance = metrics.horizontalAdvance(text.at(column));
        if (x < edge + advance / 2) {
            break;
        }
        edge += advance;
        ++column;
    }
    return lines[line].start + column;
}

void CReportView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    const qsizetype pos = positionAt(event->position().toPoint());
    setSelection(event->modifiers() & Qt::ShiftModifier ? anchor : pos, pos);
    selecting = true;
}

// Dragging past the top or bottom edge scrolls, so a selection can reach any line.
void CReportView::mouseMoveEvent(QMouseEvent* event) {
    if (!selecting) {
        return;
    }
    const QPoint point = event->position().toPoint();
    if (point.y() < 0) {
        verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
    } else if (point.y() > viewport()->height()) {
        verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    }
    setSelection(anchor, positionAt(point));
}

void CReportView::mouseReleaseEvent(QMouseEvent* event) {
    selecting = false;
    QAbstractScrollArea::mouseReleaseEvent(event);
}

// A read-only report has no text cursor to move, so the keys scroll it the way a reader
// expects: arrows by a line or a column, pages by a screenful, Home and End (with or
// without Ctrl) to the first and the last line.
bool CReportView::scrollByKey(QKeyEvent* event) {
    struct KeyScroll {
        int key;
        bool vertical;
        QAbstractSlider::SliderAction action;
    };
    static constexpr KeyScroll kKeys[] = {
        {Qt::Key_Up, true, QAbstractSlider::SliderSingleStepSub},
        {Qt::Key_Down, true, QAbstractSlider::SliderSingleStepAdd},
        {Qt::Key_PageUp, true, QAbstractSlider::SliderPageStepSub},
        {Qt::Key_PageDown, true, QAbstractSlider::SliderPageStepAdd},
        {Qt::Key_Home, true, QAbstractSlider::SliderToMinimum},
        {Qt::Key_End, true, QAbstractSlider::SliderToMaximum},
        {Qt::Key_Left, false, QAbstractSlider::SliderSingleStepSub},
        {Qt::Key_Right, false, QAbstractSlider::SliderSingleStepAdd},
    };
    for (const KeyScroll& k : kKeys) {
        if (k.key == event->key()) {
            (k.vertical ? verticalScrollBar() : horizontalScrollBar())->triggerAction(k.action);
            return true;
        }
    }
    return false;
}

void CReportView::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Copy)) {
        copy();
    } else if (event->matches(QKeySequence::SelectAll)) {
        selectAll();
    } else if (!scrollByKey(event)) {
        event->ignore();  // Enter and Escape go on to the dialog
    }
}

void CReportView::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
}

void CReportView::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}

void CReportView::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    QAction* copyAction = menu.addAction(QStringLiteral("Копирай"), this, &CReportView::copy);
    copyAction->setEnabled(selectionEnd() > selectionStart());
    menu.addAction(QStringLiteral("Избери всичко"), this, &CReportView::selectAll);
    menu.exec(event->globalPos());
}
