// The device's memory across runs: what is written comes back unchanged, and a damaged
// file is refused rather than half read.
#include <gtest/gtest.h>

#include <unistd.h>
#include <filesystem>
#include <fstream>

#include "sim_test_support.h"
#include "state_file.h"

namespace sim {
namespace {

namespace fs = std::filesystem;

void expectSameState(const DeviceState& a, const DeviceState& b) {
    EXPECT_EQ(a.parameters, b.parameters);
    EXPECT_EQ(a.clockOffset, b.clockOffset);
    EXPECT_EQ(a.fiscalized, b.fiscalized);
    EXPECT_EQ(a.fiscalizedAt, b.fiscalizedAt);
    EXPECT_EQ(a.registered, b.registered);
    EXPECT_EQ(a.registeredAt, b.registeredAt);
    EXPECT_EQ(a.journalNumber, b.journalNumber);
    EXPECT_EQ(a.zCounter, b.zCounter);
    EXPECT_EQ(a.xCounter, b.xCounter);
    EXPECT_EQ(a.unsentZReports, b.unsentZReports);
    EXPECT_EQ(a.lastOperationReport, b.lastOperationReport);
    ASSERT_EQ(a.journal.size(), b.journal.size());
    for (size_t i = 0; i < a.journal.size(); ++i) {
        const Document& x = a.journal[i];
        const Document& y = b.journal[i];
        EXPECT_EQ(x.kind, y.kind);
        EXPECT_EQ(x.number, y.number);
        EXPECT_EQ(x.zNumber, y.zNumber);
        EXPECT_EQ(x.receipts, y.receipts);
        EXPECT_EQ(x.time, y.time);
        EXPECT_EQ(x.totals, y.totals);
        EXPECT_EQ(x.note, y.note);
        ASSERT_EQ(x.items.size(), y.items.size());
        for (size_t k = 0; k < x.items.size(); ++k) {
            EXPECT_EQ(x.items[k].name, y.items[k].name);
            EXPECT_EQ(x.items[k].group, y.items[k].group);
            EXPECT_EQ(x.items[k].price, y.items[k].price);
            EXPECT_EQ(x.items[k].quantity, y.items[k].quantity);
        }
    }
}

TEST(StateFile, RoundTripKeepsEverythingTheDeviceDid) {
    FiscalDevice d(defaultDeviceState(testing::historyEnd(), 99, testing::historyEnd() + 40000),
                   testing::fixedClock());
    d.execute(
        "2"
        "30," +
        cp("Пекарна \"Хлебец\" \\ ЕТ"));
    d.execute(
        "2"
        "10,15.03.2024 12:00:00");
    // Every byte a text parameter may hold, 0x20 to 0xFF, comes back unchanged.
    for (int first = 0x20, number = 31; first < 0x100; first += 64, ++number) {
        std::string bytes;
        for (int b = first; b < first + 64 && b < 0x100; ++b) {
            bytes += static_cast<char>(b);
        }
        ASSERT_EQ(d.execute("2" + std::to_string(number) + "," + bytes).status, okStatus());
    }
    d.execute("8");
    d.execute("E0");
    d.execute("9");
    d.execute(";");
    d.execute(
        "4"
        "2");
    std::string error;
    const auto back = parseState(serializeState(d.state()), error);
    ASSERT_TRUE(back) << error;
    expectSameState(d.state(), *back);
    EXPECT_EQ(back->historyDocuments, d.state().historyDocuments);
}

TEST(StateFile, BlankDeviceRoundTrip) {
    FiscalDevice d(blankDeviceState(), testing::fixedClock());
    d.execute(
        "2"
        "1,123");
    d.execute(
        "2"
        "2,X");
    d.execute(":");
    std::string error;
    const auto back = parseState(serializeState(d.state()), error);
    ASSERT_TRUE(back) << error;
    expectSameState(d.state(), *back);
}

TEST(StateFile, DamagedTextIsRefused) {
    const std::string good = serializeState(testing::defaultDevice().state());
    const std::string cases[] = {
        "",
        "something else\n",
        good + "param 99 x\n",
        good + "zCounter many\n",
        good + "doc 9 1 0 0 0 0 0 0 0\n",
        good + "unknownKey 1\n",
        "zovuz-sim-state 1\nitem 1 10 1 orphan\n",
    };
    for (const std::string& text : cases) {
        std::string error;
        EXPECT_FALSE(parseState(text, error))
            << text.substr(text.size() > 40 ? text.size() - 40 : 0);
        EXPECT_FALSE(error.empty());
    }
}

TEST(StateFile, SaveReplacesTheFileWhole) {
    const fs::path dir = fs::temp_directory_path() / ("zovuz-state-" + std::to_string(getpid()));
    fs::create_directories(dir);
    const std::string path = (dir / "device.state").string();
    std::string error;
    EXPECT_FALSE(loadStateFile(path, error));
    EXPECT_TRUE(error.empty());  // a missing file is not an error
    FiscalDevice d = testing::defaultDevice();
    ASSERT_TRUE(saveStateFile(path, d.state(), error)) << error;
    d.execute("8");
    ASSERT_TRUE(saveStateFile(path, d.state(), error)) << error;
    EXPECT_FALSE(fs::exists(path + ".tmp"));
    const auto back = loadStateFile(path, error);
    ASSERT_TRUE(back) << error;
    EXPECT_EQ(back->journal.size(), d.state().journal.size());
    fs::remove_all(dir);
}

}  // namespace
}  // namespace sim
