#include "child_dialog.h"

#include <QKeyEvent>

#include "dialog_support.h"

CChildDialog::CChildDialog(int dialogId, QWidget* parent) : QWidget(parent) {
    setProperty(kDialogIdProperty, dialogId);
}

int CChildDialog::dialogId() const {
    return property(kDialogIdProperty).toInt();
}

bool CChildDialog::UpdateData(bool) {
    return true;
}

void CChildDialog::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Escape:
            event->accept();
            return;
        default:
            QWidget::keyPressEvent(event);
    }
}
