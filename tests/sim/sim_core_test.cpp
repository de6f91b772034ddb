// The device's side of the frame protocol: what it accepts, what it rejects, and each
// fault it can be told to commit.
#include <gtest/gtest.h>

#include <algorithm>

#include "sim_core.h"
#include "sim_test_support.h"

namespace sim {
namespace {

using testing::defaultDevice;

// Everything the steps write, in order, ignoring waits.
std::string written(const std::vector<ReplyStep>& steps) {
    std::string out;
    for (const ReplyStep& s : steps) {
        if (s.kind == ReplyStep::Kind::Write) {
            out += s.bytes;
        }
    }
    return out;
}

uint32_t waited(const std::vector<ReplyStep>& steps) {
    uint32_t total = 0;
    for (const ReplyStep& s : steps) {
        total += s.kind == ReplyStep::Kind::Wait ? s.waitMs : 0;
    }
    return total;
}

// The host's view: a received 0x00 is stored as 0x02 before the frame check.
std::string asHostStores(std::string bytes) {
    for (char& c : bytes) {
        if (c == 0) {
            c = frame::kStoredZero;
        }
    }
    return bytes;
}

class CoreTest : public ::testing::Test {
protected:
    std::vector<ReplyStep> send(std::string_view req, uint8_t seq = 0x20, uint64_t at = 1000) {
        return core.receive(buildRequestFrame(req, seq), at);
    }

