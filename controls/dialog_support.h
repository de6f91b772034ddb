#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>
#include <QWidget>
#include <functional>
#include <initializer_list>
#include <optional>

#include "link_ui.h"

// Every dialog control carries its numeric identifier in this dynamic property (set in the
// .ui files), and every dialog its resource number in the second one.
inline constexpr char kControlIdProperty[] = "controlId";
inline constexpr char kDialogIdProperty[] = "dialogId";

void setControlId(QWidget* control, int id);
// The control's identifier, or 0 when it has none.
int controlId(const QObject* control);
// The dialog's own control with that identifier, or nullptr. Controls of nested dialogs
// (pages inside the main window) are not searched: identifiers repeat between dialogs.
QWidget* findControl(const QWidget* dialog, int id);

template <class T>
T* control(const QWidget* dialog, int id) {
    return qobject_cast<T*>(findControl(dialog, id));
}

struct Caption {
    int id;
    QString text;
};
// Replaces the layout's captions by the program's own, control by control; a button's
// accessible name follows its caption.
void setCaptions(QWidget* dialog, std::initializer_list<Caption> captions);

// The application's name as message boxes show it: the executable's base name.
QString applicationTitle();

// The one message box of the program: OK button, exclamation icon, application title.
void showMessage(QWidget* parent, const QString& text);

// Where showMessage sends its text. Tests install a sink that records instead of opening a
// modal box; an empty sink restores the real box. Returns the sink that was in place.
using MessageSink = std::function<void(QWidget* parent, const QString& text)>;
MessageSink setMessageSink(MessageSink sink);

// Records every message shown while it lives, then puts the previous sink back.
class MessageCapture {
public:
    MessageCapture();
    ~MessageCapture();
    MessageCapture(const MessageCapture&) = delete;
    MessageCapture& operator=(const MessageCapture&) = delete;

    const QStringList& messages() const { return texts; }
    QString last() const { return texts.isEmpty() ? QString() : texts.last(); }
    void clear() { texts.clear(); }

private:
    QStringList texts;
    MessageSink previous;
};

// The link's user interface met with Qt: messages through showMessage, the wait cursor as
// the application's override cursor.
class QtLinkUi final : public LinkUi {
public:
    void showMessage(const std::u16string& text) override;
    void beginWaitCursor() override;
    void endWaitCursor() override;
};

// Installs one QtLinkUi for the rest of the process.
void installQtLinkUi();

// The framework's texts for entries that fail validation.
namespace validation {
QString integerText();
QString integerRangeText(long long min, long long max);
QString positiveIntegerText();
}  // namespace validation

// Reads a typed integer the way the dialog framework does: leading and trailing blanks and a
// sign are allowed, anything else (including no digits or a value beyond int) is refused.
std::optional<int> parseDialogInteger(QStringView text);
// The same for unsigned entries: a minus sign is refused.
std::optional<unsigned> parseDialogUnsigned(QStringView text);

// One pass of copying between a dialog's controls and its fields. When saving, the first
// entry that fails validation shows the framework's message, takes the focus and stops the
// pass: later calls do nothing and the field of the failed entry keeps its value.
class DataExchange {
public:
    DataExchange(QWidget* dialog, bool saveAndValidate);

    bool saving() const { return save; }
    bool failed() const { return fail; }

    void text(int id, QString& value);
    void integer(int id, int& value);
    void integerInRange(int id, int& value, int min, int max);
    void unsignedInteger(int id, unsigned& value);
    void checked(int id, bool& value);
    void currentIndex(int id, int& value);

private:
    bool active() const { return !fail; }
    template <class T, class Check>
    void number(int id, T& value, Check check);
    void failOn(QWidget* control, const QString& message);
    QString controlText(QWidget* control) const;
    void setControlText(QWidget* control, const QString& text);

    QWidget* dialog;
    bool save;
    bool fail = false;
};
