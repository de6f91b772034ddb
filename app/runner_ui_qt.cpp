#include "runner_ui_qt.h"

#include <QApplication>

#include "report_dlg.h"
#include "wait_dialogs.h"

void QtRunnerUi::runWaitDialog(WaitDialogKind kind, WorkerProcedure worker) {
    QWidget* parent = QApplication::activeWindow();
    if (kind == WaitDialogKind::Connection) {
        CWaitNapDlg dialog(worker, parent);
        dialog.exec();
    } else {
        CWaitReportDlg dialog(worker, parent);
        dialog.exec();
    }
}

void QtRunnerUi::showReport(const std::u16string& text) {
    CReportDlg viewer(QString::fromStdU16String(text), QApplication::activeWindow());
    viewer.exec();
}

void installQtRunnerUi() {
    static QtRunnerUi ui;
    setRunnerUi(&ui);
}