    FiscalDevice device = defaultDevice();
    SimulatorCore core{device};
};

TEST_F(CoreTest, DetectionAnswerIsAFrameTheHostAccepts) {
    std::string reply = written(send("0", 0x41));
    ASSERT_TRUE(CheckResponseFrame(reply));
    EXPECT_EQ(reply[2], '\x41');  // SEQ echoed
    EXPECT_EQ(reply[3], '0');     // code echoed
    EXPECT_EQ(responseData(reply).substr(0, 5), "VIDIZ");
    for (uint8_t s : responseStatus(reply)) {
        EXPECT_EQ(s & 0x80, 0x80);
    }
}

TEST_F(CoreTest, EmptyAnswerIsSeventeenBytes) {
    std::string reply =
        written(send("2"
                     "24,4321"));
    EXPECT_EQ(reply.size(), frame::kResponseOverhead);
    EXPECT_TRUE(CheckResponseFrame(reply));
}

TEST_F(CoreTest, BadFramesAreRefusedWithOneNak) {
    const std::string good = buildRequestFrame("0", 0x20);
    struct Case {
        const char* name;
        std::string bytes;
    };
    std::string badSum = good, badEnd = good, badSeparator = good;
    badSum[5] ^= 1;
    badEnd.back() = '\x04';
    badSeparator[4] = '\x06';
    const Case cases[] = {
        {"check sum", badSum},
        {"end byte", badEnd},
        {"end of data", badSeparator},
        {"LEN below the smallest request", std::string("\x01\x23\x20\x05\x30\x30\x36\x38\x03", 9)},
    };
    for (const Case& c : cases) {
        FiscalDevice d = defaultDevice();
        SimulatorCore fresh(d);
        const std::string out = written(fresh.receive(c.bytes, 0));
        EXPECT_EQ(out.substr(0, 1), "\x15") << c.name;
        EXPECT_EQ(out.find('\x01'), std::string::npos) << c.name;
    }
}

TEST_F(CoreTest, FrameSplitAcrossReadsAndNoiseBeforeIt) {
    const std::string f = "\xFF\x7F" + buildRequestFrame("0", 0x22);
    EXPECT_TRUE(core.receive(f.substr(0, 4), 0).empty());
    std::string reply = written(core.receive(f.substr(4), 10));
    EXPECT_TRUE(CheckResponseFrame(reply));
}

TEST_F(CoreTest, UnfinishedFrameIsForgottenAfterAPause) {
    const std::string f = buildRequestFrame("0", 0x22);
    EXPECT_TRUE(core.receive(f.substr(0, 5), 0).empty());
    std::string reply = written(core.receive(f, 2000));
    EXPECT_TRUE(CheckResponseFrame(reply));
}

TEST_F(CoreTest, TwoRequestsInOneReadGetTwoAnswers) {
    const std::string both = buildRequestFrame("0", 0x20) + buildRequestFrame("12", 0x21);
    const std::string out = written(core.receive(both, 0));
    EXPECT_EQ(std::count(out.begin(), out.end(), '\x03'), 2);
}

TEST_F(CoreTest, NakCountsSendsOfOneRequest) {
    Fault f;
    f.nakCount = 2;
    core.faults().set('0', f);
    EXPECT_EQ(written(send("0", 0x30)), "\x15");
    EXPECT_EQ(written(send("0", 0x30)), "\x15");
    std::string third = written(send("0", 0x30));
    EXPECT_TRUE(CheckResponseFrame(third));
    // A new request (new SEQ) is rejected afresh; other codes are untouched.
    EXPECT_EQ(written(send("0", 0x31)), "\x15");
    std::string other = written(send("12", 0x32));
    EXPECT_TRUE(CheckResponseFrame(other));
}

TEST_F(CoreTest, FaultTimesRunOut) {
    Fault f;
    f.silent = true;
    f.times = 2;
    core.faults().set(kAnyCommand, f);
    EXPECT_TRUE(send("0", 0x20).empty());
    EXPECT_TRUE(send("0", 0x21).empty());
    EXPECT_FALSE(send("0", 0x22).empty());
    EXPECT_TRUE(core.faults().empty());
}

TEST_F(CoreTest, CodeSpecificFaultWinsOverCatchAll) {
    Fault silent;
    silent.silent = true;
    core.faults().set(kAnyCommand, silent);
    core.faults().set('0', Fault{});
    EXPECT_FALSE(send("0").empty());
    EXPECT_TRUE(send("12", 0x21).empty());
}

TEST_F(CoreTest, FramesSpoiledOnPurposeAreRejectedByTheHost) {
    struct Case {
        const char* name;
        Fault fault;
    };
    Fault sum, len;
    sum.badChecksum = true;
    len.lenOffset = 1;
    for (const Case& c : {Case{"check sum", sum}, Case{"LEN", len}}) {
        core.faults().set('0', c.fault);
        std::string reply = written(send("0"));
        EXPECT_FALSE(CheckResponseFrame(reply)) << c.name;
        EXPECT_TRUE(reply.empty()) << c.name;  // the host empties its buffer
    }
}

TEST_F(CoreTest, NoiseAndZeroBytesStillMakeAnAcceptableFrame) {
    struct Case {
        const char* request;
        int noise;
        int zeros;
        int zerosKept;  // zeros the host finds in the data; -1: some, in a full frame
    };
    const Case cases[] = {
        {"0", 5, 2, 2},
        {"0", 0, 1, 1},
        {"6", 3, 0, 0},
        // A long answer with many zeros is cut to the largest data a frame can carry.
        {"6", 0, 200, -1},
    };
    for (const Case& c : cases) {
        Fault f;
        f.noiseBytes = c.noise;
        f.zeroBytes = c.zeros;
        core.faults().set(kAnyCommand, f);
        const std::string raw = written(send(c.request));
        EXPECT_EQ(raw.find('\x01'), static_cast<size_t>(c.noise)) << c.request << c.zeros;
        std::string stored = asHostStores(raw);
        ASSERT_TRUE(CheckResponseFrame(stored)) << c.request << c.zeros;
        const std::string data = responseData(stored);
        const auto zeros = static_cast<int>(std::count(data.begin(), data.end(), '\x02'));
        if (c.zerosKept < 0) {
            EXPECT_EQ(data.size(), 212u);
            EXPECT_GT(zeros, 0);
        } else {
            EXPECT_EQ(zeros, c.zerosKept) << c.request << c.zeros;
        }
    }
}

TEST_F(CoreTest, StatusBytesGivenOnPurpose) {
    const DeviceStatus status{0xA2, 0x80, 0x80, 0x80, 0x80, 0x80};
    core.faults().set('0', statusFault(status));
    std::string reply = written(send("0"));
    ASSERT_TRUE(CheckResponseFrame(reply));
    EXPECT_EQ(responseStatus(reply), status);
}

TEST_F(CoreTest, SynBeforeTheAnswer) {
    Fault f;
    f.synEveryMs = 300;
    f.synForMs = 1000;
    core.faults().set('0', f);
    const auto steps = send("0");
    const std::string out = written(steps);
    EXPECT_EQ(waited(steps), 1000u);
    EXPECT_EQ(out.substr(0, 4), "\x16\x16\x16\x16");
    EXPECT_EQ(out[4], '\x01');
}

TEST_F(CoreTest, ServerOperationSendsSynWhileConnecting) {
    device.options().napWorkMs = 2000;
    device.mutableState().registered = false;
    const auto steps = send("3");
    EXPECT_EQ(waited(steps), 2000u);
    for (const ReplyStep& s : steps) {
        if (s.kind == ReplyStep::Kind::Wait) {
            EXPECT_GE(s.waitMs, 1u);
            EXPECT_LE(s.waitMs, 300u);
        }
    }
}

TEST_F(CoreTest, HangUpOnlyFromTheGivenReportLine) {
    Fault f;
    f.hangUpAfterLines = 3;
    core.faults().set(0xE4, f);
    send(
        "\xC9"
        "65,1,5");
    EXPECT_EQ(send("\xE4"
                   "2",
                   0x21)
                  .back()
                  .kind,
              ReplyStep::Kind::Write);
    EXPECT_EQ(send("\xE4"
                   "3",
                   0x22)
                  .back()
                  .kind,
              ReplyStep::Kind::HangUp);
}

TEST_F(CoreTest, LogHasOneLinePerRequestAndAnswer) {
    std::vector<std::string> lines;
    core.setLog([&](const std::string& l) { lines.push_back(l); });
    send(
        "1"
        "2");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_NE(lines[0].find("SEQ 20 CMD 31 [32] \"2\""), std::string::npos);
    EXPECT_NE(lines[1].find("Вендинг Системи ЕООД"), std::string::npos);
    EXPECT_NE(lines[1].find("STATUS 80 80 80 80 80 80"), std::string::npos);
}

}  // namespace
}  // namespace sim

