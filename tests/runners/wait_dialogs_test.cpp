// The wait dialogs and the Qt side of the runners, offscreen.
#include <QApplication>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <thread>

#include "color_static_st.h"
#include "command.h"
#include "dialog_support.h"
#include "picture_ex.h"
#include "report_dlg.h"
#include "runner_test_ui.h"
#include "runner_ui_qt.h"
#include "runners.h"
#include "scripted_port.h"
#include "wait_dialogs.h"

namespace {

// Worker procedures are plain functions, as the dialogs start them; these talk to the
// test through globals.
std::atomic<bool> releaseWorker{false};
std::atomic<bool> workerSawStop{false};

void closeAtOnce(WorkerDialog& dialog) {
    dialog.postCloseRequest();
}

void closeWhenReleased(WorkerDialog& dialog) {
    while (!releaseWorker.load()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    dialog.postCloseRequest();
}

void closeWhenStopped(WorkerDialog& dialog) {
    while (!dialog.stopRequested() && !releaseWorker.load()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    workerSawStop = dialog.stopRequested();
    dialog.postCloseRequest();
}

// Ends a dialog that would otherwise hang the test run.
void guard(QDialog& dialog) {
    QTimer::singleShot(5000, &dialog, [&dialog] { dialog.done(99); });
}

// Runs the dialog and, once its modal loop runs, presses Enter and Escape and clicks the
// close box; then lets the worker finish. True when the dialog was still up after all
// that and ended by the worker's close request.
bool stayedThroughEnterEscapeAndClose(CWaitDlg& dialog) {
    guard(dialog);
    bool stayed = false;
    QTimer::singleShot(50, &dialog, [&dialog, &stayed] {
        QTest::keyClick(&dialog, Qt::Key_Return);
        QTest::keyClick(&dialog, Qt::Key_Escape);
        dialog.close();
        stayed = dialog.isVisible();
        releaseWorker = true;
    });
    return dialog.exec() == 1 && stayed;
}

template <class Dialog>
void checkCommonParts(Dialog& dialog, const QString& title, QSize pictureSize) {
    QCOMPARE(dialog.windowTitle(), title);
    QCOMPARE(dialog.message()->text(), QStringLiteral(" Моля, изчакайте "));
    QCOMPARE(controlId(dialog.message()), 1107);
    QCOMPARE(controlId(dialog.picture()), 1106);
    QVERIFY(dialog.picture()->isPlaying());
    QCOMPARE(dialog.picture()->pictureSize(), pictureSize);
    QVERIFY(dialog.message()->backgroundBlinking());
    QVERIFY(dialog.message()->textBlinking());
    QCOMPARE(dialog.message()->blinkPeriod(), 2000);
    QCOMPARE(dialog.message()->currentBackgroundColour(), ColorRef(0x008000));
}

}  // namespace

class WaitDialogsTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        releaseWorker = false;
        workerSawStop = false;
    }

    void connectionDialogLooksAsItShould() {
        CWaitNapDlg dialog(closeWhenReleased);
        checkCommonParts(dialog, QStringLiteral("Връзка с НАП"), QSize(200, 200));
        QCOMPARE(dialog.palette().color(QPalette::Window), QColor(Qt::white));
        QCOMPARE(dialog.property("dialogId").toInt(), 139);
        releaseWorker = true;
    }

    void reportDialogLooksAsItShould() {
        CWaitReportDlg dialog(closeWhenReleased);
        checkCommonParts(dialog, QStringLiteral("Прочитане на отчет от ZOVUZ"), QSize(81, 90));
        QCOMPARE(dialog.property("dialogId").toInt(), 140);
        releaseWorker = true;
    }

    // Both dialogs mid-animation: the picture has moved on and the label blinks green.
    // KORVEX_SHOT_DIR keeps the pictures for a look.
    void animatesWhileTheWorkerRuns() {
        CWaitNapDlg nap(closeWhenReleased);
        CWaitReportDlg report(closeWhenReleased);
        for (CWaitDlg* dialog : {static_cast<CWaitDlg*>(&nap), static_cast<CWaitDlg*>(&report)}) {
            dialog->show();
            QVERIFY(QTest::qWaitForWindowExposed(dialog));
        }
        QTRY_VERIFY_WITH_TIMEOUT(nap.picture()->currentFrame() > 0, 3000);
        QTRY_VERIFY_WITH_TIMEOUT(report.picture()->currentFrame() > 0, 3000);
        QTest::qWait(100);
        const char* names[] = {"wait_nap.png", "wait_report.png"};
        int i = 0;
        for (CWaitDlg* dialog : {static_cast<CWaitDlg*>(&nap), static_cast<CWaitDlg*>(&report)}) {
            const QImage image = dialog->grab().toImage();
            if (qEnvironmentVariableIsSet("KORVEX_SHOT_DIR")) {
                image.save(qEnvironmentVariable("KORVEX_SHOT_DIR") + u'/' +
                           QLatin1String(names[i]));
            }
            const QPoint label = dialog->message()->geometry().center();
            bool green = false;
            for (int x = dialog->message()->geometry().left();
                 x < dialog->message()->geometry().right(); ++x) {
                // Either blink state: a slow machine may have passed the first 2 seconds.
                const QColor c = image.pixelColor(x, label.y());
                green = green || c == QColor(0, 128, 0) || c == QColor(0, 255, 0);
            }
            QVERIFY2(green, names[i]);
            ++i;
        }
        QCOMPARE(nap.grab().toImage().pixelColor(2, 2), QColor(Qt::white));
        releaseWorker = true;
    }

