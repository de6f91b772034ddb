#include <sys/resource.h>

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFileDialog>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGuiApplication>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <csignal>

#include "dialog_support.h"
#include "report_dlg.h"
#include "report_view.h"

namespace {

const QString kFamily = QStringLiteral("Korvex Report Mono");

// Answers the save-file dialog with a fixed path while it lives.
class ChooserScript {
public:
    explicit ChooserScript(QString answer) {
        previous = CReportDlg::setFileChooser([this, answer](QWidget*) {
            ++calls;
            return answer;
        });
    }
    ~ChooserScript() { CReportDlg::setFileChooser(previous); }
    int calls = 0;

private:
    CReportDlg::FileChooser previous;
};

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void saveAs(CReportDlg& viewer, const QString& answer) {
    ChooserScript chooser(answer);
    viewer.OnSave();
    QCOMPARE(chooser.calls, 1);
}

}  // namespace

class ReportDlgTest : public QObject {
    Q_OBJECT
private slots:
    void opensWithTitleCaptionsAndFocus() {
        CReportDlg viewer(QStringLiteral("A\r\nB\r\n"));
        QCOMPARE(viewer.windowTitle(), QStringLiteral("Отчет"));
        QCOMPARE(control<QPushButton>(&viewer, 1121)->text(), QStringLiteral("Запиши"));
        QPushButton* ok = control<QPushButton>(&viewer, 1);
        QVERIFY(ok->isDefault());
        QCOMPARE(viewer.focusWidget(), ok);
        CReportView* view = control<CReportView>(&viewer, 1120);
        QVERIFY(view);
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(view);
        QVERIFY(accessible);
        QCOMPARE(accessible->text(QAccessible::Name), QStringLiteral("Отчет"));
    }

    void showsEveryLineAndKeepsTheTextIntact() {
        const QString report = QString::fromUtf8("Първи ред\r\nВтори\r\n\r\nlast");
        CReportDlg viewer(report);
        CReportView* view = viewer.display();
        QCOMPARE(view->lineCount(), size_t{4});
        QCOMPARE(view->lineText(0), QStringLiteral("Първи ред"));
        QCOMPARE(view->lineText(2), QString());
        QCOMPARE(view->lineText(3), QStringLiteral("last"));
        QCOMPARE(viewer.reportText(), report);
        QVERIFY(view->text().isSharedWith(report));  // shown without a copy
    }

    void oneFormatWholeTextSelectedFromTheTop() {
        const QString report = QStringLiteral("ЗАГЛАВИЕ\r\n1,23 лв.\r\nend\r\n");
        CReportDlg viewer(report);
        const QTextCharFormat f = viewer.display()->charFormat();
        QCOMPARE(f.fontPointSize(), 16.0);
        QCOMPARE(f.foreground().color(), QColor(0, 0, 255));
        QCOMPARE(f.fontWeight(), int(QFont::Normal));
        QCOMPARE(f.fontFamilies().toStringList(), QStringList{kFamily});
        QCOMPARE(f.baselineOffset(), 12.5);
        CReportView* view = viewer.display();
        QCOMPARE(view->selectionStart(), 0);
        QCOMPARE(view->selectionEnd(), report.size());
        QCOMPARE(view->cursorPosition(), 0);
        QCOMPARE(view->selectedText(), report);
    }

    void displaysInTheProgramsFont() {
        CReportDlg viewer(QStringLiteral("Отчет"));
        QCOMPARE(viewer.privateFont().fullName(), QStringLiteral("Korvex Report Mono Bold"));
        QVERIFY(viewer.privateFont().registered());
        const QFontInfo info(viewer.display()->charFormat().font());
        QCOMPARE(info.family(), kFamily);
        QVERIFY(info.fixedPitch());
        QVERIFY(qAbs(info.pointSizeF() - 16.0) < 0.5);  // rounded to whole pixels
    }

