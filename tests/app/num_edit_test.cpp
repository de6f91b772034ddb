#include <QApplication>
#include <QContextMenuEvent>
#include <QTest>

#include "num_edit.h"
#include "num_edit_check.h"

class NumEditTest : public QObject {
    Q_OBJECT

private slots:
    void characterCheck_data();
    void characterCheck();
    void valueOfText_data();
    void valueOfText();
    void formatting_data();
    void formatting();
    void percentageEditShowsPercentOnlyWithoutFocus();
    void readOnlyPercentageEditKeepsPercentForm();
    void leavingRewritesTheText_data();
    void leavingRewritesTheText();
    void typedCharactersAreFiltered();
    void rightClickOpensNoMenu();
};

void NumEditTest::characterCheck_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("caret");
    QTest::addColumn<QChar>("character");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<bool>("allowNegative");
    QTest::addColumn<bool>("accepted");

    const QChar copy(3), backspace(8);
    QTest::newRow("empty takes a point at 0") << "" << 0 << QChar('.') << 2 << false << true;
    QTest::newRow("empty takes a digit") << "" << 0 << QChar('7') << 2 << false << true;
    QTest::newRow("empty still refuses a letter") << "" << 0 << QChar('a') << 2 << false << false;
    QTest::newRow("empty refuses minus when not allowed")
        << "" << 0 << QChar('-') << 2 << false << false;
    QTest::newRow("full decimals, caret at end")
        << "20.00" << 5 << QChar('1') << 2 << false << false;
    QTest::newRow("full decimals, caret inside")
        << "20.00" << 4 << QChar('1') << 2 << false << false;
    QTest::newRow("digits before the point unlimited")
        << "20.00" << 2 << QChar('9') << 2 << false << true;
    QTest::newRow("digit at start") << "20.00" << 0 << QChar('9') << 2 << false << true;
    QTest::newRow("one decimal, caret at end") << "20.5" << 4 << QChar('1') << 2 << false << true;
    QTest::newRow("point at 1") << "20" << 1 << QChar('.') << 2 << false << true;
    QTest::newRow("point at 2") << "20" << 2 << QChar('.') << 2 << false << true;
    QTest::newRow("point at 0") << "20" << 0 << QChar('.') << 2 << false << false;
    QTest::newRow("second point") << "2.0" << 1 << QChar('.') << 2 << false << false;
    QTest::newRow("point without decimals") << "20" << 2 << QChar('.') << 0 << false << false;
    QTest::newRow("minus at 0 when allowed") << "20" << 0 << QChar('-') << 2 << true << true;
    QTest::newRow("minus elsewhere") << "20" << 1 << QChar('-') << 2 << true << false;
    QTest::newRow("second minus") << "-20" << 0 << QChar('-') << 2 << true << false;
    QTest::newRow("backspace in full decimals") << "20.00" << 5 << backspace << 2 << false << true;
    QTest::newRow("copy key in full decimals") << "20.00" << 4 << copy << 2 << false << false;
    QTest::newRow("copy key before the point") << "20.00" << 1 << copy << 2 << false << true;
    QTest::newRow("caret beyond decimals") << "1.5" << 3 << QChar('0') << 0 << false << false;
}

void NumEditTest::characterCheck() {
    QFETCH(QString, text);
    QFETCH(int, caret);
    QFETCH(QChar, character);
    QFETCH(int, decimals);
    QFETCH(bool, allowNegative);
    QFETCH(bool, accepted);
    QCOMPARE(numEditAccepts(text.toStdU16String(), static_cast<size_t>(caret), character.unicode(),
                            decimals, allowNegative),
             accepted);
}

void NumEditTest::valueOfText_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    QTest::newRow("plain") << "7.5" << 7.5;
    QTest::newRow("trailing letters") << "12abc" << 12.0;
    QTest::newRow("letters only") << "abc" << 0.0;
    QTest::newRow("point only") << "." << 0.0;
    QTest::newRow("blanks and sign") << "  -3.25" << -3.25;
    QTest::newRow("plus sign") << "+4" << 4.0;
    QTest::newRow("exponent") << "1e2" << 100.0;
    QTest::newRow("beyond double") << "1e999" << 0.0;
    QTest::newRow("cyrillic stops reading") << QString::fromUtf8("5д") << 5.0;
}

void NumEditTest::valueOfText() {
    QFETCH(QString, text);
    QFETCH(double, value);
    QCOMPARE(numEditValue(text.toStdU16String()), value);
}

