#include "dialog_support.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QQueue>
#include <limits>

namespace {

MessageSink& messageSink() {
    static MessageSink sink;
    return sink;
}

void showMessageBox(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Warning, applicationTitle(), text, QMessageBox::Ok, parent);
    box.exec();
}

bool isNestedDialog(const QWidget* widget) {
    return widget->property(kDialogIdProperty).isValid() || widget->isWindow();
}

// The digits of a typed number after its blanks and sign; empty when the text holds
// anything else.
QStringView integerDigits(QStringView text, bool& negative) {
    text = text.trimmed();
    negative = false;
    if (!text.isEmpty() && (text.front() == u'-' || text.front() == u'+')) {
        negative = text.front() == u'-';
        text = text.mid(1);
    }
    for (QChar c : text) {
        if (c < u'0' || c > u'9') {
            return {};
        }
    }
    return text;
}

// The value of a digit string, or nothing when it exceeds limit.
std::optional<unsigned long long> digitsValue(QStringView digits, unsigned long long limit) {
    if (digits.isEmpty()) {
        return std::nullopt;
    }
    unsigned long long value = 0;
    for (QChar c : digits) {
        value = value * 10 + static_cast<unsigned>(c.unicode() - u'0');
        if (value > limit) {
            return std::nullopt;
        }
    }
    return value;
}

}  // namespace

void setControlId(QWidget* control, int id) {
    control->setProperty(kControlIdProperty, id);
}

int controlId(const QObject* control) {
    const QVariant id = control ? control->property(kControlIdProperty) : QVariant();
    return id.isValid() ? id.toInt() : 0;
}

QWidget* findControl(const QWidget* dialog, int id) {
    QQueue<QObject*> pending;
    for (QObject* child : dialog->children()) {
        pending.enqueue(child);
    }
    while (!pending.isEmpty()) {
        auto* widget = qobject_cast<QWidget*>(pending.dequeue());
        if (!widget) {
            continue;
        }
        if (controlId(widget) == id) {
            return widget;
        }
        if (isNestedDialog(widget)) {
            continue;
        }
        for (QObject* child : widget->children()) {
            pending.enqueue(child);
        }
    }
    return nullptr;
}

void setCaptions(QWidget* dialog, std::initializer_list<Caption> captions) {
    for (const Caption& caption : captions) {
        if (QWidget* widget = findControl(dialog, caption.id)) {
            widget->setProperty("text", caption.text);
        }
    }
}

QString applicationTitle() {
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
}

void showMessage(QWidget* parent, const QString& text) {
    if (messageSink()) {
        messageSink()(parent, text);
    } else {
        showMessageBox(parent, text);
    }
}

MessageSink setMessageSink(MessageSink sink) {
    MessageSink previous = std::move(messageSink());
    messageSink() = std::move(sink);
    return previous;
}

MessageCapture::MessageCapture()
    : previous(setMessageSink([this](QWidget*, const QString& text) { texts.append(text); })) {}

MessageCapture::~MessageCapture() {
    setMessageSink(std::move(previous));
}

void QtLinkUi::showMessage(const std::u16string& text) {
    ::showMessage(QApplication::activeWindow(), QString::fromStdU16String(text));
}

void QtLinkUi::beginWaitCursor() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void QtLinkUi::endWaitCursor() {
    QApplication::restoreOverrideCursor();
}

void installQtLinkUi() {
    static QtLinkUi ui;
    setLinkUi(&ui);
}

namespace validation {
QString integerText() {
    return QStringLiteral("Enter an integer.");
}

QString integerRangeText(long long min, long long max) {
    return QStringLiteral("Enter an integer between %1 and %2.").arg(min).arg(max);
}

QString positiveIntegerText() {
    return QStringLiteral("Enter a positive integer.");
}
}  // namespace validation

std::optional<int> parseDialogInteger(QStringView text) {
    bool negative = false;
    const QStringView digits = integerDigits(text, negative);
    const unsigned long long limit =
        negative ? 1ULL + std::numeric_limits<int>::max() : std::numeric_limits<int>::max();
    const auto value = digitsValue(digits, limit);
    if (!value) {
        return std::nullopt;
    }
    return negative ? static_cast<int>(-static_cast<long long>(*value)) : static_cast<int>(*value);
}

std::optional<unsigned> parseDialogUnsigned(QStringView text) {
    bool negative = false;
    const QStringView digits = integerDigits(text, negative);
    if (negative) {
        return std::nullopt;
    }
    const auto value = digitsValue(digits, std::numeric_limits<unsigned>::max());
    return value ? std::optional<unsigned>(static_cast<unsigned>(*value)) : std::nullopt;
}

DataExchange::DataExchange(QWidget* dialog, bool saveAndValidate)
    : dialog(dialog), save(saveAndValidate) {}

QString DataExchange::controlText(QWidget* control) const {
    return control->property("text").toString();
}

// Text is written only when it differs, so an unchanged field sends no change signal.
void DataExchange::setControlText(QWidget* control, const QString& text) {
    if (controlText(control) != text) {
        control->setProperty("text", text);
    }
}

void DataExchange::failOn(QWidget* control, const QString& message) {
    fail = true;
    showMessage(dialog, message);
    control->setFocus(Qt::OtherFocusReason);
    if (auto* edit = qobject_cast<QLineEdit*>(control)) {
        edit->selectAll();
    }
}

void DataExchange::text(int id, QString& value) {
    QWidget* widget = findControl(dialog, id);
    if (!active() || !widget) {
        return;
    }
    if (save) {
        value = controlText(widget);
    } else {
        setControlText(widget, value);
    }
}

void DataExchange::integer(int id, int& value) {
    integerInRange(id, value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
}

// Loading writes the number; saving reads the typed text through check, which stores the
// value and returns nothing, or returns the framework's message for the entry.
template <class T, class Check>
void DataExchange::number(int id, T& value, Check check) {
    QWidget* widget = findControl(dialog, id);
    if (!active() || !widget) {
        return;
    }
    if (!save) {
        setControlText(widget, QString::number(value));
        return;
    }
    if (const std::optional<QString> message = check(controlText(widget))) {
        failOn(widget, *message);
    }
}

void DataExchange::integerInRange(int id, int& value, int min, int max) {
    number(id, value, [&](const QString& text) -> std::optional<QString> {
        const auto typed = parseDialogInteger(text);
        if (!typed) {
            return validation::integerText();
        }
        if (*typed < min || *typed > max) {
            return validation::integerRangeText(min, max);
        }
        value = *typed;
        return std::nullopt;
    });
}

void DataExchange::unsignedInteger(int id, unsigned& value) {
    number(id, value, [&](const QString& text) -> std::optional<QString> {
        const auto typed = parseDialogUnsigned(text);
        if (!typed) {
            return validation::positiveIntegerText();
        }
        value = *typed;
        return std::nullopt;
    });
}

void DataExchange::checked(int id, bool& value) {
    auto* button = control<QAbstractButton>(dialog, id);
    if (!active() || !button) {
        return;
    }
    if (save) {
        value = button->isChecked();
    } else {
        button->setChecked(value);
    }
}

void DataExchange::currentIndex(int id, int& value) {
    auto* list = control<QComboBox>(dialog, id);
    if (!active() || !list) {
        return;
    }
    if (save) {
        value = list->currentIndex();
    } else {
        list->setCurrentIndex(value);
    }
}
