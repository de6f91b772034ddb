#include "my_list_ctrl.h"

#include <QKeyEvent>
#include <QMouseEvent>

CMyListCtrl::CMyListCtrl(QWidget* parent) : QListWidget(parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
}

// The box is toggled here, on the press, so that it has its new state before the click is
// reported; items are therefore not user-checkable for the view itself.
bool CMyListCtrl::onCheckIndicator(QListWidgetItem* item, const QPoint& position) {
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.rect = visualItemRect(item);
    option.features |= QStyleOptionViewItem::HasCheckIndicator;
    const QRect box = style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, this);
    return box.contains(position);
}

void CMyListCtrl::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        event->accept();
        return;
    }
    if (event->button() != Qt::LeftButton) {
        QListWidget::mousePressEvent(event);
        return;
    }
    const QPoint position = event->position().toPoint();
    QListWidgetItem* hit = itemAt(position);
    QListWidget::mousePressEvent(event);
    if (!hit) {
        return;
    }
    if (onCheckIndicator(hit, position)) {
        hit->setCheckState(hit->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
    }
    const int index = row(hit);
    if (index >= 0 && index < count()) {
        emit itemLeftClicked(index, kLeftButtonDown);
    }
}

void CMyListCtrl::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        event->accept();
        return;
    }
    QListWidget::mouseReleaseEvent(event);
}

void CMyListCtrl::mouseDoubleClickEvent(QMouseEvent* event) {
    // A double click is a second press for this list, nothing more.
    mousePressEvent(event);
}

void CMyListCtrl::keyPressEvent(QKeyEvent* event) {
    emit keyDown(event->key());
    if (event->key() == Qt::Key_Space) {
        event->accept();
        return;
    }
    QListWidget::keyPressEvent(event);
}

void CMyListCtrl::focusOutEvent(QFocusEvent* event) {
    QListWidget::focusOutEvent(event);
    emit focusLost();
}