    void longReportOpensAtTheTopAndScrollsToTheEnd() {
        QString report;
        for (int i = 0; i < 5000; ++i) {
            report += QStringLiteral("ред %1\r\n").arg(i);
        }
        CReportDlg viewer(report);
        viewer.show();
        CReportView* view = viewer.display();
        QCOMPARE(view->firstVisibleLine(), 0);
        view->setFocus();
        QTest::keyClick(view, Qt::Key_End, Qt::ControlModifier);
        QVERIFY(view->firstVisibleLine() > 4900);
        QVERIFY(view->verticalScrollBar()->maximum() + view->verticalScrollBar()->pageStep() >=
                5001);
    }

    // From the top of a long report: each key moves the first visible line as a reader
    // expects, whatever was pressed before it.
    void keysScrollTheReport() {
        QString report;
        for (int i = 0; i < 1000; ++i) {
            report += QStringLiteral("ред %1 %2\r\n").arg(i).arg(QString(60, u'═'));
        }
        CReportDlg viewer(report);
        viewer.resize(500, 400);
        viewer.show();
        CReportView* view = viewer.display();
        view->setFocus();
        const int page = view->verticalScrollBar()->pageStep();
        const int last = view->verticalScrollBar()->maximum();
        QVERIFY(page > 1 && last > 900);
        const struct {
            Qt::Key key;
            Qt::KeyboardModifiers modifiers;
            int firstLine;
        } steps[] = {
            {Qt::Key_PageUp, {}, 0},
            {Qt::Key_Down, {}, 1},
            {Qt::Key_PageDown, {}, 1 + page},
            {Qt::Key_Up, {}, page},
            {Qt::Key_End, {}, last},
            {Qt::Key_Down, {}, last},
            {Qt::Key_Home, {}, 0},
            {Qt::Key_End, Qt::ControlModifier, last},
            {Qt::Key_PageUp, {}, last - page},
            {Qt::Key_Home, Qt::ControlModifier, 0},
        };
        for (const auto& step : steps) {
            QTest::keyClick(view, step.key, step.modifiers);
            QCOMPARE(view->firstVisibleLine(), step.firstLine);
        }
        QTest::keyClick(view, Qt::Key_Right);
        QVERIFY(view->horizontalScrollBar()->value() > 0);
        QTest::keyClick(view, Qt::Key_Left);
        QCOMPARE(view->horizontalScrollBar()->value(), 0);
        QVERIFY(viewer.isVisible());
    }

