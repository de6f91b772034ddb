// The report read-out against the simulated device on a real pseudo-terminal, as the tool
// meets it through its COM port.
#include <gtest/gtest.h>

#include <unistd.h>
#include <algorithm>
#include <filesystem>

#include "command.h"
#include "cp1251.h"
#include "pty_simulator.h"
#include "runner_test_ui.h"
#include "runners.h"

namespace {

namespace fs = std::filesystem;

// The fiscal-memory report by Z number: with no such records the device answers with an
// error header.
const std::u16string kReportCommand = u"I1,99999999";
const std::u16string kEmptyRangeCommand = u"I99999990,99999999";

class RunnerSimTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("korvex-runners-" + std::to_string(getpid()));
        fs::create_directories(dir);
        setPortsDirectory(dir.string());
        simulator = std::make_unique<sim::PtySimulator>((dir / "COM5").string());
        ASSERT_TRUE(simulator->ok()) << simulator->errorText();
        ASSERT_EQ(OpenComPort(5, 115200), 0);
        // Watch the wire through the real port.
        auto tap = std::make_unique<TapPort>(std::move(linkState().port));
        wire = tap.get();
        AttachComPort(std::move(tap));
    }
    void TearDown() override {
        CloseComPort();
        simulator.reset();
        setPortsDirectory("");
        fs::remove_all(dir);
    }

    // Replaces the report the device hands out just before its first line is asked for,
    // so that lines the device would never make up can be read.
    void replaceReportAtFirstLine(std::vector<std::string> lines) {
        wire->actAt(2, [this, lines] {
            simulator->withDevice([&lines](sim::FiscalDevice& d) { d.setReport(lines); });
        });
    }

    bool runReport(const std::u16string& command = kReportCommand) {
        return RunReportCommand(command, response, report);
    }

    std::vector<std::string> requests() const {
        std::vector<std::string> out;
        for (const std::string& f : wire->writes) {
            out.push_back(f.substr(3, f.size() - frame::kRequestOverhead));
        }
        return out;
    }

    fs::path dir;
    std::unique_ptr<sim::PtySimulator> simulator;
    TapPort* wire = nullptr;
    ThreadedRunnerUi ui;
    std::u16string response;
    std::u16string report;
};

TEST_F(RunnerSimTest, ThreeLinesAreReadUntilE) {
    simulator->setNextReportLines(3);
    ASSERT_TRUE(runReport()) << utf16ToUtf8(LastErrorText());
    const std::vector<std::string> sent = requests();
    ASSERT_EQ(sent.size(), 5u);
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(sent[k + 1], std::string(1, kReportLineCode) + std::to_string(k));
    }
    EXPECT_EQ(std::count(report.begin(), report.end(), u'\n'), 3);
    EXPECT_EQ(report.substr(0, 11), u"Ред 000001 ");
    EXPECT_EQ(response, u"ERROR 000\r\n");
}

TEST_F(RunnerSimTest, LineTextIsEverythingAfterTheDevicesNumber) {
    // The device puts "<number>," in front of each line; commas inside the text stay, and
    // an empty text still makes a line.
    replaceReportAtFirstLine({utf16ToCp1251(u"ИТОГ,10.00"), ",,x", "", "a,b"});
    ASSERT_TRUE(runReport());
    EXPECT_EQ(report, u"ИТОГ,10.00\r\n,,x\r\n\r\na,b\r\n");
    EXPECT_EQ(requests().size(), 6u);
}

TEST_F(RunnerSimTest, ErrorHeaderShowsOnlyTheDescription) {
    ASSERT_TRUE(runReport(kEmptyRangeCommand));
    EXPECT_EQ(requests().size(), 1u);
    EXPECT_TRUE(RunAndShowReport(kEmptyRangeCommand));
    EXPECT_TRUE(ui.reports.empty());
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0], u"Няма записи във ФП в избрания диапазон");
}

TEST_F(RunnerSimTest, HeaderThenEOpensAnEmptyViewer) {
    simulator->setNextReportLines(0);
    EXPECT_TRUE(RunAndShowReport(kReportCommand));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(ui.reports, std::vector<std::u16string>{u""});
    ASSERT_EQ(requests().size(), 2u);
    EXPECT_EQ(requests()[1],
              "\xE4"
              "0");
    // The line command is one byte on the wire: LEN counts the code and one digit.
    EXPECT_EQ(static_cast<uint8_t>(wire->writes[1][1]), 0x20 + 2 + 3);
}

TEST_F(RunnerSimTest, PulledCableKeepsTheLinesReadSoFar) {
    simulator->setNextReportLines(800);
    sim::Fault fault;
    fault.hangUpAfterLines = 500;
    simulator->setFault(0xE4, fault);
    EXPECT_FALSE(RunAndShowReport(kReportCommand));
    EXPECT_EQ(commandContext().lastResult, 0);
    EXPECT_EQ(
        std::count(commandContext().reportText.begin(), commandContext().reportText.end(), '\n'),
        500);
    EXPECT_TRUE(answerHeaderOk(commandContext().commandResponse));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0], kCommunicationErrorPrefix + LastErrorText());
    EXPECT_FALSE(LastErrorText().empty());
    EXPECT_TRUE(ui.reports.empty());
}

}  // namespace
