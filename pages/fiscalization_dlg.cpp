#include "fiscalization_dlg.h"

#include "dialog_support.h"
#include "ui_fiscalization_dlg.h"

CFiscalizationDlg::CFiscalizationDlg(QWidget* parent)
    : CChildDialog(kDialogId, parent), ui(std::make_unique<Ui::FiscalizationDlg>()) {
    ui->setupUi(this);
    setCaptions(this, {{1032, QStringLiteral("Прочети")},
                       {1033, QStringLiteral("Запиши")},
                       {1034, QStringLiteral("Фискализирай")},
                       {1097, QStringLiteral("Запиши ДДС")},
                       {1089, QStringLiteral("Тестова продажба")},
                       {1098, QStringLiteral("Z отчет")}});
    // Fiscalization and writing the VAT rates are not offered to the technician.
    ui->fiscalizeButton->hide();
    ui->writeVatButton->hide();
}

CFiscalizationDlg::~CFiscalizationDlg() = default;
