#pragma once

#include <QAbstractScrollArea>
#include <QTextCharFormat>
#include <vector>

#include "line_index.h"

// The read-only display of a report: the text in one character format, scrolled by whole
// lines. It keeps the report's own text (shared, not copied) and a small index of its
// lines and draws only the lines in view, so a report of any length opens at once and
// costs little more memory than its text. The selection is drawn only while the display
// has the focus.
class CReportView : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit CReportView(QWidget* parent = nullptr);

    void setText(const QString& text);
    const QString& text() const { return content; }
    // Font face, size, colour and the raise above the baseline (a percentage of the size).
    void setCharFormat(const QTextCharFormat& format);
    const QTextCharFormat& charFormat() const { return format; }

    size_t lineCount() const { return lines.size(); }
    QString lineText(size_t line) const;
    int firstVisibleLine() const;

    // The selection runs between the anchor and the cursor position (text offsets).
    void setSelection(qsizetype anchor, qsizetype position);
    qsizetype selectionStart() const { return std::min(anchor, cursor); }
    qsizetype selectionEnd() const { return std::max(anchor, cursor); }
    qsizetype cursorPosition() const { return cursor; }
    QString selectedText() const;

public slots:
    void selectAll();
    void copy() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void updateScrollBars();
    int lineHeight() const;
    int raisePixels() const;
    qreal lineWidth(size_t line) const;
    qsizetype positionAt(QPoint point) const;
    void paintLine(QPainter& painter, size_t line, int top) const;
    bool scrollByKey(QKeyEvent* event);

    QString content;
    std::vector<LineSpan> lines;
    size_t longestLine = 0;
    QTextCharFormat format;
    QFont font;
    QColor colour;
    qsizetype anchor = 0;
    qsizetype cursor = 0;
    bool selecting = false;
    static constexpr int kMargin = 4;
};
