#include "tab_control.h"

#include <QStyleOptionTab>
#include <QStyleOptionTabWidgetFrame>
#include <QStylePainter>

namespace {
constexpr int kPictureSize = 64;
constexpr int kTabPadding = 8;
}  // namespace

CImageTabBar::CImageTabBar(QWidget* parent) : QTabBar(parent) {
    setShape(QTabBar::RoundedWest);
    setIconSize(QSize(kPictureSize, kPictureSize));
    setExpanding(false);
    setDrawBase(false);
}

QSize CImageTabBar::tabSizeHint(int) const {
    const int side = kPictureSize + 2 * kTabPadding;
    return {side, side};
}

void CImageTabBar::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    for (int i = 0; i < count(); ++i) {
        QStyleOptionTab option;
        initStyleOption(&option, i);
        option.icon = QIcon();
        option.text.clear();
        painter.drawControl(QStyle::CE_TabBarTabShape, option);
        const QRect pictureRect(QPoint(), iconSize());
        QRect target = pictureRect;
        target.moveCenter(option.rect.center());
        if (i == currentIndex()) {
            target.translate(-1, 0);
        }
        tabIcon(i).paint(&painter, target, Qt::AlignCenter,
                         isEnabled() ? QIcon::Normal : QIcon::Disabled);
        if (i == currentIndex() && hasFocus()) {
            QStyleOptionFocusRect focus;
            focus.initFrom(this);
            focus.rect = option.rect.adjusted(4, 4, -4, -4);
            painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
        }
    }
}

CTabControl::CTabControl(QWidget* parent) : QWidget(parent), bar(new CImageTabBar(this)) {
    setFocusProxy(bar);
    connect(bar, &QTabBar::currentChanged, this, &CTabControl::currentChanged);
}

int CTabControl::addImageTab(const QIcon& picture, const QString& name) {
    const int index = bar->addTab(picture, QString());
    bar->setTabToolTip(index, name);
    bar->setAccessibleTabName(index, name);
    bar->resize(bar->sizeHint());
    return index;
}

QRect CTabControl::panelRect() const {
    const int left = bar->sizeHint().width() - 2;
    return rect().adjusted(left, 0, 0, 0);
}

QSize CTabControl::minimumSizeHint() const {
    const QSize tabs = bar->sizeHint();
    return {tabs.width() + 40, tabs.height()};
}

void CTabControl::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionTabWidgetFrame frame;
    frame.initFrom(this);
    frame.rect = panelRect();
    frame.shape = QTabBar::RoundedWest;
    frame.tabBarSize = bar->sizeHint();
    frame.lineWidth = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
    painter.drawPrimitive(QStyle::PE_FrameTabWidget, frame);
}

void CTabControl::resizeEvent(QResizeEvent* event) {
    bar->setGeometry(QRect(QPoint(0, 0), bar->sizeHint()));
    QWidget::resizeEvent(event);
}
