#include "korvex_dlg.h"

#include <QContextMenuEvent>
#include <QMenu>

#include "about_dlg.h"
#include "app_art.h"
#include "choice_window.h"
#include "dialog_support.h"
#include "fiscal_device_dlg.h"
#include "fiscalization_dlg.h"
#include "klen_dlg.h"
#include "serial_port.h"
#include "service_dlg.h"
#include "site_info_dlg.h"
#include "ui_korvex_dlg.h"

namespace {

// Where ShowPage puts a page in the window, relative to the tab control's size.
constexpr int kPageLeft = 96;
constexpr int kPageTop = 20;
constexpr int kPageWidthInset = 90;
constexpr int kPageHeightInset = 10;

constexpr int kPortFieldId = 1030;
constexpr int kOpenId = 1088;
constexpr int kCloseId = 1089;
constexpr int kVersionId = 1069;
constexpr int kXReportId = 1131;
constexpr int kPortFieldLength = 3;

// The tab pictures in the strip, one per tab.
constexpr int kTabImages[] = {0, 4};

}  // namespace

CKorvexDlg::CKorvexDlg(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::KorvexDlg>()) {
    ui->setupUi(this);
    OnInitDialog();
}

CKorvexDlg::~CKorvexDlg() = default;

CChoiceWindowBtn* CKorvexDlg::portChooser() const {
    return ui->portChooserButton;
}

void CKorvexDlg::OnInitDialog() {
    icon = programIcon();
    setWindowIcon(icon);
    buildTabs();
    createPages();
    ShowPage(0);
    setUpPortChooser();
    setCaptions();
    connectControls();
    LoadSettings();
    SetPortClosedState();
}

void CKorvexDlg::buildTabs() {
    const QList<QIcon> images = tabImages();
    ui->tabControl->addImageTab(images.value(kTabImages[0]), QStringLiteral("Фискализация"));
    ui->tabControl->addImageTab(images.value(kTabImages[1]),
                                QStringLiteral("Справки КЛЕН и отчети от ФП"));
    tabFont = ui->tabControl->font();
    tabFont.setBold(true);
    tabFont.setStyleStrategy(QFont::PreferQuality);
    ui->tabControl->setTabFont(tabFont);
}

// The pages are children of the window itself, created in this order, and lie above the
// tab control's panel.
void CKorvexDlg::createPages() {
    fiscalizationPage = new CFiscalizationDlg(this);
    fiscalDevicePage = new CFiscalDeviceDlg(this);
    siteInfoPage = new CSiteInfoDlg(this);
    servicePage = new CServiceDlg(this);
    klenPage = new CKlenDlg(this);
    pageList = {fiscalizationPage, fiscalDevicePage, siteInfoPage, servicePage, klenPage};
    QSize largest;
    for (CChildDialog* page : pageList) {
        page->hide();
        largest = largest.expandedTo(page->minimumSizeHint().expandedTo(page->minimumSize()));
    }
    ui->tabControl->setMinimumSize(largest + QSize(kPageWidthInset, kPageHeightInset));
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

QWidget* CKorvexDlg::pageOfTab(int index) const {
    switch (index) {
        case 0:
            return fiscalizationPage;
        case 1:
            return klenPage;
        default:
            return nullptr;
    }
}

void CKorvexDlg::placePage(QWidget* page) {
    const QSize tabs = ui->tabControl->size();
    page->setGeometry(kPageLeft, kPageTop, tabs.width() - kPageWidthInset,
                      tabs.height() - kPageHeightInset);
}

void CKorvexDlg::ShowPage(int index) {
    QWidget* page = pageOfTab(index);
    if (!page) {
        return;
    }
    placePage(page);
    page->raise();
    page->show();
    if (ui->tabControl->currentIndex() != index) {
        ui->tabControl->setCurrentIndex(index);
    }
    if (QWidget* other = pageOfTab(1 - index)) {
        other->hide();
    }
}

void CKorvexDlg::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    ShowPage(ui->tabControl->currentIndex());
}

void CKorvexDlg::setUpPortChooser() {
    const QPixmap normal = bitmapResource(135);
    ui->portChooserButton->setBitmaps(normal, bitmapResource(136), bitmapResource(137), normal);
    ui->portChooserButton->setFixedSize(ui->portChooserButton->sizeHint());
}

