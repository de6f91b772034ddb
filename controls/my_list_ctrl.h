#pragma once

#include <QListWidget>

// A list with check boxes that reports a left click on an item and ignores right clicks and
// the space bar, so check boxes change only under the mouse.
class CMyListCtrl : public QListWidget {
    Q_OBJECT

public:
    // The message number of a left button press, sent with every click report.
    static constexpr int kLeftButtonDown = 0x201;

    explicit CMyListCtrl(QWidget* parent = nullptr);

signals:
    // A left click hit item index; the click's own handling (a check box toggle) is done.
    void itemLeftClicked(int index, int message);
    // A key went down in the list, before the list handled it.
    void keyDown(int key);
    void focusLost();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    bool onCheckIndicator(QListWidgetItem* item, const QPoint& position);
};
