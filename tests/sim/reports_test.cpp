// Journal and fiscal-memory reports: what each selection picks, the refusals for empty
// periods, and the line read-out.
#include <gtest/gtest.h>

#include "commands.h"
#include "sim_test_support.h"

namespace sim {
namespace {

using testing::defaultDevice;
using testing::request;

std::string header(const Answer& a) {
    return a.data.substr(0, 11);
}

// Every line the device hands out for the current report, through 0xE4.
std::vector<std::string> readOut(FiscalDevice& d) {
    std::vector<std::string> lines;
    for (int k = 0;; ++k) {
        const std::string a = d.execute(request(0xE4, std::to_string(k))).data;
        if (a == "E") {
            return lines;
        }
        const size_t comma = a.find(',');
        EXPECT_EQ(a.substr(0, comma), std::to_string(k + 1));
        lines.push_back(a.substr(comma + 1));
    }
}

int countContaining(const std::vector<std::string>& lines, const std::string& utf8) {
    const std::string text = cp(utf8);
    int n = 0;
    for (const auto& l : lines) {
        n += l.find(text) != std::string::npos ? 1 : 0;
    }
    return n;
}

// Documents of the history that fall within one day of February 2024.
int documentsOn(const DeviceState& s, int day, DocumentKind kind) {
    const int64_t from = toSeconds({2024, 2, day, 0, 0, 0});
    int n = 0;
    for (const Document& d : s.journal) {
        n += (d.time >= from && d.time < from + kSecondsPerDay && d.kind == kind) ? 1 : 0;
    }
    return n;
}

TEST(JournalReports, SelectionBitsByDate) {
    struct Case {
        int selection;
        int receipts;  // expected sale receipts in the report (-1: as in the journal)
        int zReports;
    };
    FiscalDevice probe = defaultDevice();
    const int sales = documentsOn(probe.state(), 10, DocumentKind::Sale);
    ASSERT_GT(sales, 1);
    const Case cases[] = {
        {0xC2, sales, 1},  // all documents of the day
        {0xC1, 0, 1},      // Z reports only
        {0x82, 1, 0},      // the first document only
        {0x81, 0, 1},      // the first Z report only
    };
    for (const Case& c : cases) {
        FiscalDevice d = defaultDevice();
        const Answer a = d.execute(
            request(0xC8, std::to_string(c.selection) + ",10-02-24 00:00:00,10-02-24 23:59:59"));
        ASSERT_EQ(a.data, kSuccessHeader) << c.selection;
        const auto lines = readOut(d);
        EXPECT_EQ(countContaining(lines, "ФИСКАЛЕН БОН"), c.receipts) << c.selection;
        EXPECT_EQ(countContaining(lines, "ДНЕВЕН ОТЧЕТ Z"), c.zReports) << c.selection;
    }
}

TEST(JournalReports, EmptyPeriodAndBadRequests) {
    FiscalDevice d = defaultDevice();
    const Answer empty = d.execute(request(0xC8, "194,01-01-23 00:00:00,31-01-23 23:59:59"));
    EXPECT_EQ(header(empty), "ERROR 101\r\n");
    EXPECT_GT(empty.data.size(), 11u);
    // An end before the start selects nothing either.
    EXPECT_EQ(header(d.execute(request(0xC8, "194,10-02-24 00:00:00,09-02-24 00:00:00"))),
              "ERROR 101\r\n");
    for (const char* bad : {"194,10-02-24,11-02-24", "194,32-01-24 00:00:00,01-02-24 00:00:00",
                            "10-02-24 00:00:00,11-02-24 00:00:00", "x,1,2"}) {
        EXPECT_EQ(d.execute(request(0xC8, bad)).status, syntaxErrorStatus()) << bad;
    }
    EXPECT_EQ(d.execute(request(0xC9, "65,,")).status, syntaxErrorStatus());
    EXPECT_EQ(header(d.execute(request(0xC9, "65,900000,900010"))), "ERROR 102\r\n");
}

TEST(JournalReports, ByReceiptNumbers) {
    FiscalDevice d = defaultDevice();
    ASSERT_EQ(d.execute(request(0xC9, "65,3,7")).data, kSuccessHeader);
    const auto all = readOut(d);
    EXPECT_EQ(countContaining(all, "Бележка № "), 5);
    EXPECT_EQ(countContaining(all, "Бележка № 0000003"), 1);
    EXPECT_EQ(countContaining(all, "Бележка № 0000007"), 1);
    ASSERT_EQ(d.execute(request(0xC9, "1,3,7")).data, kSuccessHeader);
    EXPECT_EQ(countContaining(readOut(d), "Бележка № "), 1);
}

TEST(JournalReports, RecordedSaleShowsUp) {
    FiscalDevice d = defaultDevice();
    d.execute("8");
    const int n = d.state().journal.back().number;
    ASSERT_EQ(d.execute(request(0xC9, "65," + std::to_string(n) + "," + std::to_string(n))).data,
              kSuccessHeader);
    EXPECT_EQ(countContaining(readOut(d), "Тестова продажба"), 1);
}

TEST(MemoryReports, ConciseAndDetailedByDateAndNumber) {
    struct Case {
        uint8_t code;
        const char* data;
        int records;
    };
    const Case cases[] = {
        {'O', "02-02-24 00:00:00,08-02-24 23:59:59", 7},
        {'^', "02-02-24 00:00:00,08-02-24 23:59:59", 7},
        {'_', "5,12", 8},
        {'I', "5,12", 8},
        {'_', "28,40", 1},
    };
    for (const Case& c : cases) {
        FiscalDevice d = defaultDevice();
        ASSERT_EQ(d.execute(request(c.code, c.data)).data, kSuccessHeader) << c.code;
        const auto lines = readOut(d);
        int records = 0;
        for (const auto& l : lines) {
            records += l.rfind("Z 0", 0) == 0 ? 1 : 0;
        }
        EXPECT_EQ(records, c.records) << c.code << " " << c.data;
        const bool detailed = c.code == '^' || c.code == 'I';
        EXPECT_EQ(countContaining(lines, "Оборот Б") > 0, detailed) << c.code;
    }
}

TEST(MemoryReports, NothingInRange) {
    FiscalDevice d = defaultDevice();
    EXPECT_EQ(header(d.execute(request('O', "01-01-20 00:00:00,31-12-20 23:59:59"))),
              "ERROR 103\r\n");
    EXPECT_EQ(header(d.execute(request('I', "100,200"))), "ERROR 104\r\n");
    EXPECT_EQ(d.execute(request('_', "5")).status, syntaxErrorStatus());
}

TEST(ReportLines, ReadOutEndsWithEAndStaysThere) {
    FiscalDevice d = defaultDevice();
    EXPECT_EQ(d.execute(request(0xE4, "0")).data, "E");  // nothing prepared yet
    d.execute("9");
    const auto lines = readOut(d);
    ASSERT_GT(lines.size(), 5u);
    EXPECT_EQ(d.execute(request(0xE4, std::to_string(lines.size() + 100))).data, "E");
    EXPECT_EQ(d.execute(request(0xE4, "")).status, syntaxErrorStatus());
    EXPECT_EQ(d.execute(request(0xE4, "1a")).status, syntaxErrorStatus());
}

TEST(ReportLines, ReportOfExactlyNLinesOnDemand) {
    FiscalDevice d = defaultDevice();
    d.setNextReportLines(1000);
    d.execute(request(0xC9, "65,1,2"));
    const auto lines = readOut(d);
    ASSERT_EQ(lines.size(), 1000u);
    // Numbered lines of a Bulgarian listing, each ending in its VAT group letter.
    EXPECT_EQ(lines.front().rfind(cp("Ред 000001 "), 0), 0u);
    EXPECT_EQ(lines.back().rfind(cp("Ред 001000 "), 0), 0u);
    EXPECT_EQ(lines[2].substr(lines[2].size() - 1), cp("Г"));
    // Only the next report is replaced.
    d.execute(request(0xC9, "65,1,1"));
    EXPECT_LT(readOut(d).size(), 30u);
    // A refused command leaves the request for N lines waiting.
    d.setNextReportLines(3);
    d.execute(request(0xC9, "65,900000,900001"));
    d.execute(request(0xC9, "65,1,1"));
    EXPECT_EQ(readOut(d).size(), 3u);
}

TEST(ReportLines, WholeJournalFitsFramesAndHasNoControlBytes) {
    FiscalDevice d = defaultDevice();
    ASSERT_EQ(d.execute(request(0xC8, "194,01-01-24 00:00:00,31-12-24 23:59:59")).data,
              kSuccessHeader);
    const size_t count = d.reportLines().size();
    EXPECT_GT(count, 1000u);
    for (size_t k = 0; k < count; ++k) {
        const std::string a = d.execute(request(0xE4, std::to_string(k))).data;
        ASSERT_LE(a.size(), 212u) << k;
        for (char c : a) {
            ASSERT_GE(static_cast<uint8_t>(c), 0x20) << k;
        }
    }
}

}  // namespace
}  // namespace sim
