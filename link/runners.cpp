#include "runners.h"

#include <algorithm>

#include "command.h"
#include "cp1251.h"
#include "link_ui.h"

namespace {

// Without a user interface there is no dialog to keep alive, so the worker simply runs
// on the calling thread.
class InlineRunnerUi final : public RunnerUi {
public:
    void runWaitDialog(WaitDialogKind, WorkerProcedure worker) override {
        class NoDialog final : public WorkerDialog {
        public:
            void postCloseRequest() override {}
        } dialog;
        worker(dialog);
    }
    void showReport(const std::u16string&) override {}
};

InlineRunnerUi inlineUi;
RunnerUi* currentUi = &inlineUi;
ReadOutSummary readOut;

bool runAndRecord() {
    CommandContext& ctx = commandContext();
    const bool ok = ExecuteCommand();
    ctx.lastResult = ok ? 1 : 0;
    return ok;
}

std::string lineRequest(unsigned long long lineNumber) {
    std::string request(1, kReportLineCode);
    request += std::to_string(lineNumber);
    return request;
}

// Asks for lines 0, 1, 2, ... until the device answers "E", a line command fails or the
// user stops it. The report grows by appending, so a long report costs linear time.
void readReportLines(const WorkerDialog& dialog) {
    CommandContext& ctx = commandContext();
    for (unsigned long long line = 0;; ++line) {
        if (dialog.stopRequested()) {
            readOut.stopped = true;
            return;
        }
        ctx.commandRequest = lineRequest(line);
        if (!runAndRecord() || ctx.commandResponse == kReportEnd) {
            return;
        }
        std::string_view text;
        if (reportLineText(ctx.commandResponse, text)) {
            ctx.reportText.append(text);
            ctx.reportText.append("\r\n");
            ++readOut.lines;
        }
    }
}

// Bulgarian counts lines as "1 ред", "21 ред", but "11 реда", "2 реда", "500 реда".
std::u16string lineCount(size_t lines) {
    const std::string digits = std::to_string(lines);
    const bool singular = lines % 10 == 1 && lines % 100 != 11;
    return std::u16string(digits.begin(), digits.end()) + (singular ? u" ред" : u" реда");
}

}  // namespace

RunnerUi& runnerUi() {
    return *currentUi;
}

void setRunnerUi(RunnerUi* ui) {
    currentUi = ui ? ui : &inlineUi;
}

const ReadOutSummary& lastReadOut() {
    return readOut;
}

// Two short lines, so that they fit the viewer's width as the report's own lines do.
std::u16string stoppedReadOutNotice(size_t lines) {
    return u"*** НЕПЪЛЕН ОТЧЕТ ***\r\n*** Прочитането е спряно след " + lineCount(lines) +
           u" ***\r\n";
}

bool answerHeaderOk(std::string_view answer) {
    return answer.substr(0, kAnswerOk.size()) == kAnswerOk;
}

bool reportLineText(std::string_view answer, std::string_view& text) {
    const size_t comma = answer.find(',');
    if (comma == std::string_view::npos || comma == 0) {
        return false;
    }
    text = answer.substr(comma + 1);
    return true;
}

void CommandWorker(WorkerDialog& dialog) {
    runAndRecord();
    dialog.postCloseRequest();
}

void ReportWorker(WorkerDialog& dialog) {
    CommandContext& ctx = commandContext();
    readOut = {};
    if (runAndRecord() && answerHeaderOk(ctx.commandResponse)) {
        std::string firstAnswer = ctx.commandResponse;
        ctx.reportText.clear();
        readReportLines(dialog);
        ctx.commandResponse = std::move(firstAnswer);
    }
    dialog.postCloseRequest();
}

bool RunCommandWithWait(const std::u16string& command, std::u16string& response) {
    CommandContext& ctx = commandContext();
    ctx.commandRequest = lowBytes(command);
    ctx.lastResult = 0;
    runnerUi().runWaitDialog(WaitDialogKind::Connection, CommandWorker);
    response = cp1251ToUtf16(ctx.commandResponse);
    return ctx.lastResult == 1;
}

bool RunReportCommand(const std::u16string& command, std::u16string& response,
                      std::u16string& report) {
    CommandContext& ctx = commandContext();
    ctx.commandRequest = lowBytes(command);
    ctx.lastResult = 0;
    readOut = {};
    runnerUi().runWaitDialog(WaitDialogKind::Report, ReportWorker);
    response = cp1251ToUtf16(ctx.commandResponse);
    report = cp1251ToUtf16(ctx.reportText);
    if (readOut.stopped) {
        report += stoppedReadOutNotice(readOut.lines);
    }
    return ctx.lastResult == 1;
}

void ShowReportResult(const std::u16string& response, const std::u16string& report) {
    const std::u16string header(kAnswerOk.begin(), kAnswerOk.end());
    if (response.compare(0, header.size(), header) != 0) {
        const size_t start = std::min(response.size(), header.size());
        linkUi().showMessage(response.substr(start));
        return;
    }
    runnerUi().showReport(report);
}

bool RunAndShowReport(const std::u16string& command) {
    std::u16string response;
    std::u16string report;
    if (!RunReportCommand(command, response, report)) {
        linkUi().showMessage(kCommunicationErrorPrefix + LastErrorText());
        return false;
    }
    ShowReportResult(response, report);
    return true;
}
