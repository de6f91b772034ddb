// A static control that shows a picture and plays it when it is a GIF of several frames.
// Frames are decoded once at load; a thread of the control's own composes them on an
// off-screen surface and asks the user-interface thread to copy it to the screen.
#pragma once

#include <QWidget>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <span>
#include <thread>
#include <vector>

#include "gif_canvas.h"

class CPictureEx : public QWidget {
    Q_OBJECT
public:
    explicit CPictureEx(QWidget* parent = nullptr);
    ~CPictureEx() override;

    // Loads GIF resource <id> of the program (":/gif/<id>.gif").
    bool LoadGifResource(int id);
    bool LoadBuffer(std::span<const uint8_t> bytes);
    void Play();
    void StopPlaying();
    void Clear();

    QSize pictureSize() const { return pictureSize_; }
    bool isPlaying() const { return animationThread_.joinable(); }
    size_t frameCount() const { return frames_.size(); }
    uint32_t currentFrame() const { return currentFrame_.load(); }
    // How many frames the animation has drawn since construction; lets callers see progress.
    uint32_t framesDrawn() const { return framesDrawn_.load(); }
    // A copy of the composed picture, taken under the surface lock.
    QImage surfaceSnapshot() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool loadGif(std::span<const uint8_t> bytes);
    bool prepareSurface(QSize size);
    void animate();
    // Waits for the frame's hold time; false when a stop cut the wait.
    bool holdFrame(uint32_t delay);
    void requestRepaint();

    QSize pictureSize_;
    std::atomic<uint32_t> currentFrame_{0};
    std::atomic<uint32_t> framesDrawn_{0};
    bool isGif_ = false;
    std::atomic<bool> exitRequested_{false};
    QImage stillPicture_;
    std::vector<GifFrame> frames_;

    mutable std::mutex surfaceLock_;
    GifCanvas canvas_;

    std::mutex stopLock_;
    std::condition_variable stopEvent_;
    bool stopSignalled_ = false;
    std::thread animationThread_;
};
