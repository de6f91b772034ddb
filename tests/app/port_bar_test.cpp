#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <atomic>
#include <map>
#include <memory>

#include "choice_window.h"
#include "command.h"
#include "dialog_support.h"
#include "korvex_dlg.h"
#include "my_list_ctrl.h"
#include "pty_simulator.h"
#include "serial_port.h"

namespace {

enum class Device { Normal, Silent, AnswersVidi };

// Simulated devices linked as COM<n> in a folder of their own, each counting the requests
// that reach it.
class Bench {
public:
    Bench() { setPortsDirectory(folder.path().toStdString()); }
    ~Bench() {
        CloseComPort();
        devices.clear();
        setPortsDirectory("");
    }

    sim::PtySimulator& add(int number, Device kind) {
        std::atomic<int>& count = requests[number];
        sim::PtySimulatorOptions options;
        options.log = [&count](const std::string& line) {
            if (line.find("<- SEQ") != std::string::npos) {
                ++count;
            }
        };
        const QString link = folder.filePath(QStringLiteral("COM%1").arg(number));
        auto device = std::make_unique<sim::PtySimulator>(link.toStdString(), options);
        if (kind == Device::Silent) {
            sim::Fault silent;
            silent.silent = true;
            device->setFault(sim::kAnyCommand, silent);
        } else if (kind == Device::AnswersVidi) {
            device->setIdentification("VIDI");
        }
        return *(devices[number] = std::move(device));
    }

    int requestsTo(int number) { return requests[number].load(); }

    QTemporaryDir folder;
    std::map<int, std::atomic<int>> requests;
    std::map<int, std::unique_ptr<sim::PtySimulator>> devices;
};

QLineEdit* portField(const CKorvexDlg& dialog) {
    return control<QLineEdit>(&dialog, 1030);
}

QString labelOf(const sim::PtySimulator& device, int number) {
    return QString::fromStdString(device.ptyPath()) + QStringLiteral(" (COM%1)").arg(number);
}

}  // namespace

class PortBarTest : public QObject {
    Q_OBJECT

private slots:
    void portLabels_data();
    void portLabels();
    void chooserListsPortsAndMarksTheCurrentOne();
    void pickingAPortClosesIt_data();
    void pickingAPortClosesIt();
    void otherSendersAreIgnored();
    void noPortGivesTheSingleItem();
    void probedPortsAreLabelledByNumber();
    void autodetectFindsTheDeviceOnTheThirdPort();
    void identificationAnswers_data();
    void identificationAnswers();
    void versionAnswer_data();
    void versionAnswer();
    void openFailureIsReported();
};

void PortBarTest::portLabels_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("label");
    QTest::newRow("named") << "USB Serial" << 7 << "USB Serial (COM7)";
    QTest::newRow("probed, no name") << "" << 3 << " (COM3)";
    QTest::newRow("percent signs stay") << "a %1 b" << 255 << "a %1 b (COM255)";
}

void PortBarTest::portLabels() {
    QFETCH(QString, name);
    QFETCH(int, number);
    QFETCH(QString, label);
    QCOMPARE(portLabel(name.toStdU16String(), static_cast<uint32_t>(number)), label);
}

void PortBarTest::chooserListsPortsAndMarksTheCurrentOne() {
    Bench bench;
    auto& second = bench.add(2, Device::Normal);
    auto& fifth = bench.add(5, Device::Normal);
    CKorvexDlg dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    portField(dialog)->setText("5");
    dialog.portChooser()->click();
    const auto& choices = dialog.portChooser()->choices();
    QVERIFY(choices.size() >= 2);
    QCOMPARE(choices[0].text, labelOf(second, 2));
    QCOMPARE(choices[0].checked, 0);
    QCOMPARE(choices[1].text, labelOf(fifth, 5));
    QCOMPARE(choices[1].checked, 1);
    QVERIFY(dialog.portChooser()->popup()->isVisible());
    QVERIFY(dialog.portChooser()->popup()->width() >= dialog.portChooser()->width());
    dialog.portChooser()->popup()->closeChoices();
}

