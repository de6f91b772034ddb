#include "journal.h"

#include <algorithm>

#include "calendar.h"
#include "device_state.h"

namespace sim {

namespace {

// A small generator of our own, so that the history is the same on every machine.
class Random {
public:
    explicit Random(uint32_t seed) : state(seed * 2654435761u + 1) {}
    uint32_t next() {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    }
    int between(int low, int high) { return low + static_cast<int>(next() % (high - low + 1)); }

private:
    uint32_t state;
};

struct Product {
    const char* name;
    int group;
    int64_t price;
};

const Product kProducts[] = {
    {"Кафе еспресо", 1, 120},        {"Кафе с мляко", 1, 140},    {"Капучино", 1, 160},
    {"Горещ шоколад", 1, 150},       {"Чай билков", 3, 90},       {"Минерална вода 0,5 л", 1, 100},
    {"Сок портокал 0,33 л", 1, 220}, {"Шоколадова вафла", 2, 80}, {"Солети", 2, 110},
    {"Чипс 60 г", 2, 150},           {"Кроасан с какао", 3, 130}, {"Дъвки", 0, 70},
};
constexpr int kProductCount = sizeof kProducts / sizeof kProducts[0];

Document makeSale(Random& rnd, int number, int64_t time) {
    Document doc;
    doc.kind = DocumentKind::Sale;
    doc.number = number;
    doc.time = time;
    const int itemCount = rnd.between(1, 3);
    for (int i = 0; i < itemCount; ++i) {
        const Product& p = kProducts[rnd.between(0, kProductCount - 1)];
        doc.items.push_back({cp(p.name), p.group, p.price, rnd.between(1, 10) == 1 ? 2 : 1});
    }
    doc.totals = receiptTotals(doc.items);
    return doc;
}

}  // namespace

int64_t itemAmount(const SaleItem& item) {
    return item.price * item.quantity;
}

GroupAmounts receiptTotals(const std::vector<SaleItem>& items) {
    GroupAmounts totals{};
    for (const SaleItem& item : items) {
        totals[static_cast<size_t>(std::clamp(item.group, 0, kVatGroups - 1))] += itemAmount(item);
    }
    return totals;
}

int64_t sum(const GroupAmounts& amounts) {
    int64_t total = 0;
    for (int64_t a : amounts) {
        total += a;
    }
    return total;
}

std::vector<Document> generateHistory(const HistoryShape& shape) {
    Random rnd(shape.seed);
    std::vector<Document> docs;
    int number = 1;
    int zNumber = 1;
    for (int d = shape.days; d >= 1; --d) {
        const int64_t dayStart = shape.endDay - d * kSecondsPerDay;
        Document z;
        z.kind = DocumentKind::ZReport;
        int64_t t = dayStart + 7 * 3600 + rnd.between(0, 3600);
        const int sales = rnd.between(5, 14);
        for (int i = 0; i < sales; ++i) {
            docs.push_back(makeSale(rnd, number++, t));
            for (int g = 0; g < kVatGroups; ++g) {
                z.totals[g] += docs.back().totals[g];
            }
            t += rnd.between(300, 50400 / sales);
        }
        z.number = number++;
        z.zNumber = zNumber++;
        z.time = dayStart + 23 * 3600 + 30 * 60 + rnd.between(0, 1200);
        z.receipts = sales;
        docs.push_back(z);
    }
    for (int64_t t = shape.endDay + 7 * 3600 + rnd.between(0, 3600);
         t < shape.openUntil && t < shape.endDay + kSecondsPerDay; t += rnd.between(600, 5400)) {
        docs.push_back(makeSale(rnd, number++, t));
    }
    return docs;
}

}  // namespace sim
