#pragma once

#include <memory>

#include "child_dialog.h"

namespace Ui {
class FiscalDeviceDlg;
}

// The configuration page: created and kept hidden. So far it carries its device buttons only.
class CFiscalDeviceDlg : public CChildDialog {
    Q_OBJECT

public:
    static constexpr int kDialogId = 130;

    explicit CFiscalDeviceDlg(QWidget* parent);
    ~CFiscalDeviceDlg() override;

private:
    std::unique_ptr<Ui::FiscalDeviceDlg> ui;
};
