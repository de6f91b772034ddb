#pragma once

#include <memory>

#include "child_dialog.h"

namespace Ui {
class SiteInfoDlg;
}

// The site info page: created and kept hidden. So far it carries its device buttons only.
class CSiteInfoDlg : public CChildDialog {
    Q_OBJECT

public:
    static constexpr int kDialogId = 131;

    explicit CSiteInfoDlg(QWidget* parent);
    ~CSiteInfoDlg() override;

private:
    std::unique_ptr<Ui::SiteInfoDlg> ui;
};
