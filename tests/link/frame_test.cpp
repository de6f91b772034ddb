#include <gtest/gtest.h>

#include "frame.h"
#include "scripted_port.h"

namespace {

std::string bytes(std::initializer_list<int> list) {
    std::string s;
    for (int b : list) {
        s.push_back(static_cast<char>(b));
    }
    return s;
}

const std::string kGoodFrame = makeResponseFrame(0x21, '1', "Hello, 42");

TEST(RequestFrame, GoldenBytes) {
    EXPECT_EQ(buildRequestFrame("0", 0x20),
              bytes({0x01, 0x24, 0x20, 0x30, 0x05, 0x30, 0x30, 0x37, 0x39, 0x03}));
    // Nibbles 10 to 15 are the characters after '9', never letters.
    EXPECT_EQ(checksumCharacters(0xABCD), (std::array<char, 4>{0x3A, 0x3B, 0x3C, 0x3D}));
    EXPECT_EQ(checksumCharacters(0xF00E), (std::array<char, 4>{0x3F, 0x30, 0x30, 0x3E}));
    // "115" read: LEN counts the three request bytes, SEQ is whatever the link holds.
    const std::string read15 = buildRequestFrame("115", 0xFF);
    ASSERT_EQ(read15.size(), 12u);
    EXPECT_EQ(static_cast<uint8_t>(read15[1]), 0x26);
    EXPECT_EQ(read15.substr(3, 3), "115");
}

TEST(RequestFrame, HighCodeBytesAndSumWrap) {
    const std::string request(220, static_cast<char>(0xFF));
    const std::string f = buildRequestFrame(request, 0xFF);
    ASSERT_EQ(f.size(), 229u);
    EXPECT_EQ(static_cast<uint8_t>(f[1]), 0xFF);
    const uint16_t sum = static_cast<uint16_t>(0xFF + 0xFF + 220 * 0xFF + 0x05);
    const auto chars = checksumCharacters(sum);
    EXPECT_EQ(f.substr(f.size() - 5, 4), std::string(chars.begin(), chars.end()));
}

TEST(ResponseFrame, GoodFrameAcceptedAndSplit) {
    std::string buffer = kGoodFrame;
    ASSERT_TRUE(CheckResponseFrame(buffer));
    EXPECT_EQ(buffer, kGoodFrame);
    EXPECT_EQ(responseData(buffer), "Hello, 42");
    EXPECT_EQ(responseStatus(buffer), (DeviceStatus{0x80, 0x80, 0x80, 0x80, 0x80, 0x80}));
}

TEST(ResponseFrame, EmptyDataFrameOfSeventeenBytes) {
    std::string buffer = makeResponseFrame(0x20, '0', "");
    ASSERT_EQ(buffer.size(), 17u);
    ASSERT_TRUE(CheckResponseFrame(buffer));
    EXPECT_EQ(responseData(buffer), "");
}

// Every truncated prefix is "not yet": nothing accepted, nothing of the frame thrown away
// unless it is before the start byte.
TEST(ResponseFrame, EveryTruncatedPrefixWaits) {
    for (size_t n = 0; n < kGoodFrame.size(); ++n) {
        std::string buffer = kGoodFrame.substr(0, n);
        EXPECT_FALSE(CheckResponseFrame(buffer)) << n;
        EXPECT_EQ(buffer, kGoodFrame.substr(0, n)) << n;
    }
}

// Any single corrupted byte is rejected, and the buffer does not keep a half frame that
// could later be mistaken for a good one.
TEST(ResponseFrame, EveryCorruptedByteIsRejected) {
    for (size_t i = 0; i < kGoodFrame.size(); ++i) {
        for (int delta : {1, 0x40, 0x80}) {
            std::string buffer = kGoodFrame;
            buffer[i] = static_cast<char>(buffer[i] + delta);
            EXPECT_FALSE(CheckResponseFrame(buffer)) << "byte " << i << " + " << delta;
        }
    }
}

TEST(ResponseFrame, NoiseBeforeTheFrameIsDropped) {
    std::string buffer = bytes({0xFF, 0x00, 0x7E, 0x30}) + kGoodFrame;
    ASSERT_TRUE(CheckResponseFrame(buffer));
    EXPECT_EQ(buffer, kGoodFrame);

    std::string onlyNoise(40, 'x');
    EXPECT_FALSE(CheckResponseFrame(onlyNoise));
    EXPECT_TRUE(onlyNoise.empty());

    // Noise that leaves too little after the start byte is kept for more to come.
    std::string shortAfterStart = std::string(20, 'x') + kGoodFrame.substr(0, 10);
    EXPECT_FALSE(CheckResponseFrame(shortAfterStart));
    EXPECT_EQ(shortAfterStart, kGoodFrame.substr(0, 10));
}

TEST(ResponseFrame, BytesAfterTheEndAreCut) {
    std::string buffer = kGoodFrame + "\x16\x01zz";
    ASSERT_TRUE(CheckResponseFrame(buffer));
    EXPECT_EQ(buffer, kGoodFrame);
}

TEST(ResponseFrame, EndByteTooEarlyEmptiesTheBuffer) {
    std::string buffer = bytes({0x01, 0x30, 0x03}) + std::string(20, 'x');
    EXPECT_FALSE(CheckResponseFrame(buffer));
    EXPECT_TRUE(buffer.empty());
}

TEST(ResponseFrame, LenOffByOneIsRejected) {
    for (int delta : {-1, 1}) {
        std::string buffer = kGoodFrame;
        buffer[1] = static_cast<char>(buffer[1] + delta);
        EXPECT_FALSE(CheckResponseFrame(buffer));
        EXPECT_TRUE(buffer.empty());
    }
}

TEST(ResponseFrame, StoredZeroIsSkippedBySum) {
    // The device sent 0x00 inside the data; the host stored it as 0x02.
    std::string received = makeResponseFrame(0x30, '1', std::string("A\0B", 3));
    received[5] = 0x02;
    ASSERT_TRUE(CheckResponseFrame(received));
    EXPECT_EQ(responseData(received), std::string("A\x02"
                                                  "B"));
}

TEST(ResponseFrame, LongestAcceptedFrame) {
    std::string buffer = makeResponseFrame(0x30, '1', std::string(212, 'z'));
    ASSERT_EQ(buffer.size(), 229u);
    EXPECT_TRUE(CheckResponseFrame(buffer));
    // One more data byte cannot be described by the one-byte LEN.
    std::string tooLong = makeResponseFrame(0x30, '1', std::string(213, 'z'));
    EXPECT_FALSE(CheckResponseFrame(tooLong));
}

}  // namespace
