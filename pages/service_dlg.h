#pragma once

#include <memory>

#include "child_dialog.h"

namespace Ui {
class ServiceDlg;
}

// The service page: created and kept hidden. So far it carries its device buttons only.
class CServiceDlg : public CChildDialog {
    Q_OBJECT

public:
    static constexpr int kDialogId = 132;

    explicit CServiceDlg(QWidget* parent);
    ~CServiceDlg() override;

private:
    std::unique_ptr<Ui::ServiceDlg> ui;
};
