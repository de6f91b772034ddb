// The device's commands: parameters and their checks, fiscal operations and the
// revenue-agency operations, each with the state they leave behind.
#include <gtest/gtest.h>

#include "commands.h"
#include "sim_test_support.h"

namespace sim {
namespace {

using testing::defaultDevice;
using testing::fixedClock;
using testing::request;

bool failed(const Answer& a) {
    return (a.status[0] & 0x20) || (a.status[4] & 0x20);
}

std::string read(FiscalDevice& d, int n) {
    return d.execute("1" + std::to_string(n)).data;
}

Answer write(FiscalDevice& d, int n, const std::string& value) {
    return d.execute("2" + std::to_string(n) + "," + value);
}

std::string header(const Answer& a) {
    return a.data.substr(0, 11);
}

TEST(Parameters, EveryNumberReadsWithinOneFrame) {
    FiscalDevice d = defaultDevice();
    for (int n = 1; n <= kParameterCount; ++n) {
        const Answer a = d.execute("1" + std::to_string(n));
        EXPECT_FALSE(failed(a)) << n;
        EXPECT_LE(a.data.size(), 212u) << n;
    }
    EXPECT_EQ(read(d, 2), cp("Вендинг Системи ЕООД"));
    EXPECT_EQ(read(d, 7), "2000");
    EXPECT_EQ(read(d, 13).substr(0, 2), "1 ");
}

TEST(Parameters, ReadRequestsOutsideTheTableAreSyntaxErrors) {
    FiscalDevice d = defaultDevice();
    for (const char* data : {"0", "52", "", "1x", "-1", " 5"}) {
        const Answer a = d.execute(std::string("1") + data);
        EXPECT_EQ(a.status, syntaxErrorStatus()) << data;
    }
}

TEST(Parameters, WriteChecksEachValue) {
    struct Case {
        int number;
        std::string value;
        bool accepted;
    };
    const Case cases[] = {
        {19, "2", true},
        {19, "3", false},
        {25, "1", true},
        {25, "65535", true},
        {25, "0", false},
        {25, "65536", false},
        {25, "80a", false},
        {26, "212.39.1.250", true},
        {26, "10.0.0.1", true},
        {26, "1.2.3", false},
        {26, "1.2.3.4.5", false},
        {26, "256.1.1.1", false},
        {26, "1..2.3", false},
        {26, "", false},
        {10, "29.02.2028 10:00:00", true},
        {10, "30.02.2024 10:00:00", false},
        {10, "1.3.2024 10:00:00", false},
        {46, "31.12.2030 23:59:59", true},
        {46, "31.12.2030 24:00:00", false},
        {28, "3", true},
        {28, "4", false},
        {45, "0", true},
        {29, "127", true},
        {29, "132", true},
        {29, "126", false},
        {29, "133", false},
        {6, "1850", true},
        {6, "10000", false},
        {1, "", true},
        {1, "12345678A", false},
        {24, "12345", true},
        {24, "12a", false},
        {30, cp("ЕТ Иван Петров"), true},
        {30,
         "a\x01"
         "b",
         false},
        {32, std::string(72, 'x'), true},
        {32, std::string(73, 'x'), false},
        {51, "284011234567890", true},
        {23, "+359888123456", true},
        {23, "359888123456", true},
        {23, "", true},
        {23, "+359888123456789", true},
        {23, "+3598881234567890", false},
        {23, "+", false},
        {23, "++359888123456", false},
        {23, "359+888123456", false},
        {23, "+359 888 123", false},
    };
    for (const Case& c : cases) {
        FiscalDevice d = defaultDevice();
        const std::string before = read(d, c.number);
        const Answer a = write(d, c.number, c.value);
        EXPECT_EQ(!failed(a), c.accepted) << c.number << " " << c.value;
        if (c.accepted && c.number != 10) {
            EXPECT_EQ(read(d, c.number), c.value) << c.number;
        } else if (!c.accepted) {
            EXPECT_EQ(a.status, syntaxErrorStatus()) << c.number << " " << c.value;
            EXPECT_EQ(read(d, c.number), before) << c.number << " " << c.value;
        }
    }
}

TEST(Parameters, ReadOnlyNumbersRefuseWrites) {
    for (int n : {11, 12, 13, 16, 17, 18, 48, 49, 50}) {
        FiscalDevice d = defaultDevice();
        const std::string before = read(d, n);
        EXPECT_EQ(write(d, n, "1").status, notAllowedStatus()) << n;
        EXPECT_EQ(read(d, n), before) << n;
    }
}

TEST(Parameters, WriteWithoutCommaIsASyntaxError) {
    FiscalDevice d = defaultDevice();
    EXPECT_EQ(d.execute("224").status, syntaxErrorStatus());
}

TEST(Parameters, ClockRunsOnFromTheWrittenValue) {
    int64_t now = toSeconds({2024, 3, 1, 9, 0, 0});
    DeviceOptions options = fixedClock();
    options.now = [&now] { return now; };
    FiscalDevice d(defaultDeviceState(testing::historyEnd()), options);
    ASSERT_FALSE(failed(write(d, 10, "15.03.2024 12:00:00")));
    now += 75;
    EXPECT_EQ(read(d, 10), "15.03.2024 12:01:15");
}

TEST(Parameters, ClockMayNotGoBehindTheLastRecord) {
    FiscalDevice d = defaultDevice();
    EXPECT_EQ(write(d, 10, "10.02.2024 12:00:00").status, notAllowedStatus());
    FiscalDevice blank(blankDeviceState(), fixedClock());
    EXPECT_FALSE(failed(write(blank, 10, "10.02.2020 12:00:00")));
}

TEST(Commands, IdentificationVersionAndUnknownCode) {
    FiscalDevice d = defaultDevice();
    EXPECT_EQ(d.execute("0").data, "VIDIZ ZV-01 ZV000417");
    EXPECT_EQ(d.execute(request(0xFE)).data, kVersionText);
    // The information text names the same firmware on its second line.
    const std::string info = d.execute("6").data;
    EXPECT_EQ(info.substr(11, info.find("\r\n", 11) - 11), kVersionText);
    d.options().identification = "VIDI";
    EXPECT_EQ(d.execute("0").data, "VIDI");
}

// Every code the tool sends is understood; every other code is refused as invalid.
TEST(Commands, EveryCodeIsKnownOrInvalid) {
    const std::string known = "0123456789:;EOI^_\xC8\xC9\xE4\xFE\xFF";
    for (int code = 0; code < 256; ++code) {
        FiscalDevice d = defaultDevice();
        const Answer a = d.execute(request(static_cast<uint8_t>(code)));
        const bool isKnown = known.find(static_cast<char>(code)) != std::string::npos;
        EXPECT_EQ(a.status == invalidCommandStatus(), !isKnown) << code;
    }
}

TEST(Commands, SalesAndZReportKeepTheBooks) {
    FiscalDevice d = defaultDevice();
    const int zBefore = std::stoi(read(d, 49));
    const int lastNumber = d.state().journal.back().number;
    ASSERT_EQ(header(d.execute("8")), kSuccessHeader);
    ASSERT_EQ(header(d.execute("8")), kSuccessHeader);
    EXPECT_EQ(d.state().journal.back().number, lastNumber + 2);
    ASSERT_EQ(header(d.execute("9")), kSuccessHeader);
    const Document& z = d.state().journal.back();
    EXPECT_EQ(z.kind, DocumentKind::ZReport);
    EXPECT_EQ(z.receipts, 2);
    EXPECT_EQ(sum(z.totals), 20);
    EXPECT_EQ(std::stoi(read(d, 49)), zBefore + 1);
    // A second Z report finds the day closed and empty.
    d.execute("9");
    EXPECT_EQ(d.state().journal.back().receipts, 0);
    EXPECT_EQ(sum(d.state().journal.back().totals), 0);
}

TEST(Commands, RecordsNeverGoBackInTime) {
    FiscalDevice d = defaultDevice();
    d.execute("8");
    const auto& j = d.state().journal;
    for (size_t i = 1; i < j.size(); ++i) {
        EXPECT_LE(j[i - 1].time, j[i].time) << i;
        EXPECT_EQ(j[i - 1].number + 1, j[i].number) << i;
    }
}

TEST(Commands, DayThatHasBegunIsClosedByTheNextZReport) {
    const int64_t openUntil = testing::historyEnd() + 12 * 3600;
    FiscalDevice d(defaultDeviceState(testing::historyEnd(), 7, openUntil),
                   testing::fixedClock(openUntil + 60));
    int open = 0;
    for (auto it = d.state().journal.rbegin(); it->kind == DocumentKind::Sale; ++it) {
        EXPECT_GE(it->time, testing::historyEnd());
        EXPECT_LT(it->time, openUntil);
        ++open;
    }
    ASSERT_GT(open, 0);
    d.execute("9");
    EXPECT_EQ(d.state().journal.back().receipts, open);
}

TEST(Commands, UnregisteredDeviceQueuesZReports) {
    FiscalDevice d = defaultDevice();
    d.mutableState().registered = false;
    d.execute("9");
    d.execute("9");
    EXPECT_EQ(read(d, 50), "2");
    d.execute("3");
    EXPECT_EQ(read(d, 50), "0");
}

TEST(Commands, FiscalizationOfANewDevice) {
    FiscalDevice d(blankDeviceState(), fixedClock());
    EXPECT_EQ(read(d, 13), "0");
    EXPECT_EQ(header(d.execute("8")), "ERROR 010\r\n");
    EXPECT_EQ(header(d.execute(":")), "ERROR 012\r\n");  // no owner yet
    write(d, 1, "204567893");
    write(d, 2, cp("Фирма ООД"));
    EXPECT_EQ(d.execute(":").data, kSuccessHeader);
    EXPECT_EQ(read(d, 13), "1 01.03.2024 09:00:00");
    EXPECT_EQ(header(d.execute(":")), "ERROR 011\r\n");
    EXPECT_FALSE(d.reportLines().empty());
}

TEST(Commands, VatRatesNeedAClosedDay) {
    FiscalDevice d = defaultDevice();
    EXPECT_EQ(header(d.execute("7"
                               "0,2000,2000,900")),
              kSuccessHeader);
    EXPECT_EQ(d.execute("7"
                        "0,2000,900")
                  .status,
              syntaxErrorStatus());
    EXPECT_EQ(d.execute("7"
                        "0,2000,900,10000")
                  .status,
              syntaxErrorStatus());
    d.execute("8");
    EXPECT_EQ(header(d.execute("7"
                               "0,2000,2000,950")),
              "ERROR 021\r\n");
    EXPECT_EQ(read(d, 9), "900");
    d.execute("9");
    EXPECT_EQ(header(d.execute("7"
                               "0,2000,2000,950")),
              kSuccessHeader);
    EXPECT_EQ(read(d, 9), "950");
}

TEST(Commands, XReportCountsAndKeepsTheDayOpen) {
    FiscalDevice d = defaultDevice();
    d.execute("8");
    EXPECT_EQ(header(d.execute("E0")), kSuccessHeader);
    EXPECT_EQ(read(d, 48), "1");
    EXPECT_EQ(d.state().journal.back().receipts, 1);
    EXPECT_EQ(header(d.execute(";")), "ERROR 021\r\n");
}

// Printing and searching take the device the time it was given; reading a line does not.
TEST(Commands, ReportCommandsKeepTheDeviceBusy) {
    struct Case {
        std::string request;
        uint32_t workMs;
    };
    const Case cases[] = {
        {"8", 250},
        {"E0", 250},
        {"9", 250},
        {"70,2000,2000,900", 250},
        {";", 250},
        {request(0xC8, "194,10-02-24 00:00:00,10-02-24 23:59:59"), 250},
        {request(0xC9, "65,3,7"), 250},
        {"O02-02-24 00:00:00,08-02-24 23:59:59", 250},
        {"^02-02-24 00:00:00,08-02-24 23:59:59", 250},
        {"_5,12", 250},
        {"I5,12", 250},
        {request(0xE4, "0"), 0},
        {"15", 0},
    };
    for (const Case& c : cases) {
        DeviceOptions options = fixedClock();
        options.reportWorkMs = 250;
        FiscalDevice d(defaultDeviceState(testing::historyEnd()), options);
        const Answer a = d.execute(c.request);
        EXPECT_FALSE(failed(a)) << c.request;
        EXPECT_EQ(a.workMs, c.workMs) << c.request;
    }
}

TEST(ServerOperations, RegistrationCycle) {
    FiscalDevice d = defaultDevice();
    d.mutableState().hasLastOperation = false;
    EXPECT_EQ(header(d.execute(request(0xFF))), "ERROR 040\r\n");
    EXPECT_EQ(header(d.execute("3")), "ERROR 032\r\n");  // already registered
    EXPECT_EQ(d.execute("4"
                        "11")
                  .status,
              syntaxErrorStatus());
    EXPECT_EQ(d.execute("4").status, syntaxErrorStatus());
    EXPECT_EQ(d.execute("4"
                        "10")
                  .data,
              kSuccessHeader);
    EXPECT_EQ(read(d, 18), "");
    const Answer again = d.execute(
        "4"
        "1");
    EXPECT_EQ(header(again), "ERROR 031\r\n");
    EXPECT_GT(again.data.size(), 11u);  // a description follows the header
    EXPECT_EQ(header(d.execute("5")), "ERROR 031\r\n");
    const Answer reg = d.execute("3");
    EXPECT_EQ(reg.data, kSuccessHeader);
    EXPECT_EQ(reg.workMs, d.options().napWorkMs);
    EXPECT_EQ(read(d, 18).size(), 7u);
    EXPECT_EQ(d.execute(request(0xFF)).data, kSuccessHeader);
    ASSERT_FALSE(d.reportLines().empty());
    EXPECT_EQ(d.reportLines()[7], cp("РЕГИСТРАЦИЯ В НАП"));
}

TEST(ServerOperations, DeviceInformationStartsWithAHeaderLine) {
    FiscalDevice d = defaultDevice();
    const Answer a = d.execute("6");
    EXPECT_EQ(header(a), kSuccessHeader);
    EXPECT_LE(a.data.size(), 212u);
    EXPECT_NE(a.data.find("ZV000417"), std::string::npos);
}

}  // namespace
}  // namespace sim
