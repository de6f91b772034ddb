#pragma once

#include <QWidget>

// A page: a dialog that lives inside another dialog's window. Enter and Escape belong to
// the page, which ignores them, so they never reach the main window and end it.
class CChildDialog : public QWidget {
    Q_OBJECT

public:
    CChildDialog(int dialogId, QWidget* parent);

    int dialogId() const;

    // Copies controls into fields (true) or fields into controls (false); false when an
    // entry fails validation. Pages with nothing to exchange keep this one.
    virtual bool UpdateData(bool saveAndValidate);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};
