#include "num_edit.h"

#include <QApplication>
#include <QKeyEvent>

#include "num_edit_check.h"

namespace {

// The character a key press would deliver to a classic edit as typed input: printable
// characters and control characters such as Ctrl+C, but not the keys that move through a
// dialog or delete forward, which arrive as key presses only.
std::optional<char16_t> typedCharacter(const QKeyEvent* event) {
    const QString text = event->text();
    if (text.size() != 1) {
        return std::nullopt;
    }
    switch (event->key()) {
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Escape:
        case Qt::Key_Delete:
            return std::nullopt;
        default:
            return text.front().unicode();
    }
}

}  // namespace

CNumEdit::CNumEdit(QWidget* parent) : QLineEdit(parent) {}

void CNumEdit::keyPressEvent(QKeyEvent* event) {
    const auto character = typedCharacter(event);
    if (character) {
        const QString current = text();
        const qsizetype start = hasSelectedText() ? selectionStart() : cursorPosition();
        if (!numEditAccepts(current.toStdU16String(), static_cast<size_t>(start), *character,
                            decimals, allowNegative)) {
            QApplication::beep();
            event->accept();
            return;
        }
    }
    QLineEdit::keyPressEvent(event);
}

void CNumEdit::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        event->accept();
        return;
    }
    QLineEdit::mousePressEvent(event);
}

void CNumEdit::contextMenuEvent(QContextMenuEvent* event) {
    event->accept();
}

void CNumEdit::focusInEvent(QFocusEvent* event) {
    setText(valueText);
    QLineEdit::focusInEvent(event);
}

void CNumEdit::focusOutEvent(QFocusEvent* event) {
    readValueFromText();
    setText(valueText);
    QLineEdit::focusOutEvent(event);
}

void CNumEdit::readValueFromText() {
    value = numEditValue(text().toStdU16String());
    formatValue();
}

void CNumEdit::formatValue() {
    valueText = QString::fromStdU16String(numEditText(value, decimals));
}

CPercentageEdit::CPercentageEdit(QWidget* parent) : CNumEdit(parent) {}

void CPercentageEdit::SetPercent(double number) {
    value = number;
    decimals = 2;
    allowNegative = false;
    formatValue();
    showPercent();
}

void CPercentageEdit::showPercent() {
    formatValue();
    percentText = valueText + u'%';
    setText(percentText);
}

void CPercentageEdit::focusInEvent(QFocusEvent* event) {
    if (isReadOnly()) {
        showPercent();
    } else {
        setText(valueText);
    }
    QLineEdit::focusInEvent(event);
}

void CPercentageEdit::focusOutEvent(QFocusEvent* event) {
    if (isReadOnly()) {
        QLineEdit::focusOutEvent(event);
        return;
    }
    readValueFromText();
    percentText = valueText + u'%';
    setText(percentText);
    QLineEdit::focusOutEvent(event);
}
