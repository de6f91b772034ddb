#include <gtest/gtest.h>

#include "command.h"
#include "cp1251.h"
#include "runner_test_ui.h"
#include "runners.h"
#include "scripted_port.h"

namespace {

std::u16string u(const char* utf8) {
    return utf8ToUtf16(utf8);
}

const std::string kOk(kAnswerOk);

Reply answer(const std::string& data, const DeviceStatus& status = kQuietStatus) {
    return {{2, makeResponseFrame(0x20, 0xE4, data, status)}};
}

std::deque<Reply> answers(const std::vector<std::string>& data) {
    std::deque<Reply> replies;
    for (const std::string& d : data) {
        replies.push_back(answer(d));
    }
    return replies;
}

class RunnerTest : public ::testing::Test {
protected:
    void SetUp() override {
        CommandContext& ctx = commandContext();
        ctx.reportText = "left over\r\n";
        ctx.lastErrorText.clear();
        ctx.lastResult = -1;
    }
    void TearDown() override { CloseComPort(); }

    void script(std::deque<Reply> replies) {
        AttachComPort(std::make_unique<ScriptedPort>(clock, std::move(replies), record));
    }

    // The request strings the host sent, taken back out of the recorded frames.
    std::vector<std::string> requests() const {
        std::vector<std::string> out;
        for (const std::string& f : record.writes) {
            out.push_back(f.substr(3, f.size() - frame::kRequestOverhead));
        }
        return out;
    }

    bool runReport(const std::u16string& command = u"\u00C8") {
        return RunReportCommand(command, response, report);
    }

    FakeClock clock;
    PortRecord record;
    ThreadedRunnerUi ui;
    std::u16string response;
    std::u16string report;
};

std::string line(int k) {
    return std::string(1, kReportLineCode) + std::to_string(k);
}

struct ReadOutCase {
    const char* name;
    std::vector<std::string> lineAnswers;  // answers to lines 0, 1, 2, ...
    const char* report;                    // UTF-8
};

const ReadOutCase kReadOutCases[] = {
    {"three lines", {"1,AAA", "2,BBB", "3,CCC", "E"}, "AAA\r\nBBB\r\nCCC\r\n"},
    {"comma first and no comma add nothing", {",skip", "nocomma", "", "7,kept", "E"}, "kept\r\n"},
    {"only the first comma splits", {"12,a,b,,", "E"}, "a,b,,\r\n"},
    {"empty text after the comma is an empty line", {"1,", "E"}, "\r\n"},
    {"no lines", {"E"}, ""},
    {"E only when alone", {"1,E", "EE", "E"}, "E\r\n"},
    {"Windows-1251 text", {"1,\xCE\xF2\xF7\xE5\xF2", "E"}, "Отчет\r\n"},
};

TEST_F(RunnerTest, ReadOutCollectsLinesUntilE) {
    for (const ReadOutCase& c : kReadOutCases) {
        record = {};
        std::deque<Reply> replies = answers(c.lineAnswers);
        replies.push_front(answer(kOk + "details"));
        script(std::move(replies));

        EXPECT_TRUE(runReport()) << c.name;
        EXPECT_EQ(report, u(c.report)) << c.name;
        EXPECT_EQ(response, u"ERROR 000\r\ndetails") << c.name;
        EXPECT_EQ(commandContext().lastResult, 1) << c.name;
        const std::vector<std::string> sent = requests();
        ASSERT_EQ(sent.size(), c.lineAnswers.size() + 1) << c.name;
        EXPECT_EQ(sent[0], "\xC8") << c.name;
        for (size_t k = 0; k < c.lineAnswers.size(); ++k) {
            EXPECT_EQ(sent[k + 1], line(static_cast<int>(k))) << c.name << " line " << k;
        }
    }
    EXPECT_EQ(ui.kinds,
              std::vector<WaitDialogKind>(std::size(kReadOutCases), WaitDialogKind::Report));
}

TEST_F(RunnerTest, LineCodeReachesTheWireAsOneByte) {
    script(answers({kOk, "E"}));
    ASSERT_TRUE(runReport());
    const std::string& frame = record.writes.at(1);
    ASSERT_EQ(frame.size(), frame::kRequestOverhead + 2);
    EXPECT_EQ(static_cast<uint8_t>(frame[1]), 2 + 0x23);  // LEN counts one byte for the code
    EXPECT_EQ(static_cast<uint8_t>(frame[3]), 0xE4);
    EXPECT_EQ(frame[4], '0');
}

TEST_F(RunnerTest, ErrorHeaderStopsBeforeTheReadOutAndLeavesTheReport) {
    script(answers({"ERROR 012\r\n" + utf16ToCp1251(u"Няма данни")}));
    EXPECT_TRUE(runReport());
    EXPECT_EQ(requests().size(), 1u);
    EXPECT_EQ(commandContext().reportText, "left over\r\n");

    ShowReportResult(response, report);
    EXPECT_TRUE(ui.reports.empty());
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0], u"Няма данни");
}

