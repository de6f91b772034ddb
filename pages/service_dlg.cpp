#include "service_dlg.h"

#include "dialog_support.h"
#include "ui_service_dlg.h"

CServiceDlg::CServiceDlg(QWidget* parent)
    : CChildDialog(kDialogId, parent), ui(std::make_unique<Ui::ServiceDlg>()) {
    ui->setupUi(this);
    setCaptions(this, {{1032, QStringLiteral("Прочети")},
                       {1033, QStringLiteral("Запиши")},
                       {1106, QStringLiteral("Старт")},
                       {1105, QStringLiteral("Старт")},
                       {1109, QStringLiteral("Старт")},
                       {1110, QStringLiteral("Старт")}});
}

CServiceDlg::~CServiceDlg() = default;