    void workerDoneBeforeThePaintStillCloses() {
        for (int round = 0; round < 2; ++round) {
            CWaitNapDlg nap(closeAtOnce);
            // Let the worker's request arrive before the modal loop even starts.
            QTest::qWait(20);
            guard(nap);
            QCOMPARE(nap.exec(), 1);
            CWaitReportDlg report(closeAtOnce);
            guard(report);
            QCOMPARE(report.exec(), 1);
        }
    }

    void connectionDialogIgnoresEnterEscapeAndClose() {
        CWaitNapDlg dialog(closeWhenReleased);
        QVERIFY(stayedThroughEnterEscapeAndClose(dialog));
        QVERIFY(!dialog.stopRequested());
    }

    void escapeStopsTheReadOutAndWaitsForTheWorker() {
        CWaitReportDlg dialog(closeWhenStopped);
        QVERIFY(stayedThroughEnterEscapeAndClose(dialog));
        QVERIFY(workerSawStop);
    }

    // A silent device, or one that only keeps asking for patience, ends in a time-out and
    // the connection dialog closes by itself.
    void silentDeviceClosesTheConnectionDialog() {
        FakeClock clock;
        PortRecord record;
        Reply patience;
        for (int i = 0; i < 10; ++i) {
            patience.push_back({100, std::string(1, static_cast<char>(frame::kSyn))});
        }
        for (const Reply& reply : {Reply{}, patience}) {
            AttachComPort(std::make_unique<ScriptedPort>(clock, std::deque<Reply>{reply}, record));
            installQtRunnerUi();
            const uint32_t start = clock.now();
            std::u16string response;
            QVERIFY(!RunCommandWithWait(u"3", response));
            QCOMPARE(LastErrorText(), std::u16string(u"Timeout"));
            QVERIFY(clock.now() - start >= (reply.empty() ? 400u : 1400u));
            QVERIFY(!QApplication::activeModalWidget());
        }
        CloseComPort();
        setRunnerUi(nullptr);
    }

    // The whole chain on the Qt side: the report wait dialog, the read-out on its worker
    // and the viewer. Escape pressed while line 1 is on its way stops the read-out after
    // that line, and the viewer says the report is incomplete.
    void reportReadOutEndsInTheViewer_data() {
        QTest::addColumn<QByteArrayList>("answers");
        QTest::addColumn<int>("escapeAtWrite");
        QTest::addColumn<QString>("shown");
        const QByteArrayList answers = {"ERROR 000\r\n", "1,\xCE\xF2\xF7\xE5\xF2", "2,B", "3,C",
                                        "E"};
        QTest::newRow("whole report") << answers << 0 << QStringLiteral("Отчет\r\nB\r\nC\r\n");
        QTest::newRow("Escape during line 1")
            << answers << 3
            << QStringLiteral(
                   "Отчет\r\nB\r\n*** НЕПЪЛЕН ОТЧЕТ ***\r\n"
                   "*** Прочитането е спряно след 2 реда ***\r\n");
    }

    void reportReadOutEndsInTheViewer() {
        QFETCH(QByteArrayList, answers);
        QFETCH(int, escapeAtWrite);
        QFETCH(QString, shown);
        FakeClock clock;
        PortRecord record;
        std::deque<Reply> replies;
        for (const QByteArray& data : answers) {
            replies.push_back({{2, makeResponseFrame(0x20, 0xE4, data.toStdString())}});
        }
        auto port = std::make_unique<TapPort>(
            std::make_unique<ScriptedPort>(clock, std::move(replies), record));
        std::atomic<bool> escaped{false};
        // The worker waits until the window's thread has handled the key, so the stop
        // arrives between the two lines whatever the machine's speed.
        port->actAt(static_cast<size_t>(escapeAtWrite), [&escaped] {
            QMetaObject::invokeMethod(
                qApp,
                [&escaped] {
                    if (auto* wait =
                            qobject_cast<CWaitReportDlg*>(QApplication::activeModalWidget())) {
                        QTest::keyClick(wait, Qt::Key_Escape);
                    }
                    escaped = true;
                },
                Qt::QueuedConnection);
            while (!escaped.load()) {
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
        });
        AttachComPort(std::move(port));
        installQtRunnerUi();
        MessageCapture messages;
        QString viewerText;
        // The viewer is modal: read it and close it from the event loop.
        QTimer poll;
        connect(&poll, &QTimer::timeout, [&] {
            if (auto* viewer = qobject_cast<CReportDlg*>(QApplication::activeModalWidget())) {
                viewerText = viewer->reportText();
                viewer->accept();
            }
        });
        poll.start(10);
        QVERIFY(RunAndShowReport(u"\u00C8"));
        QCOMPARE(viewerText, shown);
        QVERIFY(messages.messages().isEmpty());
        CloseComPort();
        setRunnerUi(nullptr);
    }
};

QTEST_MAIN(WaitDialogsTest)
#include "wait_dialogs_test.moc"
