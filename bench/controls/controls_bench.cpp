// Measures what a playing GIF 140 and a running clock cost together: the process's CPU time
// (user + system) over a stretch of wall time while both controls are shown and repainted.
// Usage: controls_bench [seconds]   (runs on the offscreen platform unless told otherwise)
#include <QApplication>
#include <QHBoxLayout>
#include <QTimer>
#include <QWidget>

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "clock_st.h"
#include "picture_ex.h"

namespace {

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;

    QWidget window;
    auto* layout = new QHBoxLayout(&window);
    auto* picture = new CPictureEx;
    auto* clock = new CClockST("Clock");
    layout->addWidget(picture);
    layout->addWidget(clock);
    if (!picture->LoadGifResource(140) || clock->StartClock() != CClockST::Started) {
        std::fprintf(stderr, "resources missing\n");
        return 1;
    }
    picture->Play();
    window.show();

    // Let start-up (fonts, first layout) settle before measuring.
    QTimer::singleShot(1000, &app, [&] {
        const double cpuStart = cpuSeconds();
        const uint32_t framesStart = picture->framesDrawn();
        const auto wallStart = std::chrono::steady_clock::now();
        QTimer::singleShot(seconds * 1000, &app, [&, cpuStart, framesStart, wallStart] {
            const double wall =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
            const double cpu = cpuSeconds() - cpuStart;
            std::printf(
                "GIF 140 playing + clock running, %.1f s wall: %.3f s CPU = %.2f %% of "
                "one core (%u frames drawn)\n",
                wall, cpu, 100.0 * cpu / wall, picture->framesDrawn() - framesStart);
            app.quit();
        });
    });
    return app.exec();
}
