#include "klen_dlg.h"

#include "dialog_support.h"
#include "ui_klen_dlg.h"

CKlenDlg::CKlenDlg(QWidget* parent)
    : CChildDialog(kDialogId, parent), ui(std::make_unique<Ui::KlenDlg>()) {
    ui->setupUi(this);
    setCaptions(this, {{1118, QStringLiteral("Присвояване КЛЕН")},
                       {1119, QStringLiteral("Отчет")},
                       {1130, QStringLiteral("Отчет")}});
    // Initializing the journal is not offered to the technician.
    ui->initJournalButton->hide();
}

CKlenDlg::~CKlenDlg() = default;
