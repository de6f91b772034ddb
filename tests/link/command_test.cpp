#include <gtest/gtest.h>

#include "command.h"
#include "cp1251.h"
#include "scripted_port.h"

namespace {

std::u16string u(const char* utf8) {
    return utf8ToUtf16(utf8);
}

struct StatusCase {
    const char* name;
    DeviceStatus status;
    bool fails;
    const char* text;  // UTF-8
};

const StatusCase kStatusCases[] = {
    {"invalid code", {0x22, 0, 0, 0, 0, 0}, true, "Кода на получената команда е невалиден\r\n"},
    {"fiscal memory write",
     {0, 0, 0, 0, 0x21, 0},
     true,
     "Има грешка при запис във фискалната памет\r\n"},
    {"S4 bit 5 alone", {0, 0, 0, 0, 0x20, 0}, true, ""},
    {"detail bits without bit 5",
     {0x02, 0, 0, 0, 0x00, 0},
     false,
     "Кода на получената команда е невалиден\r\n"},
    {"table order, not byte order",
     {0x20 | 0x01 | 0x10, 0x02, 0x01, 0xFF, 0x10, 0x01},
     true,
     "В механизма на печатащото устройство има неизправност\r\n"
     "Получените данни имат синтактична грешка\r\n"
     "Изпълнението на командата не е позволено в текущия фискален режим\r\n"
     "Свършила е хартията. Флагът се вдига само вън от фискален или нефискален бон\r\n"
     "Фискалната памет е пълна\r\n"
     "Фискалната памет е установена в режим READONLY\r\n"},
    {"bit 7 everywhere means nothing", {0x80, 0x80, 0x80, 0x80, 0x80, 0x80}, false, ""},
};

TEST(StatusText, Table) {
    for (const StatusCase& c : kStatusCases) {
        EXPECT_EQ(StatusFailed(c.status), c.fails) << c.name;
        EXPECT_EQ(StatusText(c.status), u(c.text)) << c.name;
    }
}

TEST(LinkResultText, EveryCode) {
    const char* expected[] = {"Successful",
                              "Cannot open com port",
                              "COM Port is closed",
                              "Fiscal Printer is not responding",
                              "Received NAK from Fiscal Printer",
                              "Timeout"};
    for (int code = 0; code < 6; ++code) {
        EXPECT_EQ(LinkResultText(code), u(expected[code]));
    }
    EXPECT_EQ(LinkResultText(7), u"Unknown communication error");
    EXPECT_EQ(LinkResultText(-1), u"Unknown communication error");
}

class CommandTest : public ::testing::Test {
protected:
    void TearDown() override { CloseComPort(); }

    void script(std::deque<Reply> replies) {
        AttachComPort(std::make_unique<ScriptedPort>(clock, std::move(replies), record));
    }

    FakeClock clock;
    PortRecord record;
};

TEST_F(CommandTest, StatusFailureKeepsHeaderAndLinesInErrorText) {
    script({{{5, makeResponseFrame(0x20, '9', "", {0xA2, 0x80, 0x80, 0x80, 0x80, 0x80})}}});
    commandContext().commandRequest = "9";
    EXPECT_FALSE(ExecuteCommand());
    EXPECT_EQ(LastErrorText(), u("Error in STATUS:\r\nКода на получената команда е невалиден\r\n"));
}

TEST_F(CommandTest, SuccessLeavesTheLastErrorInPlace) {
    script({{}, {{5, makeResponseFrame(0x20, '0', "VIDIZ")}}});
    commandContext().commandRequest = "0";
    EXPECT_FALSE(ExecuteCommand());
    EXPECT_EQ(LastErrorText(), u"Timeout");
    EXPECT_TRUE(ExecuteCommand());
    EXPECT_EQ(commandContext().commandResponse, "VIDIZ");
    EXPECT_EQ(LastErrorText(), u"Timeout");
}

TEST_F(CommandTest, ClosedPortIsALinkFailure) {
    CloseComPort();
    commandContext().commandRequest = "0";
    EXPECT_FALSE(ExecuteCommand());
    EXPECT_EQ(LastErrorText(), u"COM Port is closed");
}

TEST_F(CommandTest, RunCommandWritesLowBytesAndConvertsTheAnswer) {
    // "Версия 1.0" in Windows-1251.
    script({{{5, makeResponseFrame(0x20, 0xFE, "\xC2\xE5\xF0\xF1\xE8\xFF 1.0")}}});
    std::u16string response;
    ASSERT_TRUE(RunCommand(std::u16string(1, char16_t(0xFE)), response));
    EXPECT_EQ(response, u("Версия 1.0"));
    EXPECT_EQ(commandContext().lastResult, 1);
    ASSERT_EQ(record.writes.size(), 1u);
    EXPECT_EQ(record.writes[0][3], static_cast<char>(0xFE));
    EXPECT_EQ(record.writes[0].size(), 10u);
}

TEST_F(CommandTest, RunCommandFailureSetsLastResult) {
    script({});
    std::u16string response;
    EXPECT_FALSE(RunCommand(u"0", response));
    EXPECT_EQ(commandContext().lastResult, 0);
    EXPECT_EQ(LastErrorText(), u"Timeout");
}

TEST(MessagePrefixes, Wording) {
    EXPECT_EQ(kCommunicationErrorPrefix + u"Timeout", u("Грешка при комуникация с ZOVUZ: Timeout"));
    EXPECT_EQ(kReadParametersErrorPrefix, u("Грешка при четене на параметрите: "));
    EXPECT_EQ(kWriteParametersErrorPrefix, u("Грешка при запис на параметрите: "));
}

}  // namespace
