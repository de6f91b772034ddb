#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class AboutDlg;
}

// The about box: program icon, name and version, and OK.
class CAboutDlg : public QDialog {
    Q_OBJECT

public:
    static constexpr int kDialogId = 100;

    explicit CAboutDlg(QWidget* parent = nullptr);
    ~CAboutDlg() override;

private:
    std::unique_ptr<Ui::AboutDlg> ui;
};
