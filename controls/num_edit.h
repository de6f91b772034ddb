#pragma once

#include <QLineEdit>

// An edit for one decimal number with a fixed number of decimals. It refuses, with a beep,
// characters that would make its text something other than such a number, and rewrites the
// text as the formatted number when it loses the focus. A paste is not filtered.
class CNumEdit : public QLineEdit {
    Q_OBJECT

public:
    explicit CNumEdit(QWidget* parent = nullptr);

    double value = 0.0;
    int decimals = 2;
    bool allowNegative = false;
    QString valueText = QStringLiteral("0.00");

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

    // Reads the window text into value and valueText.
    void readValueFromText();
    void formatValue();
};

// A numeric edit that shows its number with a percent sign while it does not have the focus.
class CPercentageEdit : public CNumEdit {
    Q_OBJECT

public:
    explicit CPercentageEdit(QWidget* parent = nullptr);

    void SetPercent(double number);

    QString percentText;

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void showPercent();
};
