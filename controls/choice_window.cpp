#include "choice_window.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>
#include <QStyleOptionViewItem>

#include "dialog_support.h"
#include "my_list_ctrl.h"

namespace {

enum BitmapRole { Normal, Pressed, Focused, Disabled };

bool isCloseKey(int key) {
    return key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape;
}

}  // namespace

CChoiceWindowBtn::CChoiceWindowBtn(QWidget* parent)
    : QPushButton(parent), choicePopup(new CChoiceWindow) {
    setAutoDefault(false);
}

CChoiceWindowBtn::~CChoiceWindowBtn() {
    RemoveAllChoices();
    delete choicePopup;
}

void CChoiceWindowBtn::setBitmaps(const QPixmap& normal, const QPixmap& pressed,
                                  const QPixmap& focused, const QPixmap& disabled) {
    bitmaps[Normal] = normal;
    bitmaps[Pressed] = pressed;
    bitmaps[Focused] = focused;
    bitmaps[Disabled] = disabled;
    updateGeometry();
    update();
}

void CChoiceWindowBtn::AddChoice(const QString& text, int checked) {
    choiceItems.push_back({checked, text});
    if (autoEnable) {
        setEnabled(true);
    }
}

void CChoiceWindowBtn::RemoveAllChoices() {
    choiceItems.clear();
    if (autoEnable) {
        setEnabled(false);
    }
}

void CChoiceWindowBtn::ShowChoices() {
    choicePopup->showFor(this);
}

void CChoiceWindowBtn::SetChoiceChecked(int index, int checked) {
    if (index < 0 || index >= static_cast<int>(choiceItems.size())) {
        return;
    }
    choiceItems[static_cast<size_t>(index)].checked = checked;
    if (QListWidgetItem* item = choicePopup->list()->item(index)) {
        item->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
    }
}

void CChoiceWindowBtn::paintEvent(QPaintEvent*) {
    BitmapRole role = Normal;
    if (!isEnabled()) {
        role = Disabled;
    } else if (isDown()) {
        role = Pressed;
    } else if (hasFocus()) {
        role = Focused;
    }
    const QPixmap& picture = bitmaps[role].isNull() ? bitmaps[Normal] : bitmaps[role];
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(rect(), picture);
}

QSize CChoiceWindowBtn::sizeHint() const {
    if (bitmaps[Normal].isNull()) {
        return QPushButton::sizeHint();
    }
    return bitmaps[Normal].deviceIndependentSize().toSize();
}

CChoiceWindow::CChoiceWindow() : QFrame(nullptr, Qt::Popup), choiceList(new CMyListCtrl(this)) {
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(2);
    setFocusProxy(choiceList);
    setControlId(choiceList, kListId);
    choiceList->setObjectName(QStringLiteral("choiceList"));
    choiceList->setFrameShape(QFrame::NoFrame);
    choiceList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    choiceList->setUniformItemSizes(true);
    connect(choiceList, &CMyListCtrl::itemLeftClicked, this,
            [this](int index, int) { reportClick(index); });
    connect(choiceList, &CMyListCtrl::keyDown, this, [this](int key) { OnListKeyDown(key); });
    connect(choiceList, &CMyListCtrl::focusLost, this, &CChoiceWindow::onListFocusLost);
}

// The list outlives this part of the popup: the base class destroys it later, and the list
// still reports its focus leaving on the way. Its reports must not reach a popup that is
// already half gone.
CChoiceWindow::~CChoiceWindow() {
    disconnect(choiceList, nullptr, this, nullptr);
}

void CChoiceWindow::showFor(CChoiceWindowBtn* owner) {
    ownerButton = owner;
    setAccessibleName(owner->accessibleName());
    choiceList->setAccessibleName(owner->accessibleName());
    fill();
    layOut();
    show();
    activateWindow();
    choiceList->setFocus(Qt::PopupFocusReason);
}

void CChoiceWindow::closeChoices() {
    if (isVisible()) {
        hide();
    }
}

void CChoiceWindow::fill() {
    choiceList->clear();
    for (const auto& choice : ownerButton->choices()) {
        auto* item = new QListWidgetItem(choice.text, choiceList);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        item->setCheckState(choice.checked ? Qt::Checked : Qt::Unchecked);
    }
}

void CChoiceWindow::layOut() {
    int listHeight = 0;
    for (int i = 0; i < choiceList->count(); ++i) {
        listHeight += choiceList->sizeHintForRow(i);
    }
    // The widest item's width covers its check box, its text and the label's margins.
    const int itemWidth = choiceList->sizeHintForColumn(0);
    const int frame = frameWidth();
    const int width = std::max(ownerButton->width(), itemWidth + 2 * frame);
    QPoint topLeft = ownerButton->mapToGlobal(QPoint(0, ownerButton->height()));
    int height = listHeight + 2 * frame;
    // A computer with very many ports must not push the list off the screen.
    if (const QScreen* screen = ownerButton->screen()) {
        const QRect available = screen->availableGeometry();
        height = std::min(height, available.height());
        topLeft.setY(std::min(topLeft.y(), available.bottom() + 1 - height));
    }
    setGeometry(QRect(topLeft, QSize(width, height)));
    choiceList->setGeometry(contentsRect());
}

void CChoiceWindow::OnListKeyDown(int key) {
    if (isCloseKey(key)) {
        closeChoices();
    }
}

void CChoiceWindow::keyPressEvent(QKeyEvent* event) {
    if (isCloseKey(event->key())) {
        closeChoices();
        return;
    }
    QFrame::keyPressEvent(event);
}

void CChoiceWindow::focusInEvent(QFocusEvent*) {
    choiceList->setFocus(Qt::OtherFocusReason);
}

void CChoiceWindow::onListFocusLost() {
    const QWidget* now = QApplication::focusWidget();
    if (!now || !isAncestorOf(now)) {
        closeChoices();
    }
}

// Every way the popup goes away copies the check boxes back into the choices.
void CChoiceWindow::hideEvent(QHideEvent* event) {
    if (ownerButton) {
        auto& items = ownerButton->choiceItems;
        const int shown = std::min(choiceList->count(), static_cast<int>(items.size()));
        for (int i = 0; i < shown; ++i) {
            items[static_cast<size_t>(i)].checked =
                choiceList->item(i)->checkState() == Qt::Checked ? 1 : 0;
        }
    }
    QFrame::hideEvent(event);
}

void CChoiceWindow::reportClick(int index) {
    QPointer<CChoiceWindowBtn> owner = ownerButton;
    QMetaObject::invokeMethod(
        owner,
        [owner, index] {
            if (owner) {
                emit owner->choiceMade(index, owner);
            }
        },
        Qt::QueuedConnection);
}
