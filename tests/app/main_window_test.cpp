#include <QAccessible>
#include <QApplication>
#include <QContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "about_dlg.h"
#include "child_dialog.h"
#include "choice_window.h"
#include "dialog_support.h"
#include "korvex_dlg.h"
#include "my_list_ctrl.h"
#include "serial_port.h"
#include "tab_control.h"

namespace {

// A port that is open and never answers; enough to stand for an open line.
class QuietPort final : public SerialPort {
public:
    size_t read(uint8_t*, size_t) override { return 0; }
    bool waitReadable(int) override { return false; }
    size_t write(const uint8_t*, size_t size) override { return size; }
    void purgeInput() override {}
    void purgeAll() override {}
};

QLineEdit* portField(const CKorvexDlg& dialog) {
    return control<QLineEdit>(&dialog, 1030);
}

void attachOpenPort(CKorvexDlg& dialog) {
    AttachComPort(std::make_unique<QuietPort>());
    dialog.SetPortOpenState();
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { CloseComPort(); }
    void pagesAreCreatedInOrder();
    void portStateTable_data();
    void portStateTable();
    void captionsAndAccessibleNames();
    void showPagePlacesOnePage_data();
    void showPagePlacesOnePage();
    void tabSelectionShowsItsPage();
    void portFieldRangeKeepsPreviousNumber_data();
    void portFieldRangeKeepsPreviousNumber();
    void aboutBoxAndItsPlace();
    void typingClosesTheOpenPort();
    void writingTheFieldKeepsThePortOpen();
    void keysInTheChooserStayInIt_data();
    void keysInTheChooserStayInIt();
    void exitPaths_data();
    void exitPaths();
};

void MainWindowTest::pagesAreCreatedInOrder() {
    CKorvexDlg dialog;
    QStringList classes;
    QList<int> ids;
    for (CChildDialog* page : dialog.pages()) {
        classes << page->metaObject()->className();
        ids << page->dialogId();
    }
    QCOMPARE(classes, QStringList({"CFiscalizationDlg", "CFiscalDeviceDlg", "CSiteInfoDlg",
                                   "CServiceDlg", "CKlenDlg"}));
    QCOMPARE(ids, QList<int>({129, 130, 131, 132, 138}));
}

void MainWindowTest::portStateTable_data() {
    QTest::addColumn<int>("dialogId");
    QTest::addColumn<int>("id");
    QTest::addColumn<bool>("enabledWhenOpen");
    QTest::addColumn<bool>("enabledWhenClosed");
    const struct {
        int dialog;
        QList<int> ids;
        bool open;
        bool closed;
    } table[] = {
        {102, {1088}, false, true},
        {102, {1089, 1069}, true, false},
        {102, {1068, 1031, 1030, 1}, true, true},
        {129, {1032, 1033, 1034, 1097, 1089, 1098}, true, false},
        {130, {1032, 1033}, true, false},
        {131, {1032, 1033}, true, false},
        {132, {1032, 1033, 1105, 1106, 1109, 1110}, true, false},
        {138, {1118, 1119, 1130, 1131}, true, false},
    };
    for (const auto& row : table) {
        for (int id : row.ids) {
            QTest::addRow("%d/%d", row.dialog, id) << row.dialog << id << row.open << row.closed;
        }
    }
}

void MainWindowTest::portStateTable() {
    QFETCH(int, dialogId);
    QFETCH(int, id);
    QFETCH(bool, enabledWhenOpen);
    QFETCH(bool, enabledWhenClosed);
    CKorvexDlg dialog;
    const QWidget* owner = &dialog;
    for (CChildDialog* page : dialog.pages()) {
        if (page->dialogId() == dialogId) {
            owner = page;
        }
    }
    QWidget* widget = findControl(owner, id);
    QVERIFY2(widget, "the control exists");
    QCOMPARE(widget->isEnabled(), enabledWhenClosed);
    dialog.SetPortOpenState();
    QCOMPARE(widget->isEnabled(), enabledWhenOpen);
    dialog.SetPortClosedState();
    QCOMPARE(widget->isEnabled(), enabledWhenClosed);
}

void MainWindowTest::captionsAndAccessibleNames() {
    CKorvexDlg dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Конфигуриране на данъчен терминал"));
    const QList<QPair<int, QString>> captions = {
        {1, "Изход"}, {1088, "Отвори"}, {1089, "Затвори"}, {1069, "Версия"}, {1068, "Autodetect"}};
    for (const auto& [id, caption] : captions) {
        auto* button = control<QPushButton>(&dialog, id);
        QVERIFY(button);
        QCOMPARE(button->text(), caption);
        QCOMPARE(QAccessible::queryAccessibleInterface(button)->text(QAccessible::Name), caption);
    }
    QAccessibleInterface* field = QAccessible::queryAccessibleInterface(portField(dialog));
    QCOMPARE(field->text(QAccessible::Name), QStringLiteral("Сериен порт:"));
    QCOMPARE(portField(dialog)->text(), QStringLiteral("1"));
    QCOMPARE(portField(dialog)->maxLength(), 3);
    QAccessibleInterface* tabs =
        QAccessible::queryAccessibleInterface(control<CTabControl>(&dialog, 1000)->tabBar());
    QCOMPARE(tabs->child(0)->text(QAccessible::Name), QStringLiteral("Фискализация"));
    QVERIFY(!QAccessible::queryAccessibleInterface(dialog.portChooser())
                 ->text(QAccessible::Name)
                 .isEmpty());
}

void MainWindowTest::showPagePlacesOnePage_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("shownDialogId");
    QTest::newRow("first tab") << 0 << 129;
    QTest::newRow("second tab") << 1 << 138;
    QTest::newRow("beyond the tabs") << 2 << 129;
    QTest::newRow("negative") << -1 << 129;
}

