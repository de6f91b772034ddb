#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include "choice_window.h"
#include "my_list_ctrl.h"

namespace {

// A window with a chooser button and an edit to take the focus away.
struct ChooserWindow {
    QWidget window;
    CChoiceWindowBtn* button;
    QLineEdit* elsewhere;

    explicit ChooserWindow(int buttonWidth) {
        auto* layout = new QVBoxLayout(&window);
        button = new CChoiceWindowBtn;
        button->setFixedSize(buttonWidth, 24);
        elsewhere = new QLineEdit;
        layout->addWidget(button);
        layout->addWidget(elsewhere);
        window.show();
    }

    CMyListCtrl* list() const { return button->popup()->list(); }

    QPoint boxOf(int row) const {
        const QRect item = list()->visualItemRect(list()->item(row));
        return QPoint(item.left() + item.height() / 2 + 1, item.center().y());
    }

    QPoint textOf(int row) const {
        const QRect item = list()->visualItemRect(list()->item(row));
        return QPoint(item.right() - 4, item.center().y());
    }
};

}  // namespace

class ChoiceWindowTest : public QObject {
    Q_OBJECT

private slots:
    void enablingFollowsTheChoices();
    void popupLiesUnderTheButtonAndIsNeverNarrower_data();
    void popupLiesUnderTheButtonAndIsNeverNarrower();
    void closingCopiesCheckMarksBack_data();
    void closingCopiesCheckMarksBack();
    void focusLeavingThePopupClosesIt_data();
    void focusLeavingThePopupClosesIt();
    void clickOnBoxTogglesAndReports();
    void clickOnTextReportsWithoutToggling();
    void rightClickSpaceAndEmptyAreaDoNothing();
    void setChoiceCheckedReachesTheOpenList();
};

void ChoiceWindowTest::enablingFollowsTheChoices() {
    CChoiceWindowBtn button;
    button.AddChoice("a", 0);
    QVERIFY(button.isEnabled());
    button.RemoveAllChoices();
    QVERIFY(!button.isEnabled());
    QVERIFY(button.choices().empty());
    button.AddChoice("b", 1);
    QVERIFY(button.isEnabled());
    button.autoEnable = false;
    button.RemoveAllChoices();
    QVERIFY(button.isEnabled());
}

void ChoiceWindowTest::popupLiesUnderTheButtonAndIsNeverNarrower_data() {
    QTest::addColumn<int>("buttonWidth");
    QTest::addColumn<QString>("text");
    QTest::newRow("short text, wide button") << 300 << "x (COM1)";
    QTest::newRow("long text, small button")
        << 24 << "USB Serial Converter with a rather long description (COM17)";
}

void ChoiceWindowTest::popupLiesUnderTheButtonAndIsNeverNarrower() {
    QFETCH(int, buttonWidth);
    QFETCH(QString, text);
    ChooserWindow w(buttonWidth);
    QVERIFY(QTest::qWaitForWindowExposed(&w.window));
    w.button->AddChoice(text, 0);
    w.button->AddChoice("second", 1);
    w.button->ShowChoices();
    CChoiceWindow* popup = w.button->popup();
    QVERIFY(popup->isVisible());
    QCOMPARE(popup->pos(), w.button->mapToGlobal(QPoint(0, w.button->height())));
    QVERIFY(popup->width() >= buttonWidth);
    const int textWidth = QFontMetrics(w.list()->font()).horizontalAdvance(text);
    QVERIFY2(popup->width() > textWidth, "the longest text fits");
    QVERIFY2(popup->width() < std::max(buttonWidth, textWidth) + 80, "no waste beside the text");
    QCOMPARE(w.list()->count(), 2);
    QCOMPARE(w.list()->item(1)->checkState(), Qt::Checked);
    QVERIFY(w.list()->visualItemRect(w.list()->item(1)).bottom() < w.list()->height());
}

void ChoiceWindowTest::closingCopiesCheckMarksBack_data() {
    QTest::addColumn<int>("closeKey");
    QTest::newRow("enter") << int(Qt::Key_Return);
    QTest::newRow("escape") << int(Qt::Key_Escape);
    QTest::newRow("hidden otherwise") << 0;
}

void ChoiceWindowTest::closingCopiesCheckMarksBack() {
    QFETCH(int, closeKey);
    ChooserWindow w(24);
    QVERIFY(QTest::qWaitForWindowExposed(&w.window));
    w.button->AddChoice("one", 1);
    w.button->AddChoice("two", 0);
    w.button->ShowChoices();
    w.list()->item(0)->setCheckState(Qt::Unchecked);
    w.list()->item(1)->setCheckState(Qt::Checked);
    QCOMPARE(w.button->choices()[0].checked, 1);
    if (closeKey) {
        QTest::keyClick(w.list(), Qt::Key(closeKey));
    } else {
        w.button->popup()->hide();
    }
    QVERIFY(!w.button->popup()->isVisible());
    QCOMPARE(w.button->choices()[0].checked, 0);
    QCOMPARE(w.button->choices()[1].checked, 1);
}

