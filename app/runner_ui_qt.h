#pragma once

#include "runners.h"

// The runners' dialogs met with Qt: the wait dialogs for long commands and the report
// viewer, each run modally over the active window.
class QtRunnerUi final : public RunnerUi {
public:
    void runWaitDialog(WaitDialogKind kind, WorkerProcedure worker) override;
    void showReport(const std::u16string& text) override;
};

// Installs one QtRunnerUi for the rest of the process.
void installQtRunnerUi();