void PortBarTest::pickingAPortClosesIt_data() {
    QTest::addColumn<int>("picked");
    QTest::addColumn<int>("portAfter");
    QTest::newRow("another port") << 0 << 2;
    QTest::newRow("the current port") << 1 << 5;
}

void PortBarTest::pickingAPortClosesIt() {
    QFETCH(int, picked);
    QFETCH(int, portAfter);
    Bench bench;
    bench.add(2, Device::Normal);
    bench.add(5, Device::Normal);
    MessageCapture messages;
    CKorvexDlg dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    portField(dialog)->setText("5");
    dialog.OnOpenPort();
    QVERIFY(IsPortOpen());
    dialog.portChooser()->click();
    // The pick arrives the way a user makes it: a click on the item's text in the popup.
    CMyListCtrl* list = dialog.portChooser()->popup()->list();
    const QRect item = list->visualItemRect(list->item(picked));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      QPoint(item.right() - 4, item.center().y()));
    QTRY_VERIFY(!IsPortOpen());
    QCOMPARE(dialog.portNumber(), portAfter);
    QCOMPARE(portField(dialog)->text(), QString::number(portAfter));
    QVERIFY(findControl(&dialog, 1088)->isEnabled());
    const auto& choices = dialog.portChooser()->choices();
    for (int i = 0; i < static_cast<int>(choices.size()); ++i) {
        QCOMPARE(choices[static_cast<size_t>(i)].checked, i == picked ? 1 : 0);
    }
    QVERIFY(messages.messages().isEmpty());
    dialog.portChooser()->popup()->closeChoices();
}

void PortBarTest::otherSendersAreIgnored() {
    Bench bench;
    bench.add(4, Device::Normal);
    CKorvexDlg dialog;
    dialog.portChooser()->click();
    CChoiceWindowBtn stranger;
    dialog.OnPortChosen(0, &stranger);
    QCOMPARE(dialog.portNumber(), 1);
    dialog.portChooser()->popup()->closeChoices();
}

void PortBarTest::noPortGivesTheSingleItem() {
    MessageCapture messages;
    CKorvexDlg dialog;
    dialog.setPortLister([](auto&, auto&) {});
    dialog.portChooser()->click();
    const auto& choices = dialog.portChooser()->choices();
    QCOMPARE(choices.size(), size_t(1));
    QCOMPARE(choices[0].text, QStringLiteral("Компютъра няма COM портове"));
    QCOMPARE(choices[0].checked, 1);
    QVERIFY(!dialog.portChooser()->popup()->isVisible());
    QVERIFY(dialog.portChooser()->isEnabled());
    dialog.OnPortChosen(0, dialog.portChooser());
    QCOMPARE(dialog.portNumber(), 1);
    control<QPushButton>(&dialog, 1068)->click();
    QCOMPARE(messages.messages(), QStringList{"ZOVUZ не може да бъде открит"});
    QVERIFY(!IsPortOpen());
    QVERIFY(!QApplication::overrideCursor());
}

// Ports found by probing have no name: their label is a blank, then the number.
void PortBarTest::probedPortsAreLabelledByNumber() {
    CKorvexDlg dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    dialog.setPortLister([](std::vector<uint32_t>& numbers, std::vector<std::u16string>& names) {
        numbers = {1, 40};
        names = {u"", u""};
    });
    dialog.portChooser()->click();
    const auto& choices = dialog.portChooser()->choices();
    QCOMPARE(choices.size(), size_t(2));
    QCOMPARE(choices[0].text, QStringLiteral(" (COM1)"));
    QCOMPARE(choices[0].checked, 1);
    QCOMPARE(choices[1].text, QStringLiteral(" (COM40)"));
    QCOMPARE(choices[1].checked, 0);
    dialog.portChooser()->popup()->closeChoices();
}

