// The link library against the simulator over a real pseudo-terminal: what the tool sees
// when it talks to the device through its COM port.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>
#include <chrono>
#include <filesystem>
#include <thread>

#include "command.h"
#include "cp1251.h"
#include "frame.h"
#include "parameters.h"
#include "pty_simulator.h"
#include "serial_port.h"
#include "sim_test_support.h"
#include "transaction.h"

namespace sim {
namespace {

namespace fs = std::filesystem;

class PtyTest : public testing::PortsFolderTest {
protected:
    PtyTest() : PortsFolderTest("zovuz-sim-ports") {}
    void SetUp() override {
        PortsFolderTest::SetUp();
        PtySimulatorOptions options;
        options.state = defaultDeviceState(testing::historyEnd());
        options.device = testing::fixedClock();
        options.device.napWorkMs = 700;
        simulator = std::make_unique<PtySimulator>((dir / "COM3").string(), std::move(options));
        ASSERT_TRUE(simulator->ok()) << simulator->errorText();
        ASSERT_EQ(OpenComPort(3, 115200), 0);
    }
    void TearDown() override {
        CloseComPort();
        simulator.reset();
        PortsFolderTest::TearDown();
    }

    std::unique_ptr<PtySimulator> simulator;
};

// Holds every parameter as text, as the device pages do.
class AllParameters : public IParameters {
public:
    void SetParameter(int number, std::u16string value) override { values[number] = value; }
    std::u16string GetParameter(int number) override { return values[number]; }
    std::u16string values[kParameterCount + 1];
};

TEST_F(PtyTest, LinkAndTerminalExistWhileServing) {
    EXPECT_EQ(fs::read_symlink(simulator->linkPath()).string(), simulator->ptyPath());
    const std::string link = simulator->linkPath();
    CloseComPort();
    simulator.reset();
    EXPECT_FALSE(fs::is_symlink(link));
}

// The simulator leaves the line settings to the host, so a host that fails to set raw
// mode meets the terminal's cooked defaults, as it would meet a misconfigured port.
TEST_F(PtyTest, TerminalKeepsItsDefaultLineSettings) {
    PtySimulator second((dir / "COM4").string());
    ASSERT_TRUE(second.ok());
    const int fd = open((dir / "COM4").c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(fd, 0);
    termios tio{};
    ASSERT_EQ(tcgetattr(fd, &tio), 0);
    EXPECT_TRUE(tio.c_lflag & ICANON);
    EXPECT_TRUE(tio.c_lflag & ECHO);
    close(fd);
}

TEST_F(PtyTest, DetectionAndVersion) {
    ASSERT_TRUE(run("0"));
    EXPECT_EQ(commandContext().commandResponse.substr(0, 5), "VIDIZ");
    std::u16string version;
    EXPECT_TRUE(RunCommand(u"\u00FE", version));
    EXPECT_FALSE(version.empty());
    simulator->setIdentification("VIDI");
    ASSERT_TRUE(run("0"));
    EXPECT_EQ(commandContext().commandResponse, "VIDI");
}

// What autodetection meets on a bench of ports: a silent one, a foreign device, ours.
TEST_F(PtyTest, SeveralPortsEachWithItsOwnBehaviour) {
    PtySimulator quiet((dir / "COM1").string());
    quiet.setFault(kAnyCommand, silentFault());
    PtySimulator foreign((dir / "COM2").string());
    foreign.setIdentification("VIDI");
    ASSERT_EQ(OpenComPort(1, 115200), 0);
    EXPECT_FALSE(run("0"));
    EXPECT_EQ(LastErrorText(), u"Timeout");
    ASSERT_EQ(OpenComPort(2, 115200), 0);
    ASSERT_TRUE(run("0"));
    EXPECT_EQ(commandContext().commandResponse, "VIDI");
    ASSERT_EQ(OpenComPort(3, 115200), 0);
    ASSERT_TRUE(run("0"));
    EXPECT_EQ(commandContext().commandResponse.substr(0, 5), "VIDIZ");
    EXPECT_EQ(quiet.requestsServed(), 0u);
}

TEST_F(PtyTest, AllParametersReadAndWrittenBackWithCyrillicIntact) {
    std::vector<int> numbers;
    for (int n = 1; n <= kParameterCount; ++n) {
        numbers.push_back(n);
    }
    AllParameters page;
    ASSERT_TRUE(ReadParameters(numbers, page)) << utf16ToUtf8(LastErrorText());
    EXPECT_EQ(page.values[2], u"Вендинг Системи ЕООД");
    EXPECT_EQ(page.values[34], u"София");
    page.values[38] = u"ул. „Шипка“ № 5";
    page.values[23] = u"+359888123456";
    std::vector<int> writable;
    for (int n : numbers) {
        if (n != 11 && n != 12 && n != 13 && (n < 16 || n > 18) && (n < 48 || n > 50)) {
            writable.push_back(n);
        }
    }
    ASSERT_TRUE(WriteParameters(page, writable)) << utf16ToUtf8(LastErrorText());
    AllParameters again;
    ASSERT_TRUE(ReadParameters(numbers, again));
    for (int n : writable) {
        if (n != 10) {  // the clock has run on
            EXPECT_EQ(again.values[n], page.values[n]) << n;
        }
    }
    EXPECT_EQ(simulator->deviceState().parameters[38], cp("ул. „Шипка“ № 5"));
}

TEST_F(PtyTest, StatusErrorsReachTheUserAsText) {
    EXPECT_FALSE(
        run("2"
            "11,X"));
    EXPECT_EQ(LastErrorText(),
              u"Error in STATUS:\r\n"
              u"Изпълнението на командата не е позволено в текущия фискален "
              u"режим\r\n");
    EXPECT_FALSE(run("Z"));
    EXPECT_EQ(LastErrorText(), u"Error in STATUS:\r\nКода на получената команда е невалиден\r\n");
    EXPECT_FALSE(
        run("1"
            "99"));
    EXPECT_EQ(LastErrorText(), u"Error in STATUS:\r\nПолучените данни имат синтактична грешка\r\n");
}

TEST_F(PtyTest, NakSynAndTimeoutThroughThePort) {
    simulator->setFault('0', nakFault(2));
    EXPECT_TRUE(run("0"));
    simulator->setFault('0', nakFault(3));
    const uint8_t seq = linkState().sequenceNumber;
    EXPECT_FALSE(run("0"));
    EXPECT_EQ(LastErrorText(), u"Received NAK from Fiscal Printer");
    EXPECT_EQ(linkState().sequenceNumber, nextSequenceNumber(seq));

    simulator->setFault('0', synFault(300, 1200));
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(run("0"));  // longer than the 400 ms window, kept open by SYN
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1100));

