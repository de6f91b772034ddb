#pragma once

#include <QDialog>
#include <QString>
#include <functional>
#include <memory>

#include "private_font.h"

namespace Ui {
class CReportDlg;
}
class CReportView;

// The modal viewer of a report read from the device: shows the whole text in the
// program's own font and saves it as a UTF-16 text file.
class CReportDlg : public QDialog {
    Q_OBJECT
public:
    // The report keeps its CR LF line ends; the viewer never changes it.
    explicit CReportDlg(const QString& report, QWidget* parent = nullptr);
    ~CReportDlg() override;

    // Asks the user for the file to save into; an empty result means cancelled. Tests
    // replace it; an empty chooser restores the real save-file dialog. Returns the one
    // that was in place.
    using FileChooser = std::function<QString(QWidget* parent)>;
    static FileChooser setFileChooser(FileChooser chooser);

    const QString& reportText() const { return report; }
    CReportView* display() const;
    const PrivateFont& privateFont() const { return *font; }

    // Writes the report to the file; false (with the reason in errorText) when the file
    // could not be created or written in full.
    static bool writeReport(const QString& path, const QString& report, QString& errorText);
    // The chosen path, with ".txt" added when its file name has no extension.
    static QString withDefaultExtension(const QString& path);

public slots:
    void OnSave();

private:
    void applyReportFormat();
    void addCopyShortcut();

    std::unique_ptr<Ui::CReportDlg> ui;
    std::unique_ptr<PrivateFont> font;
    QString report;
};
