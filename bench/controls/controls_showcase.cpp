// Shows every styled control in one window and saves a picture of it, for a look by eye:
// the two title strips (smooth and banded fill), both colourings of the fiscalization status
// box, the running clock, the blinking label in both states (and on the white connection
// dialog's brush), and both wait animations part-way through.
// Usage: controls_showcase [output.png]
#include <QApplication>
#include <QGridLayout>
#include <QTimer>
#include <QTimerEvent>
#include <QVBoxLayout>

#include <cstdio>

#include "clock_st.h"
#include "color_static_st.h"
#include "gradient_static.h"
#include "picture_ex.h"

namespace {

QFont heavyArial(int pixelHeight) {
    QFont font("Arial");
    font.setPixelSize(pixelHeight);
    font.setWeight(QFont::Black);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

CGradientStatic* title(const QString& text, bool smooth) {
    auto* strip = new CGradientStatic;
    strip->setFont(heavyArial(25));
    strip->SetCaption(text);
    strip->smoothFill = smooth;
    strip->setFixedHeight(34);
    return strip;
}

CGradientStatic* statusBox(const QString& text, bool colouredBox, ColorRef start) {
    auto* box = new CGradientStatic;
    box->verticalGradient = true;
    box->textAlign = 1;
    box->setFont(heavyArial(20));
    if (colouredBox) {
        box->startColour = start;
        box->endColour = 0x000000;
        box->gradientTextColour = 0xFFFFFF;
    }
    box->SetCaption(text);
    box->setFixedSize(236, 30);
    return box;
}

CColorStaticST* waitLabel(bool flipped, bool whiteDialog) {
    auto* label = new CColorStaticST(" Моля, изчакайте ");
    label->setAlignment(Qt::AlignCenter);
    label->setFixedSize(150, 24);
    if (whiteDialog) {
        label->setOwnerBrush(QColor(Qt::white));
    }
    label->SetBlinkBackgroundColours(0x008000, 0x00FF00);
    label->StartBackgroundBlink(500);
    label->SetBlinkTextColours(label->backgroundColour(), 0x000000);
    label->StartTextBlink(2000);
    if (flipped) {
        QTimerEvent tick(label->blinkTimerId());
        QCoreApplication::sendEvent(label, &tick);
    }
    return label;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QString output = argc > 1 ? QString::fromLocal8Bit(argv[1]) : "controls.png";

    QWidget window;
    window.setWindowTitle("Korvex controls");
    auto* column = new QVBoxLayout(&window);
    column->addWidget(title("Фискализация", true));
    column->addWidget(title("Справки КЛЕН и отчети от ФП", false));

    auto* grid = new QGridLayout;
    column->addLayout(grid);
    grid->addWidget(statusBox("Фискализиран на:", true, 0xBABA00), 0, 0);
    grid->addWidget(statusBox("05.03.2023 14:07:09", false, 0), 1, 0);
    grid->addWidget(statusBox("Нефискализиран", true, 0x0000FF), 2, 0);
    grid->addWidget(statusBox("", false, 0), 3, 0);
    auto* clock = new CClockST("Clock");
    grid->addWidget(clock, 0, 1, 4, 1);
    clock->StartClock();
    grid->addWidget(waitLabel(false, false), 4, 0);
    grid->addWidget(waitLabel(true, false), 4, 1);
    grid->addWidget(waitLabel(false, true), 5, 0);
    grid->addWidget(waitLabel(true, true), 5, 1);

    auto* pictures = new QHBoxLayout;
    column->addLayout(pictures);
    for (int id : {140, 142}) {
        auto* picture = new CPictureEx;
        if (picture->LoadGifResource(id)) {
            picture->Play();
        }
        pictures->addWidget(picture);
    }
    window.show();

    QTimer::singleShot(1700, &app, [&] {
        const bool saved = window.grab().save(output);
        std::printf("%s %s\n", saved ? "saved" : "could not save", qPrintable(output));
        app.quit();
    });
    return app.exec();
}
