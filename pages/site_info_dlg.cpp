#include "site_info_dlg.h"

#include "dialog_support.h"
#include "ui_site_info_dlg.h"

CSiteInfoDlg::CSiteInfoDlg(QWidget* parent)
    : CChildDialog(kDialogId, parent), ui(std::make_unique<Ui::SiteInfoDlg>()) {
    ui->setupUi(this);
    setCaptions(this, {{1032, QStringLiteral("Прочети")}, {1033, QStringLiteral("Запиши")}});
}

CSiteInfoDlg::~CSiteInfoDlg() = default;
