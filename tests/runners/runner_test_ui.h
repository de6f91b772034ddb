#pragma once

// Plays the wait dialogs without Qt: the worker runs on a thread of its own, as in the
// program, and the "dialog" ends when the worker's close request arrives.

#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "link_ui.h"
#include "runners.h"

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