void ChoiceWindowTest::focusLeavingThePopupClosesIt_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("click elsewhere in the window") << "click";
    QTest::newRow("focus moved elsewhere") << "focus";
}

// Whichever way the focus leaves, the boxes ticked in the list become the choices' marks.
void ChoiceWindowTest::focusLeavingThePopupClosesIt() {
    QFETCH(QString, how);
    ChooserWindow w(24);
    QVERIFY(QTest::qWaitForWindowExposed(&w.window));
    w.button->AddChoice("one", 0);
    w.button->AddChoice("two", 1);
    w.button->ShowChoices();
    QTRY_VERIFY(w.list()->hasFocus());
    QTest::mouseClick(w.list()->viewport(), Qt::LeftButton, {}, w.boxOf(0));
    if (how == "click") {
        QTest::mouseClick(w.elsewhere, Qt::LeftButton, {}, QPoint(5, 5));
    } else {
        w.elsewhere->activateWindow();
        w.elsewhere->setFocus(Qt::MouseFocusReason);
    }
    QTRY_VERIFY(!w.button->popup()->isVisible());
    QCOMPARE(w.button->choices()[0].checked, 1);
    QCOMPARE(w.button->choices()[1].checked, 1);
}

void ChoiceWindowTest::clickOnBoxTogglesAndReports() {
    ChooserWindow w(24);
    QVERIFY(QTest::qWaitForWindowExposed(&w.window));
    w.button->AddChoice("one", 0);
    w.button->AddChoice("two", 0);
    w.button->ShowChoices();
    QSignalSpy made(w.button, &CChoiceWindowBtn::choiceMade);
    QTest::mouseClick(w.list()->viewport(), Qt::LeftButton, {}, w.boxOf(1));
    QCOMPARE(w.list()->item(1)->checkState(), Qt::Checked);
    QCOMPARE(made.count(), 0);  // posted, not sent
    QTRY_COMPARE(made.count(), 1);
    QCOMPARE(made[0][0].toInt(), 1);
    QCOMPARE(made[0][1].value<CChoiceWindowBtn*>(), w.button);
    QVERIFY(w.button->popup()->isVisible());
}

void ChoiceWindowTest::clickOnTextReportsWithoutToggling() {
    ChooserWindow w(24);
    QVERIFY(QTest::qWaitForWindowExposed(&w.window));
    w.button->AddChoice("a long enough text to click on", 0);
    w.button->ShowChoices();
    QSignalSpy made(w.button, &CChoiceWindowBtn::choiceMade);
    QTest::mouseClick(w.list()->viewport(), Qt::LeftButton, {}, w.textOf(0));
    QTRY_COMPARE(made.count(), 1);
    QCOMPARE(made[0][0].toInt(), 0);
    QCOMPARE(w.list()->item(0)->checkState(), Qt::Unchecked);
}

void ChoiceWindowTest::rightClickSpaceAndEmptyAreaDoNothing() {
    ChooserWindow w(24);
    QVERIFY(QTest::qWaitForWindowExposed(&w.window));
    w.button->AddChoice("one", 0);
    w.button->ShowChoices();
    w.list()->resize(w.list()->width(), 200);
    QSignalSpy made(w.button, &CChoiceWindowBtn::choiceMade);
    QTest::mouseClick(w.list()->viewport(), Qt::RightButton, {}, w.boxOf(0));
    w.list()->setCurrentRow(0);
    QTest::keyClick(w.list(), Qt::Key_Space);
    QTest::mouseClick(w.list()->viewport(), Qt::LeftButton, {}, QPoint(5, 150));
    QTest::qWait(50);
    QCOMPARE(made.count(), 0);
    QCOMPARE(w.list()->item(0)->checkState(), Qt::Unchecked);
}

void ChoiceWindowTest::setChoiceCheckedReachesTheOpenList() {
    ChooserWindow w(24);
    QVERIFY(QTest::qWaitForWindowExposed(&w.window));
    w.button->AddChoice("one", 1);
    w.button->AddChoice("two", 0);
    w.button->ShowChoices();
    w.button->SetChoiceChecked(0, 0);
    w.button->SetChoiceChecked(1, 1);
    w.button->SetChoiceChecked(7, 1);
    QCOMPARE(w.list()->item(0)->checkState(), Qt::Unchecked);
    QCOMPARE(w.list()->item(1)->checkState(), Qt::Checked);
    QCOMPARE(w.button->choices()[1].checked, 1);
}

QTEST_MAIN(ChoiceWindowTest)
#include "choice_window_test.moc"
