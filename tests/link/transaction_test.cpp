#include <gtest/gtest.h>

#include "scripted_port.h"
#include "transaction.h"

namespace {

const std::string kNak(1, 0x15);
const std::string kSyn(1, 0x16);

class TransactionTest : public ::testing::Test {
protected:
    void TearDown() override { CloseComPort(); }

    // Attaches a scripted port and fixes the sequence byte so the test can count advances.
    void script(std::deque<Reply> replies, uint8_t sequence = 0x40) {
        AttachComPort(std::make_unique<ScriptedPort>(clock, std::move(replies), record));
        linkState().sequenceNumber = sequence;
    }

    int transact(const std::string& request = "0") {
        started = clock.now();
        return Transact(request, response, status);
    }

    uint32_t elapsed() const { return const_cast<FakeClock&>(clock).now() - started; }

    FakeClock clock;
    PortRecord record;
    std::string response;
    DeviceStatus status{};
    uint32_t started = 0;
};

const std::string kAnswer =
    makeResponseFrame(0x40, '0', "VIDIZ Z1 0042", {0x80, 0x81, 0x82, 0x83, 0x84, 0x85});

TEST_F(TransactionTest, GoodFrameIsAcceptedAndSplit) {
    script({{{5, kAnswer}}});
    ASSERT_EQ(transact(), kLinkSuccess);
    EXPECT_EQ(response, "VIDIZ Z1 0042");
    EXPECT_EQ(status, (DeviceStatus{0x80, 0x81, 0x82, 0x83, 0x84, 0x85}));
    ASSERT_EQ(record.writes.size(), 1u);
    EXPECT_EQ(record.writes[0], buildRequestFrame("0", 0x40));
    EXPECT_EQ(record.inputPurges, 1);
    EXPECT_EQ(linkState().sequenceNumber, 0x41);
}

TEST_F(TransactionTest, SynEvery300msForTenSecondsThenFrame) {
    Reply reply;
    for (int i = 0; i < 33; ++i) {
        reply.push_back({300, kSyn});
    }
    reply.push_back({300, kAnswer});
    script({reply});
    ASSERT_EQ(transact(), kLinkSuccess);
    EXPECT_GE(elapsed(), 10000u);
    EXPECT_EQ(record.writes.size(), 1u);
    EXPECT_EQ(linkState().sequenceNumber, 0x41);
}

TEST_F(TransactionTest, SynThenSilenceTimesOutFromTheLastSyn) {
    script({{{300, kSyn}, {300, kSyn}}});
    EXPECT_EQ(transact(), kLinkTimeout);
    // 600 ms of SYNs, then the full window after the last one.
    EXPECT_GE(elapsed(), 1000u);
    EXPECT_LE(elapsed(), 1000u + transaction::kIdleWaitMs);
}

TEST_F(TransactionTest, NakNakFrameSucceedsOnTheThirdSend) {
    script({{{5, kNak}}, {{5, kNak}}, {{5, kAnswer}}});
    ASSERT_EQ(transact(), kLinkSuccess);
    ASSERT_EQ(record.writes.size(), 3u);
    // The same frame every time: the sequence byte is not advanced by a resend.
    EXPECT_EQ(record.writes[1], record.writes[0]);
    EXPECT_EQ(record.writes[2], record.writes[0]);
    EXPECT_EQ(record.inputPurges, 3);
    EXPECT_EQ(linkState().sequenceNumber, 0x41);
}

TEST_F(TransactionTest, ThreeNaksGiveCodeFour) {
    script({{{5, kNak}}, {{5, kNak}}, {{5, kNak}}, {{5, kAnswer}}});
    EXPECT_EQ(transact(), kLinkNak);
    EXPECT_EQ(record.writes.size(), 3u);
    EXPECT_EQ(linkState().sequenceNumber, 0x41);
}

TEST_F(TransactionTest, NakInsideAFrameStillCounts) {
    script({{{5, kAnswer.substr(0, 8) + kNak}}, {{5, kAnswer}}});
    ASSERT_EQ(transact(), kLinkSuccess);
    EXPECT_EQ(record.writes.size(), 2u);
}

TEST_F(TransactionTest, SilenceTimesOutWithoutResend) {
    script({});
    EXPECT_EQ(transact(), kLinkTimeout);
    EXPECT_EQ(record.writes.size(), 1u);
    EXPECT_GE(elapsed(), transaction::kResponseTimeoutMs);
    EXPECT_LE(elapsed(), transaction::kResponseTimeoutMs + transaction::kIdleWaitMs);
    EXPECT_EQ(linkState().sequenceNumber, 0x41);
}

TEST_F(TransactionTest, NoiseAndBadFramesAreDroppedWithinTheWindow) {
    std::string badLen = kAnswer;
    badLen[1] = static_cast<char>(badLen[1] + 1);
    script({{{5, "\xFF\xFEnoise"}, {5, badLen}, {50, kAnswer}}});
    ASSERT_EQ(transact(), kLinkSuccess);
    EXPECT_EQ(response, "VIDIZ Z1 0042");

    script({{{5, badLen}}});
    EXPECT_EQ(transact(), kLinkTimeout);
}

TEST_F(TransactionTest, ZeroDataByteArrivesAsTwo) {
    script({{{5, makeResponseFrame(0x40, '1',
                                   std::string("7\0"
                                               "8",
                                               3))}}});
    ASSERT_EQ(transact("17"), kLinkSuccess);
    EXPECT_EQ(response, std::string("7\x02"
                                    "8"));
}

TEST_F(TransactionTest, NoPortGivesCodeTwoAndNoAdvance) {
    CloseComPort();
    linkState().sequenceNumber = 0x55;
    EXPECT_EQ(transact(), kLinkPortClosed);
    EXPECT_EQ(linkState().sequenceNumber, 0x55);
}

TEST_F(TransactionTest, SequenceByteWrapsToTwenty) {
    script({{{5, kAnswer}}, {}}, 0xFF);
    EXPECT_EQ(transact(), kLinkSuccess);
    EXPECT_EQ(linkState().sequenceNumber, 0x20);
    EXPECT_EQ(record.writes[0][2], static_cast<char>(0xFF));
    EXPECT_EQ(nextSequenceNumber(0x20), 0x21);
}

TEST_F(TransactionTest, OpeningSeedsTheSequenceIntoItsRange) {
    for (int i = 0; i < 50; ++i) {
        clock.advance(7);
        script({});
        linkState().sequenceNumber = 0;
        AttachComPort(std::make_unique<ScriptedPort>(clock, std::deque<Reply>{}, record));
        EXPECT_GE(linkState().sequenceNumber, 0x20);
    }
}

// Whatever the device sends, the transaction ends within its window and never reads or
// writes outside its buffers (the sanitizer build checks the latter).
TEST_F(TransactionTest, ArbitraryBytesNeverHang) {
    uint32_t seed = 12345;
    for (int round = 0; round < 200; ++round) {
        std::string junk;
        for (int i = 0; i < 300; ++i) {
            seed = seed * 1103515245 + 12345;
            const auto b = static_cast<char>(seed >> 16);
            junk.push_back(b == 0x16 || b == 0x15 ? 'x' : b);
        }
        script({{{1, junk}}});
        const int result = transact();
        EXPECT_TRUE(result == kLinkSuccess || result == kLinkTimeout);
        EXPECT_LE(elapsed(), transaction::kResponseTimeoutMs + 2 * transaction::kIdleWaitMs);
    }
}

}  // namespace
