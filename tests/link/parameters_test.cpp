#include <gtest/gtest.h>

#include <map>

#include "command.h"
#include "cp1251.h"
#include "link_ui.h"
#include "parameters.h"
#include "scripted_port.h"

namespace {

class RecordingUi final : public LinkUi {
public:
    RecordingUi() { setLinkUi(this); }
    ~RecordingUi() override { setLinkUi(nullptr); }

    void showMessage(const std::u16string& text) override { messages.push_back(text); }
    void beginWaitCursor() override { events += "B"; }
    void endWaitCursor() override { events += "E"; }

    std::vector<std::u16string> messages;
    std::string events;
};

// A page whose fields are a map; UpdateData records its calls into the same event string
// as the cursor, so the order of the button's steps is visible.
class FakePage final : public ParameterPage {
public:
    explicit FakePage(RecordingUi& ui) : ui(ui) {}

    void SetParameter(int number, std::u16string value) override { fields[number] = value; }
    std::u16string GetParameter(int number) override { return fields[number]; }
    bool UpdateData(bool save) override {
        ui.events += save ? "S" : "L";
        return !save || valid;
    }

    std::map<int, std::u16string> fields;
    bool valid = true;
    RecordingUi& ui;
};

class ParametersTest : public ::testing::Test {
protected:
    void TearDown() override { CloseComPort(); }

    void script(std::deque<Reply> replies) {
        AttachComPort(std::make_unique<ScriptedPort>(clock, std::move(replies), record));
    }

    static Reply answer(const std::string& data) {
        return {{2, makeResponseFrame(0x20, '1', data)}};
    }

    std::vector<std::string> requests() const {
        std::vector<std::string> out;
        for (const std::string& w : record.writes) {
            out.push_back(w.substr(3, w.size() - 9));
        }
        return out;
    }

    FakeClock clock;
    PortRecord record;
    RecordingUi ui;
    FakePage page{ui};
};

TEST_F(ParametersTest, EmptyListSendsNothing) {
    script({});
    EXPECT_TRUE(ReadParameters({}, page));
    EXPECT_TRUE(WriteParameters(page, {}));
    EXPECT_TRUE(record.writes.empty());
}

TEST_F(ParametersTest, ReadStopsAtTheFifthOfFourteen) {
    script({answer("one"), answer("two"), answer("three"), answer("four")});
    std::vector<int> numbers;
    for (int n = 1; n <= 14; ++n) {
        numbers.push_back(n);
    }
    EXPECT_FALSE(RunParameterButton(page, ParameterDirection::Read, numbers));
    EXPECT_EQ(requests(), (std::vector<std::string>{"11", "12", "13", "14", "15"}));
    EXPECT_EQ(page.fields.size(), 4u);
    EXPECT_EQ(page.fields[4], u"four");
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0], kReadParametersErrorPrefix + u"Timeout");
    // Cursor on, controls saved, cursor off before the message, then the fields shown.
    EXPECT_EQ(ui.events, "BSEL");
}

TEST_F(ParametersTest, WriteFormatsNumberCommaValue) {
    script({answer(""), answer(""), answer("")});
    page.fields = {{15, u""}, {27, u"ABC"}, {28, u"Ул. Шипка 6"}};
    const int numbers[] = {15, 27, 28};
    EXPECT_TRUE(RunParameterButton(page, ParameterDirection::Write, numbers));
    EXPECT_EQ(requests(), (std::vector<std::string>{"215,", "227,ABC",
                                                    "228," + utf16ToCp1251(u"Ул. Шипка 6")}));
    EXPECT_EQ(requests()[2].substr(4, 2), "\xD3\xEB");
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(ui.events, "BSEL");
}

TEST_F(ParametersTest, WriteStopsAtAStatusError) {
    script({answer(""),
            {{2, makeResponseFrame(0x20, '2', "", {0xA1, 0x80, 0x80, 0x80, 0x80, 0x80})}},
            answer("")});
    page.fields = {{19, u"1"}, {20, u"x"}, {21, u"y"}};
    const int numbers[] = {19, 20, 21};
    EXPECT_FALSE(RunParameterButton(page, ParameterDirection::Write, numbers));
    EXPECT_EQ(record.writes.size(), 2u);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0], kWriteParametersErrorPrefix + u"Error in STATUS:\r\n" +
                                  utf8ToUtf16("Получените данни имат синтактична грешка\r\n"));
}

TEST_F(ParametersTest, CyrillicAnswerReachesThePage) {
    script({answer("\xD2\xE5\xF1\xF2 \xC5\xCE\xCE\xC4")});
    const int numbers[] = {2};
    EXPECT_TRUE(ReadParameters(numbers, page));
    EXPECT_EQ(page.fields[2], utf8ToUtf16("Тест ЕООД"));
    EXPECT_EQ(requests(), (std::vector<std::string>{"12"}));
}

TEST_F(ParametersTest, InvalidEntryStopsAWriteButNotARead) {
    script({answer("v")});
    page.valid = false;
    const int numbers[] = {41};
    EXPECT_FALSE(RunParameterButton(page, ParameterDirection::Write, numbers));
    EXPECT_TRUE(record.writes.empty());
    EXPECT_TRUE(RunParameterButton(page, ParameterDirection::Read, numbers));
    EXPECT_EQ(page.fields[41], u"v");
}

}  // namespace
