#pragma once

#include <QApplication>

// The application object: sets up the link's user interface and runs the main window
// modally; the program ends with it.
class CKorvexApp : public QApplication {
    Q_OBJECT

public:
    CKorvexApp(int& argc, char** argv);

    int run();
};
