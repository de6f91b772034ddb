#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace sim {

// VAT groups А, Б, В, Г.
constexpr int kVatGroups = 4;
using GroupAmounts = std::array<int64_t, kVatGroups>;  // stotinki

struct SaleItem {
    std::string name;   // Windows-1251
    int group = 1;      // 0..3
    int64_t price = 0;  // stotinki for one piece
    int quantity = 1;
};

enum class DocumentKind { Sale, ZReport, XReport, Service };

// One entry of the electronic journal. Every document carries the next receipt number;
// Z reports also carry their own number, and each records the day's totals by group.
struct Document {
    DocumentKind kind = DocumentKind::Sale;
    int number = 0;   // receipt number, rising through the whole journal
    int zNumber = 0;  // Z reports only
    int64_t time = 0;
    std::vector<SaleItem> items;  // sales
    GroupAmounts totals{};        // sales: receipt totals; Z and X: the day's totals
    int receipts = 0;             // Z and X: sale receipts in the day
    std::string note;             // service documents: what was done (Windows-1251)
};

int64_t itemAmount(const SaleItem& item);
GroupAmounts receiptTotals(const std::vector<SaleItem>& items);
int64_t sum(const GroupAmounts& amounts);

// A plausible history for a vending machine: several weeks of sale receipts, a Z report
// at the end of every day. The same seed and end day always give the same history.
struct HistoryShape {
    uint32_t seed = 20240501;
    int64_t endDay = 0;  // seconds of the day after the last generated day (midnight)
    int days = 28;
    // When later than endDay: sales of the day that has begun, up to this moment, with no
    // Z report yet.
    int64_t openUntil = 0;
};
std::vector<Document> generateHistory(const HistoryShape& shape);

}  // namespace sim