void MainWindowTest::showPagePlacesOnePage() {
    QFETCH(int, index);
    QFETCH(int, shownDialogId);
    CKorvexDlg dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    auto* tabs = control<CTabControl>(&dialog, 1000);
    QCOMPARE(tabs->tabBar()->count(), 2);
    dialog.ShowPage(index);
    QList<int> visible;
    for (CChildDialog* page : dialog.pages()) {
        if (page->isVisible()) {
            visible << page->dialogId();
        }
    }
    QCOMPARE(visible, QList<int>{shownDialogId});
    const int tab = shownDialogId == 129 ? 0 : 1;
    const QWidget* page = dialog.pageOfTab(tab);
    QCOMPARE(page->geometry(), QRect(96, 20, tabs->width() - 90, tabs->height() - 10));
    QCOMPARE(tabs->currentIndex(), tab);
    QVERIFY(tabs->geometry().contains(page->geometry().bottomRight()));
}

void MainWindowTest::tabSelectionShowsItsPage() {
    CKorvexDlg dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    auto* tabs = control<CTabControl>(&dialog, 1000);
    const QRect second = tabs->tabBar()->tabRect(1);
    QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, {}, second.center());
    QVERIFY(dialog.pageOfTab(1)->isVisible());
    QVERIFY(!dialog.pageOfTab(0)->isVisible());
}

void MainWindowTest::portFieldRangeKeepsPreviousNumber_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("portAfter");
    QTest::newRow("zero") << "0"
                          << "Enter an integer between 1 and 999." << 7;
    QTest::newRow("empty") << ""
                           << "Enter an integer." << 7;
    QTest::newRow("letters") << "ab"
                             << "Enter an integer." << 7;
    QTest::newRow("highest") << "999" << QString() << 999;
    // The field takes three characters, so a fourth key is not typed at all.
    QTest::newRow("1000 stops at three digits") << "1000" << QString() << 100;
}

void MainWindowTest::portFieldRangeKeepsPreviousNumber() {
    QFETCH(QString, typed);
    QFETCH(QString, message);
    QFETCH(int, portAfter);
    MessageCapture messages;
    CKorvexDlg dialog;
    portField(dialog)->setText("7");
    QVERIFY(dialog.UpdateData(true));
    portField(dialog)->clear();
    QTest::keyClicks(portField(dialog), typed);
    QCOMPARE(dialog.UpdateData(true), message.isEmpty());
    QCOMPARE(messages.messages(), message.isEmpty() ? QStringList() : QStringList{message});
    QCOMPARE(dialog.portNumber(), portAfter);
}