    // The viewer opens with OK focused and everything selected: Ctrl+C copies the whole
    // report from there, without first clicking into the text.
    void copyWorksWithTheFocusOnOk() {
        QGuiApplication::clipboard()->clear();
        const QString report = QStringLiteral("Отчет\r\nред 2\r\n");
        CReportDlg viewer(report);
        viewer.show();
        QVERIFY(QTest::qWaitForWindowActive(&viewer));
        QPushButton* ok = control<QPushButton>(&viewer, 1);
        QCOMPARE(QApplication::focusWidget(), ok);
        QTest::keyClick(ok, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), report);
        QVERIFY(viewer.isVisible());
    }

    // Enter on a focused Save saves; it must not close the viewer through OK.
    void enterOnSaveSaves() {
        CReportDlg viewer(QStringLiteral("x"));
        viewer.show();
        QVERIFY(QTest::qWaitForWindowActive(&viewer));
        ChooserScript chooser{QString()};
        QPushButton* save = control<QPushButton>(&viewer, 1121);
        save->setFocus();
        QTest::keyClick(save, Qt::Key_Return);
        QCOMPARE(chooser.calls, 1);
        QVERIFY(viewer.isVisible());
    }

    void selectionCanBeCopiedAndRemade() {
        CReportDlg viewer(QStringLiteral("ab\r\ncd"));
        viewer.show();
        CReportView* view = viewer.display();
        view->setFocus();
        QTest::keyClick(view, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("ab\r\ncd"));
        view->setSelection(1, 5);
        QCOMPARE(view->selectedText(), QStringLiteral("b\r\nc"));
        view->setSelection(-3, 99);  // out-of-range offsets are held inside the text
        QCOMPARE(view->selectionEnd(), 6);
        QTest::keyClick(view, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(view->selectedText(), QStringLiteral("ab\r\ncd"));
    }

    // The report is really drawn, in blue, and the selection stays hidden while the OK
    // button has the focus. KORVEX_SHOT_DIR keeps the picture for a look.
    void drawsTheReportInBlueWithTheSelectionHidden() {
        // Columns line up only when the face really is monospaced; the last two lines are
        // what a stopped read-out adds.
        CReportDlg viewer(QStringLiteral(
            "      КОНТРОЛНА ЛЕНТА (КЛЕН)\r\n╔══════════════════════════╗\r\n"
            "║ ФИСКАЛЕН БОН  №0000042   ║\r\n╚══════════════════════════╝\r\n"
            "Хляб бял               1.20 Б\r\nМляко 3%               2.35 Б\r\n"
            "ОБЩА СУМА              3.55\r\nДДС Б 20.00%           0.59\r\n"
            "*** НЕПЪЛЕН ОТЧЕТ ***\r\n*** Прочитането е спряно след 8 реда ***\r\n"));
        viewer.resize(560, 380);
        viewer.show();
        QVERIFY(QTest::qWaitForWindowExposed(&viewer));
        const QImage image = viewer.grab().toImage();
        if (qEnvironmentVariableIsSet("KORVEX_SHOT_DIR")) {
            image.save(qEnvironmentVariable("KORVEX_SHOT_DIR") +
                       QStringLiteral("/report_viewer.png"));
        }
        const QRect area = viewer.display()->geometry();
        int blue = 0;
        int highlight = 0;
        const QColor highlightColour = viewer.palette().color(QPalette::Highlight);
        for (int y = area.top(); y < area.bottom(); ++y) {
            for (int x = area.left(); x < area.right(); ++x) {
                const QColor c = image.pixelColor(x, y);
                blue += c.blue() > 200 && c.red() < 80 && c.green() < 80;
                highlight += c == highlightColour;
            }
        }
        QVERIFY2(blue > 500, qPrintable(QString::number(blue)));
        QCOMPARE(highlight, 0);
    }

    void fontIsRegisteredPerViewerAndRemovedWithIt() {
        QVERIFY(!QFontDatabase::families().contains(kFamily));
        {
            CReportDlg first(QString{});
            QVERIFY(QFontDatabase::families().contains(kFamily));
            { CReportDlg second(QString{}); }
            QVERIFY(QFontDatabase::families().contains(kFamily));
        }
        QVERIFY(!QFontDatabase::families().contains(kFamily));
    }

    void defaultExtension_data() {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("written");
        QTest::newRow("bare name") << "/d/report"
                                   << "/d/report.txt";
        QTest::newRow("own extension") << "/d/report.log"
                                       << "/d/report.log";
        QTest::newRow("dot in a folder only") << "/d.old/report"
                                              << "/d.old/report.txt";
        QTest::newRow("two extensions") << "/d/r.tar.gz"
                                        << "/d/r.tar.gz";
        QTest::newRow("trailing dot") << "/d/report."
                                      << "/d/report.";
    }

    void defaultExtension() {
        QFETCH(QString, chosen);
        QFETCH(QString, written);
        QCOMPARE(CReportDlg::withDefaultExtension(chosen), written);
    }

    void savesUtf16LittleEndianWithoutBom_data() {
        QTest::addColumn<QString>("report");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("empty report, empty file") << QString() << "empty"
                                                  << "empty.txt" << QByteArray();
        QTest::newRow("extension added") << "report"
                                         << "report"
                                         << "report.txt" << QByteArray("r\0e\0p\0o\0r\0t\0", 12);
        QTest::newRow("extension kept") << "x"
                                        << "report.log"
                                        << "report.log" << QByteArray("x\0", 2);
        QTest::newRow("Cyrillic and CR LF")
            << QStringLiteral("АЯ\r\n") << "cyr"
            << "cyr.txt" << QByteArray("\x10\x04\x2F\x04\x0D\x00\x0A\x00", 8);
    }

    void savesUtf16LittleEndianWithoutBom() {
        QFETCH(QString, report);
        QFETCH(QString, name);
        QFETCH(QString, file);
        QFETCH(QByteArray, bytes);
        QTemporaryDir dir;
        CReportDlg viewer(report);
        saveAs(viewer, dir.filePath(name));
        QCOMPARE(fileBytes(dir.filePath(file)), bytes);
    }

    void savingAgainTruncatesTheOldFile() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("r.txt"));
        CReportDlg longer(QStringLiteral("a much longer report"));
        saveAs(longer, path);
        CReportDlg shorter(QStringLiteral("ab"));
        saveAs(shorter, path);
        saveAs(shorter, path);
        QCOMPARE(fileBytes(path), QByteArray("a\0b\0", 4));
    }

    void realSaveDialogAsksForATextFile() {
        CReportDlg viewer(QStringLiteral("x"));
        QString title, suffix;
        QStringList filters;
        bool saving = false;
        QTimer::singleShot(50, [&] {
            if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
                title = dialog->windowTitle();
                filters = dialog->nameFilters();
                suffix = dialog->defaultSuffix();
                saving = dialog->acceptMode() == QFileDialog::AcceptSave &&
                         dialog->fileMode() == QFileDialog::AnyFile &&
                         !dialog->testOption(QFileDialog::DontConfirmOverwrite);
                dialog->reject();
            }
        });
        viewer.OnSave();
        QCOMPARE(title, QStringLiteral("Изберете файл за запис на отчета"));
        QCOMPARE(filters, QStringList{QStringLiteral("Отчет (*.txt)")});
        QCOMPARE(suffix, QStringLiteral("txt"));
        QVERIFY(saving);
    }

    void cancelledDialogWritesNothing() {
        QTemporaryDir dir;
        MessageCapture messages;
        CReportDlg viewer(QStringLiteral("x"));
        saveAs(viewer, QString());
        QVERIFY(QDir(dir.path()).isEmpty());
        QVERIFY(messages.messages().isEmpty());
    }

    void unwritableFileIsReportedAndTheViewerStays() {
        QTemporaryDir dir;
        MessageCapture messages;
        CReportDlg viewer(QStringLiteral("report"));
        viewer.show();
        const QString path = dir.filePath(QStringLiteral("no such folder/report"));
        saveAs(viewer, path);
        QCOMPARE(messages.messages().size(), 1);
        QVERIFY(messages.last().startsWith(QStringLiteral("Отчетът не е записан във файла ")));
        QVERIFY(messages.last().contains(QStringLiteral("report.txt")));
        QVERIFY(viewer.isVisible());
        QVERIFY(!QFile::exists(path + QStringLiteral(".txt")));
    }

    // A write that fails half way (here: the file size limit, as on a full disk) is
    // reported, and the file that was there before is left as it was.
    void failedWriteKeepsTheOldFile() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("r.txt"));
        CReportDlg old(QStringLiteral("old"));
        saveAs(old, path);
        struct rlimit limit {};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &limit), 0);
        const struct rlimit small = {1024, limit.rlim_max};
        const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
        QString reason;
        const bool written = CReportDlg::writeReport(path, QString(4096, u'Ж'), reason);
        setrlimit(RLIMIT_FSIZE, &limit);
        std::signal(SIGXFSZ, previousHandler);
        QVERIFY(!written);
        QVERIFY(!reason.isEmpty());
        QCOMPARE(fileBytes(path), QByteArray("o\0l\0d\0", 6));
    }

    void okAndEscapeClose() {
        for (int key : {int(Qt::Key_Escape), int(Qt::Key_Return)}) {
            CReportDlg viewer(QStringLiteral("x"));
            viewer.show();
            QTest::keyClick(&viewer, Qt::Key(key));
            QVERIFY(!viewer.isVisible());
            QCOMPARE(viewer.result(), key == Qt::Key_Return ? 1 : 0);
        }
    }
};

QTEST_MAIN(ReportDlgTest)
#include "report_dlg_test.moc"
