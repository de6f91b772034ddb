#include "about_dlg.h"

#include "app_art.h"
#include "ui_about_dlg.h"

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::AboutDlg>()) {
    ui->setupUi(this);
    const QIcon icon = programIcon();
    setWindowIcon(icon);
    ui->programIcon->setPixmap(icon.pixmap(QSize(32, 32)));
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

CAboutDlg::~CAboutDlg() = default;
