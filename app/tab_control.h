#pragma once

#include <QTabBar>
#include <QWidget>

// A tab bar whose tabs stand on the left, one picture each and no text. The pictures stay
// upright: the style draws each tab's shape and the bar draws its picture itself.
class CImageTabBar : public QTabBar {
    Q_OBJECT

public:
    explicit CImageTabBar(QWidget* parent = nullptr);

protected:
    QSize tabSizeHint(int index) const override;
    void paintEvent(QPaintEvent* event) override;
};

// The main window's tab control: the picture tabs and the panel beside them. The pages are
// not its children; the main window places them over the panel.
class CTabControl : public QWidget {
    Q_OBJECT

public:
    explicit CTabControl(QWidget* parent = nullptr);

    CImageTabBar* tabBar() const { return bar; }
    // Adds a tab showing picture, announced to assistive technology as name.
    int addImageTab(const QIcon& picture, const QString& name);
    int currentIndex() const { return bar->currentIndex(); }
    void setCurrentIndex(int index) { bar->setCurrentIndex(index); }
    void setTabFont(const QFont& font) { bar->setFont(font); }

    QSize minimumSizeHint() const override;

signals:
    void currentChanged(int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QRect panelRect() const;

    CImageTabBar* bar;
};