void PortBarTest::autodetectFindsTheDeviceOnTheThirdPort() {
    Bench bench;
    bench.add(1, Device::Silent);
    bench.add(2, Device::AnswersVidi);
    auto& third = bench.add(3, Device::Normal);
    bench.add(4, Device::Normal);
    MessageCapture messages;
    CKorvexDlg dialog;
    control<QPushButton>(&dialog, 1068)->click();
    QCOMPARE(messages.messages(),
             QStringList{QStringLiteral("ZOVUZ е открит на порт: ") + labelOf(third, 3)});
    QVERIFY(IsPortOpen());
    QCOMPARE(dialog.portNumber(), 3);
    QCOMPARE(portField(dialog)->text(), QStringLiteral("3"));
    QVERIFY(!findControl(&dialog, 1088)->isEnabled());
    QVERIFY(findControl(&dialog, 1069)->isEnabled());
    QCOMPARE(bench.requestsTo(1), 1);
    QCOMPARE(bench.requestsTo(2), 1);
    QCOMPARE(bench.requestsTo(3), 1);
    QCOMPARE(bench.requestsTo(4), 0);
    QVERIFY(!QApplication::overrideCursor());
}

void PortBarTest::identificationAnswers_data() {
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("found");
    QTest::newRow("exactly the name") << "VIDIZ" << true;
    QTest::newRow("the name and more") << "VIDIZ ZV-01" << true;
    QTest::newRow("four letters only") << "VIDI" << false;
    QTest::newRow("another device") << "XIDIZ" << false;
    QTest::newRow("silent") << QString() << false;
}

// Only an answer that begins with the device's five letters is the device; everything else
// leaves the port closed with the not-found message.
void PortBarTest::identificationAnswers() {
    QFETCH(QString, answer);
    QFETCH(bool, found);
    Bench bench;
    sim::PtySimulator& device = bench.add(6, answer.isEmpty() ? Device::Silent : Device::Normal);
    if (!answer.isEmpty()) {
        device.setIdentification(answer.toStdString());
    }
    MessageCapture messages;
    CKorvexDlg dialog;
    dialog.OnAutodetect();
    const QString expected = found ? QStringLiteral("ZOVUZ е открит на порт: ") + labelOf(device, 6)
                                   : QStringLiteral("ZOVUZ не може да бъде открит");
    QCOMPARE(messages.messages(), QStringList{expected});
    QCOMPARE(IsPortOpen(), found);
    QCOMPARE(findControl(&dialog, 1088)->isEnabled(), !found);
    QCOMPARE(dialog.portNumber(), found ? 6 : 1);
    QVERIFY(!QApplication::overrideCursor());
}

void PortBarTest::versionAnswer_data() {
    QTest::addColumn<bool>("silent");
    QTest::addColumn<QString>("message");
    QTest::newRow("the device's text unchanged") << false << "ZOVUZ ZV-01 v1.07.3 12.05.2024";
    QTest::newRow("silent device")
        << true << QString::fromStdU16String(kCommunicationErrorPrefix) + "Timeout";
}

void PortBarTest::versionAnswer() {
    QFETCH(bool, silent);
    QFETCH(QString, message);
    Bench bench;
    bench.add(3, silent ? Device::Silent : Device::Normal);
    MessageCapture messages;
    CKorvexDlg dialog;
    portField(dialog)->setText("3");
    dialog.OnOpenPort();
    QVERIFY(IsPortOpen());
    control<QPushButton>(&dialog, 1069)->click();
    QCOMPARE(messages.messages(), QStringList{message});
    QVERIFY(!QApplication::overrideCursor());
}

void PortBarTest::openFailureIsReported() {
    Bench bench;
    MessageCapture messages;
    CKorvexDlg dialog;
    portField(dialog)->setText("250");
    control<QPushButton>(&dialog, 1088)->click();
    QCOMPARE(messages.messages(), QStringList{"Серийния порт не може да бъде отворен"});
    QVERIFY(!IsPortOpen());
    QVERIFY(findControl(&dialog, 1088)->isEnabled());
    QVERIFY(!findControl(&dialog, 1089)->isEnabled());
}

QTEST_MAIN(PortBarTest)
#include "port_bar_test.moc"
