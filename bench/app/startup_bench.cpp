// Prints how long the program takes from process start until its window is shown, and how
// much memory it holds once idle. Run it as the program is run: on a display, or under
// xvfb-run; without a display it falls back to the offscreen platform and says so.
#include <time.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QTest>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "korvex_app.h"
#include "korvex_dlg.h"

namespace {

// Milliseconds since the kernel started this process (to the kernel's 10 ms tick).
double msSinceProcessStart() {
    std::ifstream stat("/proc/self/stat");
    std::string line;
    std::getline(stat, line);
    // The fields after the command name, which is in parentheses and may hold blanks.
    std::istringstream fields(line.substr(line.rfind(')') + 2));
    std::string field;
    unsigned long long startTicks = 0;
    for (int i = 3; i <= 22 && fields >> field; ++i) {
        if (i == 22) {
            startTicks = std::stoull(field);
        }
    }
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    const double startMs = 1000.0 * static_cast<double>(startTicks) / sysconf(_SC_CLK_TCK);
    return now.tv_sec * 1000.0 + now.tv_nsec / 1e6 - startMs;
}

long residentKilobytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::atol(line.c_str() + 6);
        }
    }
    return -1;
}

}  // namespace

int main(int argc, char** argv) {
    const char* display = std::getenv("DISPLAY");
    if ((!display || !*display) && !std::getenv("QT_QPA_PLATFORM")) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    CKorvexApp app(argc, argv);
    CKorvexDlg dialog;
    dialog.show();
    if (!QTest::qWaitForWindowExposed(&dialog, 5000)) {
        std::puts("the window was not shown within 5 s");
        return 1;
    }
    const double shownMs = msSinceProcessStart();
    QTest::qWait(1500);
    const double residentMb = residentKilobytes() / 1024.0;
    std::printf("platform: %s\n", qPrintable(QGuiApplication::platformName()));
    std::printf("window shown %.0f ms after process start (goal: 300 ms)\n", shownMs);
    std::printf("idle resident memory %.1f MB (goal: under 60 MB)\n", residentMb);
    return 0;
}