    Fault silent;
    silent.silent = true;
    silent.times = 1;
    simulator->setFault('0', silent);
    EXPECT_FALSE(run("0"));
    EXPECT_EQ(LastErrorText(), u"Timeout");
    simulator->clearFaults();
    EXPECT_TRUE(run("0"));
}

TEST_F(PtyTest, SpoiledFramesTimeOutAndZeroBytesArriveAsTwo) {
    Fault len;
    len.lenOffset = 1;
    len.times = 1;
    simulator->setFault('0', len);
    EXPECT_FALSE(run("0"));
    EXPECT_EQ(LastErrorText(), u"Timeout");
    Fault zeros;
    zeros.zeroBytes = 1;
    zeros.noiseBytes = 3;
    zeros.times = 1;
    simulator->setFault('0', zeros);
    ASSERT_TRUE(run("0"));
    EXPECT_NE(commandContext().commandResponse.find('\x02'), std::string::npos);
}

// A paced line never delivers faster than its baud rate allows, both ways together.
TEST_F(PtyTest, PacedLineTakesAtLeastTheWireTime) {
    simulator->setBaud(9600);
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(
        run("1"
            "2"));
    const auto elapsed = std::chrono::steady_clock::now() - start;
    const size_t bytes = 2 + frame::kRequestOverhead + commandContext().commandResponse.size() +
                         frame::kResponseOverhead;
    EXPECT_GE(elapsed, std::chrono::microseconds(bytes * 10'000'000 / 9600));
    simulator->setBaud(0);
}

// The device acts on a request only once its last byte could have arrived.
TEST_F(PtyTest, PacedDeviceActsOnlyWhenTheRequestHasArrived) {
    simulator->setBaud(2400);
    const std::string value(60, 'x');
    const std::string request = buildRequestFrame("230," + value, 0x20);
    const auto wireTime = std::chrono::microseconds(request.size() * 10'000'000 / 2400);
    const auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(
        linkState().port->write(reinterpret_cast<const uint8_t*>(request.data()), request.size()),
        request.size());
    std::this_thread::sleep_for(wireTime / 3);
    EXPECT_NE(simulator->deviceState().parameters[30], value);
    while (simulator->deviceState().parameters[30] != value &&
           std::chrono::steady_clock::now() - start < std::chrono::seconds(3)) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_EQ(simulator->deviceState().parameters[30], value);
    EXPECT_GE(std::chrono::steady_clock::now() - start, wireTime);
    simulator->setBaud(0);
}

TEST_F(PtyTest, ServerOperationKeepsTheHostWaitingWithSyn) {
    simulator->withDevice([](FiscalDevice& d) { d.mutableState().registered = false; });
    ASSERT_TRUE(run("3"));
    EXPECT_EQ(commandContext().commandResponse, "ERROR 000\r\n");
    EXPECT_TRUE(simulator->deviceState().registered);
    ASSERT_TRUE(
        run("4"
            "1"));
    ASSERT_TRUE(
        run("4"
            "1"));
    EXPECT_EQ(commandContext().commandResponse.substr(0, 11), "ERROR 031\r\n");
}

TEST_F(PtyTest, ThousandLineReportReadLineByLine) {
    simulator->setNextReportLines(1000);
    ASSERT_TRUE(
        run("\xC9"
            "65,1,2"));
    ASSERT_EQ(commandContext().commandResponse, "ERROR 000\r\n");
    int lines = 0;
    for (int k = 0;; ++k) {
        ASSERT_TRUE(run("\xE4" + std::to_string(k))) << k << utf16ToUtf8(LastErrorText());
        const std::string& answer = commandContext().commandResponse;
        if (answer == "E") {
            break;
        }
        ASSERT_EQ(answer.substr(0, answer.find(',')), std::to_string(k + 1));
        ++lines;
    }
    EXPECT_EQ(lines, 1000);
}

TEST_F(PtyTest, CablePulledMidReportThenPluggedBackIn) {
    simulator->setFault(0xE4, hangUpFault(5));
    ASSERT_TRUE(run("9"));
    for (int k = 0; k < 5; ++k) {
        ASSERT_TRUE(run("\xE4" + std::to_string(k)));
    }
    EXPECT_FALSE(
        run("\xE4"
            "5"));
    EXPECT_EQ(LastErrorText(), u"Timeout");
    simulator->clearFaults();
    EXPECT_EQ(fs::read_symlink(simulator->linkPath()).string(), simulator->ptyPath());
    ASSERT_EQ(OpenComPort(3, 115200), 0);
    ASSERT_TRUE(
        run("\xE4"
            "5"));
    EXPECT_EQ(commandContext().commandResponse.substr(0, 2), "6,");
}

TEST_F(PtyTest, HostClosesAndReopensThePort) {
    for (int i = 0; i < 3; ++i) {
        CloseComPort();
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        ASSERT_EQ(OpenComPort(3, 115200), 0);
        EXPECT_TRUE(run("0")) << i;
    }
    EXPECT_GE(simulator->requestsServed(), 3u);
}

}  // namespace
}  // namespace sim
