#include "wait_dialogs.h"

#include <QCloseEvent>

#include "color_static_st.h"
#include "picture_ex.h"
#include "ui_wait_nap_dlg.h"
#include "ui_wait_report_dlg.h"

namespace {

const QString kPleaseWait = QStringLiteral(" Моля, изчакайте ");
constexpr ColorRef kDarkGreen = 0x008000;
constexpr ColorRef kGreen = 0x00FF00;
constexpr ColorRef kBlack = 0x000000;
constexpr int kBackgroundBlinkMs = 500;
constexpr int kTextBlinkMs = 2000;  // the later call sets the period both blinks share

}  // namespace

CWaitDlg::CWaitDlg(QWidget* parent, WorkerProcedure worker) : QDialog(parent), worker(worker) {
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
}

CWaitDlg::~CWaitDlg() {
    joinWorker();
}

void CWaitDlg::joinWorker() {
    if (workerThread.joinable()) {
        workerThread.join();
    }
}

void CWaitDlg::initialise(const QString& title, int gifId, CPictureEx* picture,
                          CColorStaticST* message) {
    pictureControl = picture;
    messageControl = message;
    setWindowTitle(title);
    if (picture->LoadGifResource(gifId)) {
        picture->Play();
    }
    message->setText(kPleaseWait);
    message->SetBlinkBackgroundColours(kDarkGreen, kGreen);
    message->StartBackgroundBlink(kBackgroundBlinkMs);
    message->SetBlinkTextColours(message->backgroundColour(), kBlack);
    message->StartTextBlink(kTextBlinkMs);
    workerThread = std::thread(worker, std::ref(static_cast<WorkerDialog&>(*this)));
}

void CWaitDlg::postCloseRequest() {
    QMetaObject::invokeMethod(this, &CWaitDlg::onCloseRequest, Qt::QueuedConnection);
}

// The request may arrive before the modal loop has shown the dialog; it is then kept
// and acted on as soon as the dialog appears, so the loop can never wait for nothing.
void CWaitDlg::onCloseRequest() {
    closeArrived = true;
    if (isVisible()) {
        QDialog::done(1);
    }
}

void CWaitDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (closeArrived) {
        QMetaObject::invokeMethod(this, &CWaitDlg::onCloseRequest, Qt::QueuedConnection);
    }
}

void CWaitDlg::closeEvent(QCloseEvent* event) {
    event->ignore();
    reject();
}

CWaitNapDlg::CWaitNapDlg(WorkerProcedure worker, QWidget* parent)
    : CWaitDlg(parent, worker), ui(std::make_unique<Ui::CWaitNapDlg>()) {
    ui->setupUi(this);
    // The whole dialog, its picture and the label's surroundings are painted white.
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);
    ui->message->setOwnerBrush(QColor(Qt::white));
    initialise(QStringLiteral("Връзка с НАП"), 140, ui->picture, ui->message);
}

CWaitNapDlg::~CWaitNapDlg() {
    joinWorker();
}

CWaitReportDlg::CWaitReportDlg(WorkerProcedure worker, QWidget* parent)
    : CWaitDlg(parent, worker), ui(std::make_unique<Ui::CWaitReportDlg>()) {
    ui->setupUi(this);
    initialise(QStringLiteral("Прочитане на отчет от ZOVUZ"), 142, ui->picture, ui->message);
}

CWaitReportDlg::~CWaitReportDlg() {
    joinWorker();
}

void CWaitReportDlg::reject() {
    requestStop();
}