void CKorvexDlg::setCaptions() {
    ::setCaptions(this, {{1029, QStringLiteral("Сериен порт:")},
                         {1, QStringLiteral("Изход")},
                         {kOpenId, QStringLiteral("Отвори")},
                         {kCloseId, QStringLiteral("Затвори")},
                         {kVersionId, QStringLiteral("Версия")}});
    setWindowTitle(QStringLiteral("Конфигуриране на данъчен терминал"));
    ui->portChooserButton->setAccessibleName(QStringLiteral("COM портове"));
    ui->portChooserButton->setToolTip(QStringLiteral("COM портове"));
}

void CKorvexDlg::connectControls() {
    connect(ui->tabControl, &CTabControl::currentChanged, this, &CKorvexDlg::ShowPage);
    connect(ui->portChooserButton, &QPushButton::clicked, this, &CKorvexDlg::OnChoosePort);
    connect(ui->portChooserButton, &CChoiceWindowBtn::choiceMade, this, &CKorvexDlg::OnPortChosen);
    connect(ui->openButton, &QPushButton::clicked, this, &CKorvexDlg::OnOpenPort);
    connect(ui->closeButton, &QPushButton::clicked, this, &CKorvexDlg::OnClosePort);
    // Only the user's edits close the port: the window writing a found port number into
    // the field must not close the port it has just opened.
    connect(ui->portEdit, &QLineEdit::textEdited, this, &CKorvexDlg::OnClosePort);
    connect(ui->autodetectButton, &QPushButton::clicked, this, &CKorvexDlg::OnAutodetect);
    connect(ui->versionButton, &QPushButton::clicked, this, &CKorvexDlg::OnVersion);
    connect(ui->exitButton, &QPushButton::clicked, this, &CKorvexDlg::accept);
}

bool CKorvexDlg::UpdateData(bool saveAndValidate) {
    DataExchange exchange(this, saveAndValidate);
    exchange.integerInRange(kPortFieldId, comPort, kMinPort, kMaxPort);
    return !exchange.failed();
}

// The settings file's values are read into the window's and the pages' fields at the top
// of this function; until then every field keeps its initial value.
void CKorvexDlg::LoadSettings() {
    ui->portEdit->setMaxLength(kPortFieldLength);
    UpdateData(false);
    for (CChildDialog* page : pageList) {
        page->UpdateData(false);
    }
    if (QWidget* xReport = findControl(klenPage, kXReportId)) {
        xReport->hide();
    }
}

// Copies every dialog's controls into its fields (showing the message of an invalid entry,
// whose previous value is then kept); writing the settings file follows here.
void CKorvexDlg::SaveSettings() {
    UpdateData(true);
    for (CChildDialog* page : pageList) {
        page->UpdateData(true);
    }
}

void CKorvexDlg::setDeviceButtonsEnabled(bool portOpen) {
    struct PageButtons {
        QWidget* page;
        std::initializer_list<int> ids;
    };
    const PageButtons table[] = {
        {fiscalizationPage, {1032, 1033, 1034, 1097, 1089, 1098}},
        {fiscalDevicePage, {1032, 1033}},
        {siteInfoPage, {1032, 1033}},
        {servicePage, {1032, 1033, 1105, 1106, 1109, 1110}},
        {klenPage, {1118, 1119, 1130, 1131}},
        {this, {kCloseId, kVersionId}},
    };
    for (const PageButtons& entry : table) {
        for (int id : entry.ids) {
            if (QWidget* control = findControl(entry.page, id)) {
                control->setEnabled(portOpen);
            }
        }
    }
    if (QWidget* open = findControl(this, kOpenId)) {
        open->setEnabled(!portOpen);
    }
}

void CKorvexDlg::SetPortOpenState() {
    setDeviceButtonsEnabled(true);
}

void CKorvexDlg::SetPortClosedState() {
    setDeviceButtonsEnabled(false);
}

void CKorvexDlg::OnExit(bool validate) {
    CloseComPort();
    SaveSettings();
    if (validate && !UpdateData(true)) {
        return;
    }
    done(validate ? QDialog::Accepted : QDialog::Rejected);
}

void CKorvexDlg::accept() {
    OnExit(true);
}

void CKorvexDlg::reject() {
    OnExit(false);
}

void CKorvexDlg::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    menu.addAction(QStringLiteral("&About Korvex..."), this, &CKorvexDlg::OnAbout);
    menu.exec(event->globalPos());
}

void CKorvexDlg::OnAbout() {
    CAboutDlg about(this);
    about.exec();
}
