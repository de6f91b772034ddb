#include <cstring>

#include "demo_screenshots.h"
#include "korvex_app.h"

int main(int argc, char** argv) {
    CKorvexApp app(argc, argv);
    // The one switch is for tools/run.sh on machines without a display; technicians start
    // the program without arguments.
    if (argc == 3 && std::strcmp(argv[1], "--demo-screenshots") == 0) {
        return runDemoScreenshots(QString::fromLocal8Bit(argv[2]));
    }
    return app.run();
}
