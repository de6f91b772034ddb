#pragma once

#include <string>

// What the device link needs from the user interface. The application implements it
// with Qt; tests implement it with recorders. The link never includes a Qt header.
class LinkUi {
public:
    virtual ~LinkUi() = default;

    // The application's message box: OK button, exclamation icon, the program's name.
    virtual void showMessage(const std::u16string& text) = 0;
    virtual void beginWaitCursor() = 0;
    virtual void endWaitCursor() = 0;
};

// The interface in use; a silent one until the application sets its own.
LinkUi& linkUi();
void setLinkUi(LinkUi* ui);

// Shows the wait cursor for the lifetime of the guard.
class WaitCursorGuard {
public:
    WaitCursorGuard() { linkUi().beginWaitCursor(); }
    ~WaitCursorGuard() { release(); }
    WaitCursorGuard(const WaitCursorGuard&) = delete;
    WaitCursorGuard& operator=(const WaitCursorGuard&) = delete;

    void release() {
        if (active) {
            active = false;
            linkUi().endWaitCursor();
        }
    }

private:
    bool active = true;
};
