#pragma once

// Plays the wait dialogs without Qt: the worker runs on a thread of its own, as in the
// program, and the "dialog" ends when the worker's close request arrives.

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "link_ui.h"
#include "runners.h"
#include "serial_port.h"

class ThreadedRunnerUi final : public RunnerUi, public LinkUi {
public:
    ThreadedRunnerUi() {
        setRunnerUi(this);
        setLinkUi(this);
    }
    ~ThreadedRunnerUi() override {
        setRunnerUi(nullptr);
        setLinkUi(nullptr);
    }

    void runWaitDialog(WaitDialogKind kind, WorkerProcedure worker) override {
        kinds.push_back(kind);
        Dialog dialog;
        if (onDialog) {
            onDialog(dialog);
        }
        std::thread thread(worker, std::ref(dialog));
        dialog.waitClosed();
        thread.join();
        closeRequests += dialog.closeRequests;
    }

    void showReport(const std::u16string& text) override { reports.push_back(text); }
    void showMessage(const std::u16string& text) override { messages.push_back(text); }
    void beginWaitCursor() override {}
    void endWaitCursor() override {}

    class Dialog final : public WorkerDialog {
    public:
        void postCloseRequest() override {
            std::lock_guard lock(mutex);
            ++closeRequests;
            closed.notify_all();
        }
        void waitClosed() {
            std::unique_lock lock(mutex);
            closed.wait(lock, [this] { return closeRequests > 0; });
        }
        int closeRequests = 0;

    private:
        std::mutex mutex;
        std::condition_variable closed;
    };

    // Called with each dialog before its worker starts (to request a stop, say).
    std::function<void(Dialog&)> onDialog;
    std::vector<WaitDialogKind> kinds;
    std::vector<std::u16string> reports;
    std::vector<std::u16string> messages;
    int closeRequests = 0;
};

// Wraps a port to watch what the host writes and to act at a given write (to stop a
// read-out between two lines, or to change the device's report before it is read).
class TapPort final : public SerialPort {
public:
    explicit TapPort(std::unique_ptr<SerialPort> inner) : inner(std::move(inner)) {}

    // Runs the action just before the host's write number n (from 1) goes out.
    void actAt(size_t n, std::function<void()> what) {
        atWrite = n;
        action = std::move(what);
    }

    size_t read(uint8_t* buffer, size_t capacity) override { return inner->read(buffer, capacity); }
    bool waitReadable(int timeoutMs) override { return inner->waitReadable(timeoutMs); }
    size_t write(const uint8_t* data, size_t size) override {
        writes.emplace_back(reinterpret_cast<const char*>(data), size);
        if (writes.size() == atWrite && action) {
            action();
        }
        return inner->write(data, size);
    }
    void purgeInput() override { inner->purgeInput(); }
    void purgeAll() override { inner->purgeAll(); }

    std::vector<std::string> writes;

private:
    std::unique_ptr<SerialPort> inner;
    size_t atWrite = 0;
    std::function<void()> action;
};
