#pragma once

#include <QDialog>
#include <memory>
#include <thread>

#include "runners.h"

class CPictureEx;
class CColorStaticST;
namespace Ui {
class CWaitNapDlg;
class CWaitReportDlg;
}  // namespace Ui

// A modal dialog shown while a worker thread talks to the device. It starts the worker
// when it is made and ends only when the worker's posted close request arrives, so the
// user-interface thread never touches the port while the worker does.
class CWaitDlg : public QDialog, public WorkerDialog {
    Q_OBJECT
public:
    ~CWaitDlg() override;

    // Safe from any thread: queues the close request and returns at once.
    void postCloseRequest() override;
    bool closeRequestArrived() const { return closeArrived; }
    CPictureEx* picture() const { return pictureControl; }
    CColorStaticST* message() const { return messageControl; }

    // Enter never ends a wait dialog.
    void accept() override {}

protected:
    CWaitDlg(QWidget* parent, WorkerProcedure worker);
    // Waits for the worker to end; each dialog calls it before its controls go away.
    void joinWorker();

    // Titles the dialog, plays GIF <gifId>, makes the label blink and starts the worker.
    void initialise(const QString& title, int gifId, CPictureEx* picture, CColorStaticST* message);
    void showEvent(QShowEvent* event) override;
    // The close box asks like Escape does.
    void closeEvent(QCloseEvent* event) override;

private:
    void onCloseRequest();

    WorkerProcedure worker;
    std::thread workerThread;
    CPictureEx* pictureControl = nullptr;
    CColorStaticST* messageControl = nullptr;
    bool closeArrived = false;
};

// Shown while the device connects to the revenue agency's server. White, and deaf to
// Enter, Escape and the close box: the connection cannot be abandoned halfway.
class CWaitNapDlg : public CWaitDlg {
    Q_OBJECT
public:
    explicit CWaitNapDlg(WorkerProcedure worker, QWidget* parent = nullptr);
    ~CWaitNapDlg() override;

    void reject() override {}

private:
    std::unique_ptr<Ui::CWaitNapDlg> ui;
};

// Shown while a report is read line by line. Escape (or the close box) asks the worker
// to stop between two lines; the dialog still waits for the worker's close request, and
// the lines read so far are kept and shown.
class CWaitReportDlg : public CWaitDlg {
    Q_OBJECT
public:
    explicit CWaitReportDlg(WorkerProcedure worker, QWidget* parent = nullptr);
    ~CWaitReportDlg() override;

    void reject() override;

private:
    std::unique_ptr<Ui::CWaitReportDlg> ui;
};
