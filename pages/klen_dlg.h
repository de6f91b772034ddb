#pragma once

#include <memory>

#include "child_dialog.h"

namespace Ui {
class KlenDlg;
}

// The journal and fiscal-memory reports page: the second tab. So far it carries its device buttons
// only.
class CKlenDlg : public CChildDialog {
    Q_OBJECT

public:
    static constexpr int kDialogId = 138;

    explicit CKlenDlg(QWidget* parent);
    ~CKlenDlg() override;

private:
    std::unique_ptr<Ui::KlenDlg> ui;
};
