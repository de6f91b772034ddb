// The POSIX port against real pseudo-terminals: the line discipline is the kernel's, so a
// port that is not really raw shows up here as changed bytes.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>
#include <chrono>
#include <filesystem>

#include "serial_port.h"

namespace fs = std::filesystem;

namespace {

class Pty {
public:
    Pty() {
        master = posix_openpt(O_RDWR | O_NOCTTY);
        grantpt(master);
        unlockpt(master);
        slavePath = ptsname(master);
    }
    ~Pty() { close(master); }

    std::string readAll(size_t expected) {
        std::string out;
        while (out.size() < expected) {
            pollfd p{master, POLLIN, 0};
            if (poll(&p, 1, 1000) <= 0) {
                break;
            }
            char buf[256];
            const ssize_t n = read(master, buf, sizeof buf);
            if (n <= 0) {
                break;
            }
            out.append(buf, static_cast<size_t>(n));
        }
        return out;
    }

    int master = -1;
    std::string slavePath;
};

class SerialPtyTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("korvex-ports-" + std::to_string(getpid()));
        fs::create_directories(dir);
        setPortsDirectory(dir.string());
    }
    void TearDown() override {
        CloseComPort();
        setPortsDirectory("");
        fs::remove_all(dir);
    }

    void link(int com, const std::string& target) {
        fs::create_symlink(target, dir / ("COM" + std::to_string(com)));
    }

    fs::path dir;
};

const std::string kAwkwardBytes("\x0D\x0A\x11\x13\x00\x7F\xFF\x03\x1A\x04\x15\x16", 12);

TEST_F(SerialPtyTest, RawBytesCrossUnchangedBothWays) {
    Pty pty;
    link(4, pty.slavePath);
    ASSERT_EQ(OpenComPort(4, 115200), 0);
    SerialPort& port = *linkState().port;

    port.write(reinterpret_cast<const uint8_t*>(kAwkwardBytes.data()), kAwkwardBytes.size());
    EXPECT_EQ(pty.readAll(kAwkwardBytes.size()), kAwkwardBytes);

    ASSERT_EQ(write(pty.master, kAwkwardBytes.data(), kAwkwardBytes.size()),
              static_cast<ssize_t>(kAwkwardBytes.size()));
    std::string got;
    for (int i = 0; i < 100 && got.size() < kAwkwardBytes.size(); ++i) {
        port.waitReadable(10);
        uint8_t buf[64];
        got.append(reinterpret_cast<char*>(buf), port.read(buf, sizeof buf));
    }
    EXPECT_EQ(got, kAwkwardBytes);
}

TEST_F(SerialPtyTest, ReadWithNothingReturnsAtOnce) {
    Pty pty;
    link(2, pty.slavePath);
    ASSERT_EQ(OpenComPort(2, 115200), 0);
    uint8_t buf[16];
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(linkState().port->read(buf, sizeof buf), 0u);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(50));
}

TEST_F(SerialPtyTest, OpenCloseReopenAndExclusiveAccess) {
    Pty pty;
    link(7, pty.slavePath);
    ASSERT_EQ(OpenComPort(7, 115200), 0);
    EXPECT_TRUE(IsPortOpen());
    // A second opener is refused while we hold the port.
    const PortOpenResult second = os::openSerialDevice(comDevicePath(7), 115200);
    EXPECT_EQ(second.port, nullptr);
    EXPECT_EQ(second.error, PortOpenError::Busy);
    // Opening the same port again closes the first handle before the new open.
    EXPECT_EQ(OpenComPort(7, 115200), 0);
    CloseComPort();
    EXPECT_FALSE(IsPortOpen());
    CloseComPort();
    EXPECT_EQ(OpenComPort(7, 115200), 0);
    const uint8_t seeded = linkState().sequenceNumber;
    EXPECT_GE(seeded, 0x20);
}

TEST_F(SerialPtyTest, FailedOpenLeavesNoPortOpen) {
    Pty pty;
    link(1, pty.slavePath);
    link(3, (dir / "nothing-here").string());
    ASSERT_EQ(OpenComPort(1, 115200), 0);
    EXPECT_EQ(OpenComPort(3, 115200), 1);
    EXPECT_FALSE(IsPortOpen());
    // A regular file is no serial line.
    const fs::path plain = dir / "plain";
    {
        FILE* f = fopen(plain.c_str(), "w");
        fclose(f);
    }
    link(9, plain.string());
    EXPECT_EQ(OpenComPort(9, 115200), 1);
    EXPECT_EQ(OpenComPort(1, 12345), 1);
}

TEST_F(SerialPtyTest, ListingAndProbingSeeLinkedPorts) {
    Pty a, b;
    link(12, a.slavePath);
    link(5, b.slavePath);
    std::vector<uint32_t> numbers;
    std::vector<std::u16string> names;
    ASSERT_TRUE(EnumerateComPorts(numbers, names));
    ASSERT_EQ(numbers.size(), names.size());
    ASSERT_GE(numbers.size(), 2u);
    // Linked ports come first, by number, named by their target.
    EXPECT_EQ(numbers[0], 5u);
    EXPECT_EQ(numbers[1], 12u);
    EXPECT_EQ(std::string(names[1].begin(), names[1].end()), a.slavePath);

    // A port another program holds is still present when probing.
    ASSERT_EQ(OpenComPort(12, 115200), 0);
    ASSERT_TRUE(ProbeComPorts(numbers, names));
    EXPECT_NE(std::find(numbers.begin(), numbers.end(), 12u), numbers.end());
    EXPECT_NE(std::find(numbers.begin(), numbers.end(), 5u), numbers.end());
    EXPECT_EQ(numbers.size(), names.size());
    EXPECT_TRUE(IsPortOpen());
}

TEST_F(SerialPtyTest, ComNumberToDeviceNode) {
    struct Case {
        int com;
        const char* path;
    };
    const Case cases[] = {{1, "/dev/ttyS0"},
                          {32, "/dev/ttyS31"},
                          {33, "/dev/ttyUSB0"},
                          {64, "/dev/ttyUSB31"},
                          {65, "/dev/ttyACM0"},
                          {96, "/dev/ttyACM31"},
                          {97, ""},
                          {0, ""},
                          {-3, ""}};
    for (const Case& c : cases) {
        EXPECT_EQ(comDevicePath(c.com), c.path) << c.com;
    }
    link(33, "/dev/null");
    EXPECT_EQ(comDevicePath(33), (dir / "COM33").string());
    link(200, "/dev/null");
    EXPECT_EQ(comDevicePath(200), (dir / "COM200").string());
}

}  // namespace
