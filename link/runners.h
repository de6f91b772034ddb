#pragma once

#include <atomic>
#include <cstddef>
#include <string>
#include <string_view>

// Long commands run on a worker thread while a modal wait dialog keeps the window alive.
// The worker alone touches the port and the command context until it has posted its close
// request; the user-interface thread reads the results only after the dialog has ended.

// What a worker procedure sees of the dialog that started it.
class WorkerDialog {
public:
    virtual ~WorkerDialog() = default;

    // Queues the request that ends the dialog and returns at once: the worker never waits
    // for the user-interface thread.
    virtual void postCloseRequest() = 0;

    // The user asked to stop. A report read-out ends between two lines and keeps what
    // it has; a single command cannot be stopped halfway and ignores it.
    void requestStop() { stop.store(true); }
    bool stopRequested() const { return stop.load(); }

private:
    std::atomic<bool> stop{false};
};

using WorkerProcedure = void (*)(WorkerDialog& dialog);

// Runs commandRequest; lastResult gets the outcome. Ends by posting the close request.
void CommandWorker(WorkerDialog& dialog);
// Runs commandRequest and, when its answer carries the success header, reads the report
// line by line into reportText. Ends by posting the close request.
void ReportWorker(WorkerDialog& dialog);

enum class WaitDialogKind { Connection, Report };

// The dialogs the runners need. The application implements it with Qt; tests implement
// it with threads of their own. The link never includes a Qt header.
class RunnerUi {
public:
    virtual ~RunnerUi() = default;

    // Shows the wait dialog of this kind modally. The dialog starts the worker with
    // itself as argument and returns once the worker's close request has ended it.
    virtual void runWaitDialog(WaitDialogKind kind, WorkerProcedure worker) = 0;
    // Opens the report viewer modally with this text.
    virtual void showReport(const std::u16string& text) = 0;
};

// The interface in use. Until the application sets its own, workers run on the calling
// thread and reports are not shown.
RunnerUi& runnerUi();
void setRunnerUi(RunnerUi* ui);

// Runs the command while the connection wait dialog is shown.
bool RunCommandWithWait(const std::u16string& command, std::u16string& response);
// Runs the command and the report read-out while the report wait dialog is shown. When
// the user stopped the read-out, report ends with stoppedReadOutNotice (reportText keeps
// only what the device sent).
bool RunReportCommand(const std::u16string& command, std::u16string& response,
                      std::u16string& report);
// Shows the device's error description, or the report viewer when the answer has the
// success header.
void ShowReportResult(const std::u16string& response, const std::u16string& report);
// What every page does with a report command: runs it, then shows the communication error
// when it failed, or its result. Returns what RunReportCommand returned.
bool RunAndShowReport(const std::u16string& command);

// The 11-character header that starts the answer of a long command that succeeded.
inline constexpr std::string_view kAnswerOk = "ERROR 000\r\n";
// The answer of a report line request when no line is left.
inline constexpr std::string_view kReportEnd = "E";
// The command that asks for one report line; its number follows in decimal.
inline constexpr char kReportLineCode = static_cast<char>(0xE4);

// How the last report read-out ended, so that a report the user cut short is never taken
// for the whole one.
struct ReadOutSummary {
    size_t lines = 0;      // lines added to reportText
    bool stopped = false;  // the user stopped it before the device said "E"
};
// Written by ReportWorker; read it only after the report wait dialog has ended.
const ReadOutSummary& lastReadOut();
// The lines that follow the device's own lines in a report the user stopped:
// "*** НЕПЪЛЕН ОТЧЕТ ***" and "*** Прочитането е спряно след 500 реда ***".
std::u16string stoppedReadOutNotice(size_t lines);

bool answerHeaderOk(std::string_view answer);
// The text a report line answer adds to the report: what follows its first comma, when
// that comma is not the first byte; nothing otherwise.
bool reportLineText(std::string_view answer, std::string_view& text);
