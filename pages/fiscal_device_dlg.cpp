#include "fiscal_device_dlg.h"

#include "dialog_support.h"
#include "ui_fiscal_device_dlg.h"

CFiscalDeviceDlg::CFiscalDeviceDlg(QWidget* parent)
    : CChildDialog(kDialogId, parent), ui(std::make_unique<Ui::FiscalDeviceDlg>()) {
    ui->setupUi(this);
    setCaptions(this, {{1032, QStringLiteral("Прочети")}, {1033, QStringLiteral("Запиши")}});
}

CFiscalDeviceDlg::~CFiscalDeviceDlg() = default;
