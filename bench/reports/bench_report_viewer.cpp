// Opens the report viewer on a 100,000-line report (about 5 MB of text), measures how
// long it takes until it is painted at the top of the report, how long saving takes, and
// the peak memory the open viewer needs beyond the report itself.
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QScrollBar>
#include <QTemporaryDir>
#include <cstdio>
#include <fstream>
#include <string>

#include "report_dlg.h"
#include "report_view.h"

namespace {

constexpr int kLines = 100000;

QString makeReport() {
    QString report;
    report.reserve(kLines * 52);
    for (int i = 1; i <= kLines; ++i) {
        report += QStringLiteral("%1 Продажба арт. %2  %3 x %4.%5 ДДС Б\r\n")
                      .arg(i, 6, 10, QChar(u'0'))
                      .arg(i % 997, 4)
                      .arg(i % 7 + 1, 2)
                      .arg(i % 500, 5)
                      .arg(i % 100, 2, 10, QChar(u'0'));
    }
    return report;
}

long statusKilobytes(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field, 0) == 0) {
            return std::stol(line.substr(std::string(field).size()));
        }
    }
    return -1;
}

// Lets the peak resident size start again from the current size.
void resetPeak() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    const QString report = makeReport();
    const double textMb = report.size() * 2 / 1e6;
    std::printf("report: %d lines, %lld characters, %.1f MB as UTF-16\n", kLines,
                static_cast<long long>(report.size()), textMb);
    {
        CReportDlg warmUp(QStringLiteral("x"));  // loads the platform plugin and fonts once
        warmUp.show();
        app.processEvents();
    }
    resetPeak();
    const long baseKb = statusKilobytes("VmRSS:");

    QElapsedTimer timer;
    timer.start();
    CReportDlg viewer(report);
    viewer.show();
    viewer.repaint();
    viewer.display()->viewport()->repaint();
    app.processEvents();
    const qint64 openMs = timer.elapsed();
    const bool atTop = viewer.display()->verticalScrollBar()->value() == 0;
    const long peakKb = statusKilobytes("VmHWM:");
    std::printf("open and paint: %lld ms (goal < 500), at the top: %s\n",
                static_cast<long long>(openMs), atTop ? "yes" : "no");
    std::printf(
        "peak memory of the open viewer: %.1f MB = %.2f x the report's %.1f MB (goal < 4)\n",
        (peakKb - baseKb) / 1e3, (peakKb - baseKb) / 1e3 / textMb, textMb);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("report.txt"));
    CReportDlg::setFileChooser([&path](QWidget*) { return path; });
    timer.restart();
    viewer.OnSave();
    const qint64 saveMs = timer.elapsed();
    std::printf("save: %lld ms (goal < 100), file: %lld bytes\n", static_cast<long long>(saveMs),
                static_cast<long long>(QFile(path).size()));
    return atTop && QFile(path).size() == report.size() * 2 ? 0 : 1;
}
