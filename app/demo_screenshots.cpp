#include "demo_screenshots.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPointer>
#include <QScreen>
#include <QTextStream>
#include <QTimer>

#include "about_dlg.h"
#include "choice_window.h"
#include "dialog_support.h"
#include "korvex_dlg.h"
#include "serial_port.h"

namespace {

QTextStream& out() {
    static QTextStream stream(stdout);
    return stream;
}

// Lets the window system and the event loop catch up.
void settle(int ms) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
}

// The part of the screen that the program's windows cover, with a small margin.
QRect shownArea() {
    QRect area;
    for (const QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible()) {
            area |= window->frameGeometry();
        }
    }
    // The screen's picture has device pixels.
    const qreal ratio = QGuiApplication::primaryScreen()->devicePixelRatio();
    area.adjust(-8, -8, 8, 8);
    return QRect(area.topLeft() * ratio, area.size() * ratio);
}

class DemoWalk {
public:
    DemoWalk(const QString& folder) : folder(folder) {
        previous = setMessageSink([this](QWidget* parent, const QString& text) {
            out() << "message: " << text << Qt::endl;
            auto* box = new QMessageBox(QMessageBox::Warning, applicationTitle(), text,
                                        QMessageBox::Ok, parent);
            box->setAttribute(Qt::WA_DeleteOnClose);
            box->show();
            messageBox = box;
        });
    }
    ~DemoWalk() { setMessageSink(std::move(previous)); }

    bool shoot(const QString& name) {
        settle(400);
        const QString path = QDir(folder).filePath(name + QStringLiteral(".png"));
        const bool saved =
            QGuiApplication::primaryScreen()->grabWindow(0).copy(shownArea()).save(path);
        out() << (saved ? "screenshot: " : "could not save: ") << path << Qt::endl;
        if (messageBox) {
            messageBox->close();
        }
        return saved;
    }

    int run() {
        CKorvexDlg dialog;
        dialog.show();
        bool ok = shoot(QStringLiteral("1-port-closed"));
        control<QPushButton>(&dialog, 1068)->click();
        ok = shoot(QStringLiteral("2-autodetect-message")) && ok;
        ok = shoot(QStringLiteral("3-port-open")) && ok;
        control<QPushButton>(&dialog, 1069)->click();
        ok = shoot(QStringLiteral("4-version-message")) && ok;
        dialog.portChooser()->click();
        ok = shoot(QStringLiteral("5-port-chooser")) && ok;
        dialog.portChooser()->popup()->closeChoices();
        CAboutDlg about(&dialog);
        about.show();
        ok = shoot(QStringLiteral("6-about")) && ok;
        about.close();
        dialog.reject();
        return ok ? 0 : 1;
    }

private:
    QString folder;
    MessageSink previous;
    QPointer<QMessageBox> messageBox;
};

}  // namespace

int runDemoScreenshots(const QString& folder) {
    if (!QDir().mkpath(folder)) {
        out() << "cannot create " << folder << Qt::endl;
        return 1;
    }
    DemoWalk walk(folder);
    return walk.run();
}
