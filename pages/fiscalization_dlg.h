#pragma once

#include <memory>

#include "child_dialog.h"

namespace Ui {
class FiscalizationDlg;
}

// The fiscalization page: the first tab. So far it carries its device buttons only.
class CFiscalizationDlg : public CChildDialog {
    Q_OBJECT

public:
    static constexpr int kDialogId = 129;

    explicit CFiscalizationDlg(QWidget* parent);
    ~CFiscalizationDlg() override;

private:
    std::unique_ptr<Ui::FiscalizationDlg> ui;
};
