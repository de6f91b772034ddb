#include "report_dlg.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QSaveFile>
#include <QtEndian>

#include "dialog_support.h"
#include "report_view.h"
#include "ui_report_dlg.h"

namespace {

const QString kFontResource = QStringLiteral(":/binary/144.ttf");
constexpr qreal kPointSize = 16;  // 320 twips
// Characters sit 40 twips (2 points) above the line's baseline, an eighth of their size.
constexpr qreal kBaselineOffsetPercent = 100.0 * 40 / 320;
const QColor kReportColour(0, 0, 255);  // pure blue

// The dialog adds ".txt" itself to a name without an extension, so that its overwrite
// prompt covers the file that will really be written (report -> report.txt).
QString chooseWithFileDialog(QWidget* parent) {
    QFileDialog dialog(parent, QStringLiteral("Изберете файл за запис на отчета"), QString(),
                       QStringLiteral("Отчет (*.txt)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QStringLiteral("txt"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().constFirst();
}

CReportDlg::FileChooser& fileChooser() {
    static CReportDlg::FileChooser chooser = chooseWithFileDialog;
    return chooser;
}

QByteArray utf16LittleEndian(const QString& text) {
    QByteArray bytes(text.size() * 2, Qt::Uninitialized);
    qToLittleEndian<char16_t>(text.utf16(), text.size(), bytes.data());
    return bytes;
}

}  // namespace

CReportDlg::CReportDlg(const QString& reportText, QWidget* parent)
    : QDialog(parent),
      ui(std::make_unique<Ui::CReportDlg>()),
      font(std::make_unique<PrivateFont>(kFontResource)),
      report(reportText) {
    ui->setupUi(this);
    setWindowTitle(QStringLiteral("Отчет"));
    ui->reportView->setAccessibleName(QStringLiteral("Отчет"));
    ui->reportView->setText(report);
    applyReportFormat();
    ui->saveButton->setText(QStringLiteral("Запиши"));
    ui->okButton->setFocus();
    connect(ui->saveButton, &QPushButton::clicked, this, &CReportDlg::OnSave);
    connect(ui->okButton, &QPushButton::clicked, this, &QDialog::accept);
    addCopyShortcut();
}

// The viewer opens with the whole report selected but the focus on OK, so Ctrl+C copies
// the selection wherever the focus is in the window, not only inside the display.
void CReportDlg::addCopyShortcut() {
    auto* copy = new QAction(this);
    copy->setShortcut(QKeySequence::Copy);
    copy->setShortcutContext(Qt::WindowShortcut);
    connect(copy, &QAction::triggered, ui->reportView, &CReportView::copy);
    addAction(copy);
}

CReportDlg::~CReportDlg() = default;

CReportView* CReportDlg::display() const {
    return ui->reportView;
}

CReportDlg::FileChooser CReportDlg::setFileChooser(FileChooser chooser) {
    FileChooser previous = fileChooser();
    fileChooser() = chooser ? std::move(chooser) : FileChooser(chooseWithFileDialog);
    return previous;
}

// One character format for the whole text. The selection covers all of it but the
// cursor stays at the start, so the viewer opens at the top of the report.
void CReportDlg::applyReportFormat() {
    QTextCharFormat format;
    format.setFontFamilies({font->family()});
    format.setFontPointSize(kPointSize);
    format.setFontWeight(QFont::Normal);
    format.setForeground(kReportColour);
    format.setBaselineOffset(kBaselineOffsetPercent);
    ui->reportView->setCharFormat(format);
    ui->reportView->selectAll();
}

QString CReportDlg::withDefaultExtension(const QString& path) {
    const QString name = QFileInfo(path).fileName();
    return name.contains(u'.') ? path : path + QStringLiteral(".txt");
}

bool CReportDlg::writeReport(const QString& path, const QString& report, QString& errorText) {
    QSaveFile file(path);
    // A file in a folder where no temporary file can be made is written in place.
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly)) {
        errorText = file.errorString();
        return false;
    }
    const QByteArray bytes = utf16LittleEndian(report);
    // The explicit flush matters: a write that the disk cuts short shows up there, while
    // commit alone would put the shortened file in place and call it a success.
    if (file.write(bytes) != bytes.size() || !file.flush() || !file.commit()) {
        errorText = file.errorString();
        file.cancelWriting();
        return false;
    }
    return true;
}

void CReportDlg::OnSave() {
    const QString chosen = fileChooser()(this);
    if (chosen.isEmpty()) {
        return;
    }
    const QString path = withDefaultExtension(chosen);
    QString reason;
    if (!writeReport(path, report, reason)) {
        showMessage(this, QStringLiteral("Отчетът не е записан във файла %1:\n%2")
                              .arg(QDir::toNativeSeparators(path), reason));
    }
}
