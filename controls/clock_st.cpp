#include "clock_st.h"

#include <QDateTime>
#include <QMouseEvent>
#include <QPainter>

#include <chrono>
#include <system_error>

namespace {

constexpr auto kRefreshPeriod = std::chrono::milliseconds(1000);

void drawCell(QPainter& painter, const QImage& strip, const DigitCell& cell, uint8_t digit) {
    const bool large = cell.strip == DigitStrip::Large;
    const int width = large ? kLargeDigitWidth : kSmallDigitWidth;
    const int height = large ? kLargeDigitHeight : kSmallDigitHeight;
    const QRect source(digit * width, 0, width, height);
    if (digit > 9 || !strip.rect().contains(source)) {
        return;
    }
    painter.drawImage(QPoint(cell.x, cell.y), strip, source);
}

}  // namespace

void drawClockDigits(QImage& face, const QImage& largeDigits, const QImage& smallDigits,
                     const ClockDigits& digits) {
    QPainter painter(&face);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    auto stripOf = [&](const DigitCell& cell) -> const QImage& {
        return cell.strip == DigitStrip::Large ? largeDigits : smallDigits;
    };
    for (size_t i = 0; i < kTimeCells.size(); ++i) {
        drawCell(painter, stripOf(kTimeCells[i]), kTimeCells[i], digits.timeDigits[i]);
    }
    for (size_t i = 0; i < kDateCells.size(); ++i) {
        drawCell(painter, stripOf(kDateCells[i]), kDateCells[i], digits.dateDigits[i]);
    }
}

LocalDateTime localNow() {
    const QDateTime now = QDateTime::currentDateTime();
    const QDate date = now.date();
    const QTime time = now.time();
    return {date.year(), date.month(), date.day(), time.hour(), time.minute(), time.second()};
}

CClockST::CClockST(QWidget* parent) : QLabel(parent) {}

CClockST::CClockST(const QString& text, QWidget* parent) : QLabel(text, parent) {}

CClockST::~CClockST() {
    if (clockThread_.joinable()) {
        {
            std::lock_guard lock(wakeLock_);
            clockRunning_ = 0;
        }
        // The thread waits on the condition rather than sleeping, so it ends at once.
        wake_.notify_all();
        clockThread_.join();
    }
}

int CClockST::StartClock() {
    if (clockThread_.joinable()) {
        return Started;
    }
    releaseBitmaps();
    if (!loadBitmaps()) {
        releaseBitmaps();
        return BitmapsMissing;
    }
    setFixedSize(faceBitmap_.size());
    clockRunning_ = 1;
    try {
        clockThread_ = std::thread([this] { runUpdates(); });
    } catch (const std::system_error&) {
        clockRunning_ = 0;
        releaseBitmaps();
        return ThreadFailed;
    }
    // From now on every paint covers the whole control, so nothing is erased first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    return Started;
}

bool CClockST::loadBitmaps() {
    auto load = [this](int id) {
        return QImage(QStringLiteral("%1/%2.bmp").arg(bitmapFolder_).arg(id))
            .convertToFormat(QImage::Format_RGB32);
    };
    smallDigits_ = load(132);
    bigDigits_ = load(133);
    faceBitmap_ = load(134);
    return !smallDigits_.isNull() && !bigDigits_.isNull() && !faceBitmap_.isNull();
}

void CClockST::releaseBitmaps() {
    smallDigits_ = QImage();
    bigDigits_ = QImage();
    faceBitmap_ = QImage();
    faceSurface_ = QImage();
}

void CClockST::runUpdates() {
    std::unique_lock lock(wakeLock_);
    while (clockRunning_ == 1) {
        lock.unlock();
        refreshDigits();
        lock.lock();
        wake_.wait_for(lock, kRefreshPeriod, [this] { return clockRunning_ != 1; });
    }
}

void CClockST::refreshDigits() {
    const ClockDigits now = clockDigits(localNow());
    for (size_t i = 0; i < now.timeDigits.size(); ++i) {
        timeDigits_[i] = now.timeDigits[i];
    }
    for (size_t i = 0; i < now.dateDigits.size(); ++i) {
        dateDigits_[i] = now.dateDigits[i];
    }
    // The repaint is queued to the user-interface thread; it is dropped if the control is gone.
    QMetaObject::invokeMethod(
        this, [this] { update(); }, Qt::QueuedConnection);
}

ClockDigits CClockST::digits() const {
    ClockDigits copy;
    for (size_t i = 0; i < copy.timeDigits.size(); ++i) {
        copy.timeDigits[i] = timeDigits_[i];
    }
    for (size_t i = 0; i < copy.dateDigits.size(); ++i) {
        copy.dateDigits[i] = dateDigits_[i];
    }
    return copy;
}

void CClockST::paintEvent(QPaintEvent* event) {
    if (!clockThread_.joinable()) {
        QLabel::paintEvent(event);
        return;
    }
    if (faceSurface_.isNull()) {
        faceSurface_ = faceBitmap_.copy();
    }
    drawClockDigits(faceSurface_, bigDigits_, smallDigits_, digits());
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), faceSurface_);
}

void CClockST::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        emit clicked();
    }
    QLabel::mousePressEvent(event);
}

void CClockST::mouseDoubleClickEvent(QMouseEvent* event) {
    // The second press of a double click is not a click of its own, so the base class (which
    // would treat it as a press) is left out.
    if (event->button() == Qt::LeftButton) {
        emit doubleClicked();
        return;
    }
    QLabel::mouseDoubleClickEvent(event);
}
