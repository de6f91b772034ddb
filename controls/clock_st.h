// A static that shows the computer's local date and time as a small liquid-crystal display
// drawn from three bitmaps (face, large digits, small digits), refreshed once a second by a
// thread of its own. Until it is started it is a plain static showing its text.
#pragma once

#include <QImage>
#include <QLabel>

#include <array>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "clock_digits.h"

// The face with every digit cell copied from its strip. Cells outside a strip stay as the
// face has them.
void drawClockDigits(QImage& face, const QImage& largeDigits, const QImage& smallDigits,
                     const ClockDigits& digits);

// The computer's local date and time now, to the second, on a 24-hour clock.
LocalDateTime localNow();

class CClockST : public QLabel {
    Q_OBJECT
public:
    enum StartResult { Started = 0, BitmapsMissing = 1, ThreadFailed = 2 };

    explicit CClockST(QWidget* parent = nullptr);
    explicit CClockST(const QString& text, QWidget* parent = nullptr);
    ~CClockST() override;

    int StartClock();

    // Where the bitmaps 132 to 134 are looked up; the program's resources unless a test
    // points elsewhere.
    void setBitmapFolder(const QString& folder) { bitmapFolder_ = folder; }
    bool isRunning() const { return clockThread_.joinable(); }
    ClockDigits digits() const;

signals:
    // The standard notifications of a static with the notify style; the fiscalization page
    // copies the computer's clock into its pickers on a double click.
    void clicked();
    void doubleClicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    bool loadBitmaps();
    void releaseBitmaps();
    void runUpdates();
    void refreshDigits();

    std::atomic<int> clockRunning_{0};
    std::thread clockThread_;
    std::mutex wakeLock_;
    std::condition_variable wake_;

    QImage faceSurface_;
    // Written by the update thread a byte at a time; a paint between two writes shows a mix of
    // two seconds for at most one second, which is harmless.
    std::array<std::atomic<uint8_t>, 6> timeDigits_{};
    std::array<std::atomic<uint8_t>, 8> dateDigits_{};

    QImage faceBitmap_;
    QImage bigDigits_;
    QImage smallDigits_;
    QString bitmapFolder_ = QStringLiteral(":/bitmap");
};
