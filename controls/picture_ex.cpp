#include "picture_ex.h"

#include <QFile>
#include <QPainter>

#include <chrono>

#include "gif_walker.h"

CPictureEx::CPictureEx(QWidget* parent) : QWidget(parent) {
    // The surface covers the whole picture, so nothing behind it needs erasing first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

CPictureEx::~CPictureEx() {
    Clear();
}

bool CPictureEx::LoadGifResource(int id) {
    QFile file(QStringLiteral(":/gif/%1.gif").arg(id));
    if (!file.open(QIODevice::ReadOnly)) {
        return false;
    }
    const QByteArray bytes = file.readAll();
    return LoadBuffer(std::span(reinterpret_cast<const uint8_t*>(bytes.constData()),
                                static_cast<size_t>(bytes.size())));
}

bool CPictureEx::LoadBuffer(std::span<const uint8_t> bytes) {
    Clear();
    if (gif::hasGifSignature(bytes)) {
        isGif_ = true;
        if (!loadGif(bytes)) {
            return false;
        }
    } else {
        stillPicture_ = loadPicture(bytes);
        if (stillPicture_.isNull()) {
            return false;
        }
        pictureSize_ = stillPicture_.size();
    }
    return prepareSurface(pictureSize_);
}

bool CPictureEx::loadGif(std::span<const uint8_t> bytes) {
    gif::GifWalker walker(bytes);
    pictureSize_ = QSize(walker.screenWidth(), walker.screenHeight());
    const size_t count = walker.countFrames();
    if (count == 0) {
        return false;
    }
    if (count == 1) {
        stillPicture_ = loadPicture(bytes);
        return !stillPicture_.isNull();
    }
    frames_ = loadGifFrames(bytes);
    return !frames_.empty();
}

bool CPictureEx::prepareSurface(QSize size) {
    const QColor background = palette().color(QPalette::Window);
    {
        std::lock_guard lock(surfaceLock_);
        if (!canvas_.prepare(size, background, background)) {
            return false;
        }
    }
    // The control takes the picture's size; its top-left corner stays where it was.
    setFixedSize(size);
    return true;
}

void CPictureEx::Play() {
    if (!canvas_.ready() || animationThread_.joinable()) {
        return;
    }
    if (isGif_ && frames_.size() >= 2) {
        animationThread_ = std::thread([this] { animate(); });
        return;
    }
    if (stillPicture_.isNull()) {
        return;
    }
    bool drawn = false;
    {
        std::lock_guard lock(surfaceLock_);
        drawn = canvas_.drawPicture(stillPicture_, QRect(QPoint(0, 0), pictureSize_));
    }
    if (drawn) {
        update();
    }
}

void CPictureEx::animate() {
    {
        std::lock_guard lock(surfaceLock_);
        canvas_.disposeFrame(frames_[currentFrame_]);
    }
    while (!exitRequested_) {
        const GifFrame& frame = frames_[currentFrame_];
        bool drawn = false;
        {
            std::lock_guard lock(surfaceLock_);
            drawn = canvas_.drawFrame(frame);
        }
        if (drawn) {
            ++framesDrawn_;
            requestRepaint();
        }
        if (exitRequested_ || !holdFrame(frame.delay)) {
            break;
        }
        std::lock_guard lock(surfaceLock_);
        canvas_.disposeFrame(frame);
        uint32_t next = currentFrame_ + 1;
        if (next >= frames_.size()) {
            next = 0;
            canvas_.clearAll();
        }
        currentFrame_ = next;
    }
}

bool CPictureEx::holdFrame(uint32_t delay) {
    std::unique_lock lock(stopLock_);
    const auto hold = std::chrono::milliseconds(gif::frameHoldMs(delay));
    stopEvent_.wait_for(lock, hold, [this] { return stopSignalled_; });
    return !exitRequested_;
}

void CPictureEx::requestRepaint() {
    // Widgets belong to the user-interface thread; the repaint is queued to it. A request
    // still queued when the control goes away is dropped with it.
    QMetaObject::invokeMethod(
        this, [this] { update(); }, Qt::QueuedConnection);
}

void CPictureEx::StopPlaying() {
    exitRequested_ = true;
    {
        std::lock_guard lock(stopLock_);
        stopSignalled_ = true;
    }
    stopEvent_.notify_all();
    // Every wait of the thread is cut by the event and its drawing steps are short, so the
    // join returns at once; leaving the thread running would let it draw into freed frames.
    if (animationThread_.joinable()) {
        animationThread_.join();
    }
    {
        std::lock_guard lock(stopLock_);
        stopSignalled_ = false;
    }
    exitRequested_ = false;
}

void CPictureEx::Clear() {
    StopPlaying();
    stillPicture_ = QImage();
    frames_.clear();
    {
        std::lock_guard lock(surfaceLock_);
        canvas_.release();
    }
    pictureSize_ = QSize();
    currentFrame_ = 0;
    isGif_ = false;
}

QImage CPictureEx::surfaceSnapshot() const {
    std::lock_guard lock(surfaceLock_);
    return canvas_.surface().copy();
}

void CPictureEx::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    std::lock_guard lock(surfaceLock_);
    if (!canvas_.ready()) {
        painter.fillRect(rect(), palette().color(QPalette::Window));
        return;
    }
    painter.drawImage(QPoint(0, 0), canvas_.surface());
}