namespace sim {
namespace {

// Whatever arrives, the device answers only with NAK, SYN or a frame the host accepts,
// and never lets its data look like framing.
TEST(CoreRobustness, RandomRequestsAndGarbage) {
    FiscalDevice device = testing::defaultDevice();
    SimulatorCore core(device);
    uint32_t seed = 12345;
    auto next = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) & 0xFF;
    };
    const std::string codes = "0123456789:;EO^_I\xC8\xC9\xE4\xFE\xFF";
    uint64_t now = 0;
    for (int i = 0; i < 3000; ++i) {
        std::string request(1, codes[next() % codes.size()]);
        for (uint32_t n = next() % 24; n > 0; --n) {
            request += static_cast<char>(i % 3 == 0 ? next() : "0123456789,.- :"[next() % 15]);
        }
        std::string bytes = buildRequestFrame(request, static_cast<uint8_t>(0x20 + i % 200));
        if (i % 5 == 0) {
            bytes[next() % bytes.size()] = static_cast<char>(next());  // line damage
        }
        now += 1000;
        for (const ReplyStep& step : core.receive(bytes, now)) {
            if (step.kind != ReplyStep::Kind::Write || step.bytes.size() == 1) {
                EXPECT_TRUE(step.kind != ReplyStep::Kind::Write || step.bytes == "\x15" ||
                            step.bytes == "\x16");
                continue;
            }
            std::string reply = step.bytes;
            ASSERT_TRUE(CheckResponseFrame(reply)) << i;
            for (char c : responseData(reply)) {
                const auto b = static_cast<uint8_t>(c);
                ASSERT_FALSE((b >= 0x01 && b <= 0x06) || b == 0x15 || b == 0x16) << i;
            }
        }
    }
}

}  // namespace
}  // namespace sim
