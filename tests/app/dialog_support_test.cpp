#include <QCheckBox>
#include <QLineEdit>
#include <QTest>

#include "child_dialog.h"
#include "dialog_support.h"

namespace {

// Notes whether a key press reached the object it watches.
class KeyWatcher : public QObject {
public:
    bool reached = false;
    bool eventFilter(QObject*, QEvent* event) override {
        reached = reached || event->type() == QEvent::KeyPress;
        return false;
    }
};

}  // namespace

class DialogSupportTest : public QObject {
    Q_OBJECT

private slots:
    void integerEntry_data();
    void integerEntry();
    void unsignedEntry_data();
    void unsignedEntry();
    void findsControlsOfItsOwnDialogOnly();
    void rangeCheckKeepsThePreviousValue_data();
    void rangeCheckKeepsThePreviousValue();
    void firstFailureStopsTheExchange();
    void loadingWritesOnlyChangedText();
    void childDialogKeepsEnterAndEscape();
};

void DialogSupportTest::integerEntry_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("value");
    QTest::newRow("plain") << "42" << true << 42;
    QTest::newRow("blanks around") << "  7 " << true << 7;
    QTest::newRow("minus") << "-15" << true << -15;
    QTest::newRow("plus") << "+3" << true << 3;
    QTest::newRow("empty") << "" << false << 0;
    QTest::newRow("sign alone") << "-" << false << 0;
    QTest::newRow("trailing letters") << "12abc" << false << 0;
    QTest::newRow("inner blank") << "1 2" << false << 0;
    QTest::newRow("largest int") << "2147483647" << true << 2147483647;
    QTest::newRow("smallest int") << "-2147483648" << true << int(-2147483648LL);
    QTest::newRow("beyond int") << "2147483648" << false << 0;
    QTest::newRow("far beyond int") << "99999999999999999999999" << false << 0;
}

void DialogSupportTest::integerEntry() {
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(int, value);
    const auto parsed = parseDialogInteger(text);
    QCOMPARE(parsed.has_value(), valid);
    if (valid) {
        QCOMPARE(*parsed, value);
    }
}

void DialogSupportTest::unsignedEntry_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::newRow("plain") << "65535" << true;
    QTest::newRow("largest") << "4294967295" << true;
    QTest::newRow("beyond") << "4294967296" << false;
    QTest::newRow("negative") << "-1" << false;
    QTest::newRow("letters") << "80a" << false;
}

void DialogSupportTest::unsignedEntry() {
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QCOMPARE(parseDialogUnsigned(text).has_value(), valid);
}

void DialogSupportTest::findsControlsOfItsOwnDialogOnly() {
    QWidget dialog;
    auto* group = new QWidget(&dialog);
    auto* own = new QLineEdit(group);
    setControlId(own, 1089);
    auto* page = new CChildDialog(129, &dialog);
    auto* pageButton = new QCheckBox(page);
    setControlId(pageButton, 1089);
    auto* pageOnly = new QCheckBox(page);
    setControlId(pageOnly, 1032);

    QCOMPARE(findControl(&dialog, 1089), own);
    QCOMPARE(findControl(page, 1089), pageButton);
    QCOMPARE(findControl(&dialog, 1032), nullptr);
    QCOMPARE(control<QCheckBox>(&dialog, 1089), nullptr);
    QCOMPARE(controlId(pageOnly), 1032);
    QCOMPARE(controlId(group), 0);
}

void DialogSupportTest::rangeCheckKeepsThePreviousValue_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("stored");
    QTest::addColumn<QString>("message");
    QTest::newRow("zero") << "0" << 5 << "Enter an integer between 1 and 999.";
    QTest::newRow("1000") << "1000" << 5 << "Enter an integer between 1 and 999.";
    QTest::newRow("letters") << "x" << 5 << "Enter an integer.";
    QTest::newRow("empty") << "" << 5 << "Enter an integer.";
    QTest::newRow("lowest") << "1" << 1 << "";
    QTest::newRow("highest") << "999" << 999 << "";
}

void DialogSupportTest::rangeCheckKeepsThePreviousValue() {
    QFETCH(QString, typed);
    QFETCH(int, stored);
    QFETCH(QString, message);
    MessageCapture messages;
    QWidget dialog;
    auto* edit = new QLineEdit(typed, &dialog);
    setControlId(edit, 1030);
    int value = 5;
    DataExchange exchange(&dialog, true);
    exchange.integerInRange(1030, value, 1, 999);
    QCOMPARE(value, stored);
    QCOMPARE(exchange.failed(), !message.isEmpty());
    QCOMPARE(messages.last(), message);
}

void DialogSupportTest::firstFailureStopsTheExchange() {
    MessageCapture messages;
    QWidget dialog;
    auto* bad = new QLineEdit("-", &dialog);
    setControlId(bad, 1);
    auto* alsoBad = new QLineEdit("-12", &dialog);
    setControlId(alsoBad, 2);
    int first = 3;
    unsigned second = 4;
    DataExchange exchange(&dialog, true);
    exchange.integer(1, first);
    exchange.unsignedInteger(2, second);
    QCOMPARE(messages.messages(), QStringList{"Enter an integer."});
    QCOMPARE(first, 3);
    QCOMPARE(second, 4u);
    DataExchange(&dialog, true).unsignedInteger(2, second);
    QCOMPARE(messages.last(), QStringLiteral("Enter a positive integer."));
}

void DialogSupportTest::loadingWritesOnlyChangedText() {
    QWidget dialog;
    auto* edit = new QLineEdit("7", &dialog);
    setControlId(edit, 1030);
    int changes = 0;
    connect(edit, &QLineEdit::textChanged, [&changes] { ++changes; });
    int value = 7;
    DataExchange(&dialog, false).integer(1030, value);
    QCOMPARE(changes, 0);
    value = 8;
    DataExchange(&dialog, false).integer(1030, value);
    QCOMPARE(changes, 1);
    QCOMPARE(edit->text(), QStringLiteral("8"));
}

void DialogSupportTest::childDialogKeepsEnterAndEscape() {
    QWidget window;
    auto* page = new CChildDialog(129, &window);
    auto* edit = new QLineEdit(page);
    KeyWatcher watcher;
    window.installEventFilter(&watcher);
    QTest::keyClick(edit, Qt::Key_Escape);
    QTest::keyClick(edit, Qt::Key_Return);
    QVERIFY(!watcher.reached);
    QTest::keyClick(edit, Qt::Key_F5);
    QVERIFY(watcher.reached);
}

QTEST_MAIN(DialogSupportTest)
#include "dialog_support_test.moc"