TEST_F(RunnerTest, SuccessHeaderThenEOpensAnEmptyViewer) {
    script(answers({kOk, "E"}));
    ASSERT_TRUE(runReport());
    ShowReportResult(response, report);
    EXPECT_TRUE(ui.messages.empty());
    ASSERT_EQ(ui.reports.size(), 1u);
    EXPECT_EQ(ui.reports[0], u"");
}

struct ShowCase {
    const char* response;
    const char* message;  // nullptr: the viewer opens
};

const ShowCase kShowCases[] = {
    {"ERROR 000\r\n", nullptr},
    {"ERROR 000\r\ntrailing text", nullptr},
    {"ERROR 000\n", ""},  // shorter than the header: an empty message
    {"", ""},
    {"error 000\r\nlower case", "lower case"},
    {"ERROR 001\r\n", ""},
};

TEST_F(RunnerTest, ShowReportResultDecidesByTheWholeHeader) {
    for (const ShowCase& c : kShowCases) {
        ui.messages.clear();
        ui.reports.clear();
        ShowReportResult(u(c.response), u"body");
        if (c.message) {
            ASSERT_EQ(ui.messages.size(), 1u) << c.response;
            EXPECT_EQ(ui.messages[0], u(c.message)) << c.response;
            EXPECT_TRUE(ui.reports.empty()) << c.response;
        } else {
            EXPECT_TRUE(ui.messages.empty()) << c.response;
            EXPECT_EQ(ui.reports, std::vector<std::u16string>{u"body"}) << c.response;
        }
    }
}

TEST_F(RunnerTest, FailedLineKeepsLinesAndRestoresTheFirstAnswer) {
    // Line 2 is never answered: the transaction times out.
    std::deque<Reply> replies = answers({kOk + "first", "1,AAA", "2,BBB"});
    script(std::move(replies));
    EXPECT_FALSE(runReport());
    EXPECT_EQ(commandContext().lastResult, 0);
    EXPECT_EQ(LastErrorText(), u"Timeout");
    EXPECT_EQ(report, u"AAA\r\nBBB\r\n");
    EXPECT_EQ(response, u"ERROR 000\r\nfirst");
    EXPECT_EQ(ui.closeRequests, 1);
}

TEST_F(RunnerTest, StatusFailureOnALineEndsTheReadOut) {
    std::deque<Reply> replies = answers({kOk, "1,AAA"});
    replies.push_back(answer("2,BBB", {0xA2, 0x80, 0x80, 0x80, 0x80, 0x80}));
    replies.push_back(answer("3,CCC"));
    script(std::move(replies));
    EXPECT_FALSE(runReport());
    EXPECT_EQ(report, u"AAA\r\n");
    EXPECT_EQ(requests().size(), 3u);
    EXPECT_EQ(LastErrorText(), u("Error in STATUS:\r\nКода на получената команда е невалиден\r\n"));
}

TEST_F(RunnerTest, FailedFirstCommandReadsNothing) {
    script({});
    EXPECT_FALSE(runReport());
    EXPECT_EQ(requests().size(), 1u);
    EXPECT_EQ(commandContext().reportText, "left over\r\n");
    EXPECT_EQ(LastErrorText(), u"Timeout");
}

TEST_F(RunnerTest, ClosedPortStillClosesTheDialog) {
    CloseComPort();
    EXPECT_FALSE(runReport());
    EXPECT_EQ(LastErrorText(), u"COM Port is closed");
    EXPECT_EQ(ui.closeRequests, 1);
}

struct StopCase {
    const char* name;
    size_t atWrite;      // the stop arrives just before this write (from 1) goes out
    const char* report;  // what the viewer gets, UTF-8
    size_t requestsSent;
};

