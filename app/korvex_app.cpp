#include "korvex_app.h"

#include "app_art.h"
#include "dialog_support.h"
#include "korvex_dlg.h"
#include "runner_ui_qt.h"

CKorvexApp::CKorvexApp(int& argc, char** argv) : QApplication(argc, argv) {
    setWindowIcon(programIcon());
    installQtLinkUi();
    installQtRunnerUi();
}

int CKorvexApp::run() {
    CKorvexDlg dialog;
    dialog.exec();
    return 0;
}