void NumEditTest::formatting_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<QString>("text");
    QTest::newRow("two decimals") << 20.0 << 2 << "20.00";
    QTest::newRow("an exact tie rounds to even") << 0.125 << 2 << "0.12";
    QTest::newRow("rounds 2.675 as stored") << 2.675 << 2 << "2.67";
    QTest::newRow("no decimals") << 7.6 << 0 << "8";
    QTest::newRow("negative decimals count as none") << 7.4 << -1 << "7";
    QTest::newRow("negative value") << -1.5 << 1 << "-1.5";
}

void NumEditTest::formatting() {
    QFETCH(double, value);
    QFETCH(int, decimals);
    QFETCH(QString, text);
    QCOMPARE(QString::fromStdU16String(numEditText(value, decimals)), text);
}

namespace {

// An edit beside another one that can take the focus away from it.
template <class Edit>
struct EditWindow {
    QWidget window;
    Edit* edit = new Edit(&window);
    QLineEdit* other = new QLineEdit(&window);

    EditWindow() {
        other->move(0, 40);
        window.show();
    }

    bool focus(QWidget* target) {
        target->setFocus();
        return QTest::qWaitFor([target] { return target->hasFocus(); });
    }
    bool enter() { return focus(edit); }
    bool leave() { return focus(other); }
};

}  // namespace

void NumEditTest::percentageEditShowsPercentOnlyWithoutFocus() {
    EditWindow<CPercentageEdit> w;
    QVERIFY(QTest::qWaitForWindowExposed(&w.window));
    QVERIFY(w.leave());
    w.edit->SetPercent(20);
    QCOMPARE(w.edit->text(), QStringLiteral("20.00%"));
    QVERIFY(w.enter());
    QCOMPARE(w.edit->text(), QStringLiteral("20.00"));
    w.edit->selectAll();
    QTest::keyClicks(w.edit, "7.5");
    QVERIFY(w.leave());
    QCOMPARE(w.edit->text(), QStringLiteral("7.50%"));
    QCOMPARE(w.edit->value, 7.5);
}

void NumEditTest::readOnlyPercentageEditKeepsPercentForm() {
    EditWindow<CPercentageEdit> w;
    QVERIFY(QTest::qWaitForWindowExposed(&w.window));
    QVERIFY(w.leave());
    w.edit->SetPercent(9);
    w.edit->setReadOnly(true);
    QVERIFY(w.enter());
    QCOMPARE(w.edit->text(), QStringLiteral("9.00%"));
    QVERIFY(w.leave());
    QCOMPARE(w.edit->text(), QStringLiteral("9.00%"));
    QCOMPARE(w.edit->value, 9.0);
}

void NumEditTest::leavingRewritesTheText_data() {
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<double>("value");
    QTest::newRow("trailing letters") << "12abc" << 2 << "12.00" << 12.0;
    QTest::newRow("no number") << "abc" << 2 << "0.00" << 0.0;
    QTest::newRow("point alone") << "." << 2 << "0.00" << 0.0;
    QTest::newRow("rounded to the places") << "3.14159" << 3 << "3.142" << 3.14159;
    QTest::newRow("no places") << "41.7" << 0 << "42" << 41.7;
}

// A paste is not filtered; the text becomes a number only when the edit is left.
void NumEditTest::leavingRewritesTheText() {
    QFETCH(QString, pasted);
    QFETCH(int, decimals);
    QFETCH(QString, shown);
    QFETCH(double, value);
    EditWindow<CNumEdit> w;
    w.edit->decimals = decimals;
    QVERIFY(QTest::qWaitForWindowExposed(&w.window));
    QVERIFY(w.enter());
    w.edit->setText(pasted);
    QVERIFY(w.leave());
    QCOMPARE(w.edit->text(), shown);
    QCOMPARE(w.edit->valueText, shown);
    QCOMPARE(w.edit->value, value);
    QVERIFY(w.enter());
    QCOMPARE(w.edit->text(), shown);
}

void NumEditTest::typedCharactersAreFiltered() {
    CNumEdit edit;
    edit.allowNegative = true;
    QTest::keyClicks(&edit, "-12x.345");
    QCOMPARE(edit.text(), QStringLiteral("-12.34"));
    edit.setCursorPosition(1);
    QTest::keyClicks(&edit, "-9");
    QCOMPARE(edit.text(), QStringLiteral("-912.34"));
    QTest::keyClick(&edit, Qt::Key_Backspace);
    QCOMPARE(edit.text(), QStringLiteral("-12.34"));
}

void NumEditTest::rightClickOpensNoMenu() {
    EditWindow<CPercentageEdit> w;
    QVERIFY(QTest::qWaitForWindowExposed(&w.window));
    QTest::mouseClick(w.edit, Qt::RightButton, {}, QPoint(5, 5));
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5),
                            w.edit->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(w.edit, &event);
    QVERIFY(!QApplication::activePopupWidget());
}

QTEST_MAIN(NumEditTest)
#include "num_edit_test.moc"