const StopCase kStopCases[] = {
    // The first command cannot be interrupted, but no line is asked for after it.
    {"during the first command", 1,
     "*** НЕПЪЛЕН ОТЧЕТ ***\r\n*** Прочитането е спряно след 0 реда ***\r\n", 1},
    // Line 1 is finished, line 2 never asked.
    {"during line 1", 3,
     "AAA\r\nBBB\r\n*** НЕПЪЛЕН ОТЧЕТ ***\r\n*** Прочитането е спряно след 2 реда ***\r\n", 3},
    // The device has already said "E": the report is whole and says nothing of a stop
    // (this case follows a stopped one, so nothing may be left over from it).
    {"during the last request", 5, "AAA\r\nBBB\r\nCCC\r\n", 5},
};

TEST_F(RunnerTest, StopEndsTheReadOutBetweenLinesAndMarksTheReportIncomplete) {
    for (const StopCase& c : kStopCases) {
        record = {};
        auto inner = std::make_unique<ScriptedPort>(
            clock, answers({kOk, "1,AAA", "2,BBB", "3,CCC", "E"}), record);
        auto tap = std::make_unique<TapPort>(std::move(inner));
        TapPort* watched = tap.get();
        AttachComPort(std::move(tap));
        ui.onDialog = [watched, &c](ThreadedRunnerUi::Dialog& dialog) {
            watched->actAt(c.atWrite, [&dialog] { dialog.requestStop(); });
        };
        EXPECT_TRUE(runReport()) << c.name;
        EXPECT_EQ(report, u(c.report)) << c.name;
        EXPECT_EQ(requests().size(), c.requestsSent) << c.name;
        EXPECT_EQ(response, u"ERROR 000\r\n") << c.name;
        // The device's own text stays as it was sent; only the viewer's copy is marked.
        EXPECT_EQ(commandContext().reportText.find("***"), std::string::npos) << c.name;
        EXPECT_EQ(lastReadOut().stopped, c.atWrite < 5) << c.name;
    }
}

TEST(StoppedReadOutNotice, CountsLinesInBulgarian) {
    const std::pair<size_t, const char*> cases[] = {
        {0, "0 реда"},  {1, "1 ред"},      {2, "2 реда"},     {11, "11 реда"},
        {21, "21 ред"}, {111, "111 реда"}, {500, "500 реда"}, {1001, "1001 ред"},
    };
    for (const auto& [lines, counted] : cases) {
        EXPECT_EQ(stoppedReadOutNotice(lines),
                  u("*** НЕПЪЛЕН ОТЧЕТ ***\r\n*** Прочитането е спряно след ") + u(counted) +
                      u(" ***\r\n"))
            << lines;
    }
}

TEST_F(RunnerTest, CommandWithWaitRunsOnTheConnectionDialog) {
    script(answers({"ERROR 000\r\nOK"}));
    std::u16string answerText;
    EXPECT_TRUE(RunCommandWithWait(u"3", answerText));
    EXPECT_EQ(answerText, u"ERROR 000\r\nOK");
    EXPECT_EQ(ui.kinds, std::vector<WaitDialogKind>{WaitDialogKind::Connection});
    EXPECT_EQ(requests(), std::vector<std::string>{"3"});
    EXPECT_EQ(commandContext().reportText, "left over\r\n");
}

TEST_F(RunnerTest, CommandWithWaitReportsTheFailure) {
    script({answer("x", {0x80, 0x80, 0x80, 0x80, 0xA1, 0x80})});
    std::u16string answerText;
    EXPECT_FALSE(RunCommandWithWait(u"4", answerText));
    EXPECT_EQ(commandContext().lastResult, 0);
    EXPECT_EQ(LastErrorText(),
              u("Error in STATUS:\r\nИма грешка при запис във фискалната памет\r\n"));
    EXPECT_EQ(ui.closeRequests, 1);
}

TEST(RunnerWithoutUi, WorkersRunOnTheCallingThread) {
    FakeClock clock;
    PortRecord record;
    AttachComPort(std::make_unique<ScriptedPort>(clock, answers({kOk, "1,A", "E"}), record));
    std::u16string response;
    std::u16string report;
    EXPECT_TRUE(RunReportCommand(u"\u00C9", response, report));
    EXPECT_EQ(report, u"A\r\n");
    CloseComPort();
}

}  // namespace