void MainWindowTest::aboutBoxAndItsPlace() {
    CKorvexDlg dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QStringList entries;
    QTimer::singleShot(0, [&entries] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            for (const QAction* action : menu->actions()) {
                entries << action->text();
            }
            menu->close();
        }
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(400, 200),
                            dialog.mapToGlobal(QPoint(400, 200)));
    QApplication::sendEvent(&dialog, &event);
    QCOMPARE(entries, QStringList{"&About Korvex..."});

    CAboutDlg about(&dialog);
    QCOMPARE(about.windowTitle(), QStringLiteral("About Korvex"));
    QStringList texts;
    for (const QLabel* label : about.findChildren<QLabel*>()) {
        texts << label->text();
    }
    QVERIFY(texts.contains("Korvex, Version 1.0"));
    auto* ok = about.findChild<QPushButton*>();
    QVERIFY(ok);
    QCOMPARE(QAccessible::queryAccessibleInterface(ok)->text(QAccessible::Name), "OK");
}

void MainWindowTest::typingClosesTheOpenPort() {
    CKorvexDlg dialog;
    attachOpenPort(dialog);
    QVERIFY(IsPortOpen());
    QTest::keyClick(portField(dialog), Qt::Key_2);
    QVERIFY(!IsPortOpen());
    QVERIFY(findControl(&dialog, 1088)->isEnabled());
    QVERIFY(!findControl(&dialog, 1069)->isEnabled());
}

void MainWindowTest::writingTheFieldKeepsThePortOpen() {
    CKorvexDlg dialog;
    attachOpenPort(dialog);
    portField(dialog)->setText("12");
    QVERIFY(dialog.UpdateData(true));
    QVERIFY(dialog.UpdateData(false));
    QVERIFY(IsPortOpen());
}

void MainWindowTest::keysInTheChooserStayInIt_data() {
    QTest::addColumn<int>("key");
    QTest::newRow("enter") << int(Qt::Key_Return);
    QTest::newRow("escape") << int(Qt::Key_Escape);
}

// Enter and Escape close the port list; they must not travel on and end the window.
void MainWindowTest::keysInTheChooserStayInIt() {
    QFETCH(int, key);
    CKorvexDlg dialog;
    dialog.setPortLister([](std::vector<uint32_t>& numbers, std::vector<std::u16string>& names) {
        numbers = {1, 2};
        names = {u"first", u"second"};
    });
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    dialog.portChooser()->click();
    CChoiceWindow* popup = dialog.portChooser()->popup();
    QVERIFY(popup->isVisible());
    popup->list()->setCurrentRow(1);
    QTest::keyClick(popup->list(), Qt::Key(key));
    QVERIFY(!popup->isVisible());
    QVERIFY(dialog.isVisible());
    QCOMPARE(dialog.result(), 0);
}

void MainWindowTest::exitPaths_data() {
    QTest::addColumn<QString>("way");
    QTest::addColumn<QString>("field");
    QTest::addColumn<bool>("ends");
    QTest::addColumn<int>("messageCount");
    QTest::newRow("exit, valid") << "exit"
                                 << "5" << true << 0;
    QTest::newRow("enter, valid") << "enter"
                                  << "5" << true << 0;
    QTest::newRow("exit, invalid") << "exit"
                                   << "0" << false << 2;
    QTest::newRow("enter, invalid") << "enter"
                                    << "0" << false << 2;
    QTest::newRow("escape, invalid") << "escape"
                                     << "0" << true << 1;
    QTest::newRow("close box, invalid") << "close"
                                        << "0" << true << 1;
}

void MainWindowTest::exitPaths() {
    QFETCH(QString, way);
    QFETCH(QString, field);
    QFETCH(bool, ends);
    QFETCH(int, messageCount);
    MessageCapture messages;
    CKorvexDlg dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    attachOpenPort(dialog);
    portField(dialog)->setText(field);
    if (way == "exit") {
        control<QPushButton>(&dialog, 1)->click();
    } else if (way == "enter") {
        QTest::keyClick(portField(dialog), Qt::Key_Return);
    } else if (way == "escape") {
        QTest::keyClick(portField(dialog), Qt::Key_Escape);
    } else {
        dialog.close();
    }
    QCOMPARE(dialog.isVisible(), !ends);
    QCOMPARE(messages.messages().size(), messageCount);
    QVERIFY(!IsPortOpen());
    if (ends) {
        const int expected =
            way == "exit" || way == "enter" ? QDialog::Accepted : QDialog::Rejected;
        QCOMPARE(dialog.result(), expected);
    }
}

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
