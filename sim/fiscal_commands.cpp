// Fiscal operations that print a document: VAT rates, sale, Z and X reports,
// fiscalization and a new journal.
#include <algorithm>

#include "calendar.h"
#include "commands.h"
#include "report_text.h"

namespace sim {

namespace {

// Sales recorded since the last Z report: the open day.
std::vector<const Document*> openDaySales(const DeviceState& s) {
    std::vector<const Document*> sales;
    for (auto it = s.journal.rbegin(); it != s.journal.rend(); ++it) {
        if (it->kind == DocumentKind::ZReport) {
            break;
        }
        if (it->kind == DocumentKind::Sale) {
            sales.push_back(&*it);
        }
    }
    return sales;
}

// A new document is never dated before the last one, whatever the clock says.
Document& record(FiscalDevice& device, DocumentKind kind) {
    DeviceState& s = device.mutableState();
    Document doc;
    doc.kind = kind;
    doc.number = s.journal.empty() ? 1 : s.journal.back().number + 1;
    doc.time = std::max(device.clock(), s.journal.empty() ? 0 : s.journal.back().time);
    s.journal.push_back(std::move(doc));
    return s.journal.back();
}

Answer printed(FiscalDevice& device, const Document& doc, std::string_view titleUtf8) {
    std::vector<std::string> lines = reportHeading(device.state(), titleUtf8);
    appendDocument(lines, device.state(), doc);
    device.setReport(std::move(lines));
    device.changed();
    Answer answer = okAnswer(kSuccessHeader);
    answer.workMs = device.options().reportWorkMs;
    return answer;
}

Document& dayReport(FiscalDevice& device, DocumentKind kind) {
    const std::vector<const Document*> sales = openDaySales(device.state());
    GroupAmounts totals{};
    for (const Document* sale : sales) {
        for (int g = 0; g < kVatGroups; ++g) {
            totals[g] += sale->totals[g];
        }
    }
    Document& doc = record(device, kind);
    doc.totals = totals;
    doc.receipts = static_cast<int>(sales.size());
    return doc;
}

Answer notFiscalized() {
    return errorHeader(10, "ФУ не е фискализирано");
}

Answer dayOpen() {
    return errorHeader(21, "Необходим е дневен отчет Z");
}

}  // namespace

Answer writeVatRates(FiscalDevice& device, std::string_view data) {
    std::string values[4];
    size_t start = 0;
    for (int g = 0; g < kVatGroups; ++g) {
        const size_t comma = g < 3 ? data.find(',', start) : data.size();
        int rate = 0;
        if (comma == std::string_view::npos ||
            !parseNumber(data.substr(start, comma - start), 0, 9999, rate)) {
            return statusAnswer(syntaxErrorStatus());
        }
        values[g] = std::to_string(rate);
        start = comma + 1;
    }
    if (!openDaySales(device.state()).empty()) {
        return dayOpen();
    }
    for (int g = 0; g < kVatGroups; ++g) {
        device.mutableState().parameters[static_cast<size_t>(6 + g)] = values[g];
    }
    Document& doc = record(device, DocumentKind::Service);
    doc.note = cp("Нови ставки ДДС: ") + vatRateText(values[0]) + " " + vatRateText(values[1]) +
               " " + vatRateText(values[2]) + " " + vatRateText(values[3]);
    return printed(device, doc, "ПРОГРАМИРАНЕ НА ДДС");
}

Answer testSale(FiscalDevice& device, std::string_view data) {
    if (!data.empty()) {
        return statusAnswer(syntaxErrorStatus());
    }
    if (!device.state().fiscalized) {
        return notFiscalized();
    }
    Document& doc = record(device, DocumentKind::Sale);
    doc.items.push_back({cp("Тестова продажба"), 1, 10, 1});
    doc.totals = receiptTotals(doc.items);
    return printed(device, doc, "ТЕСТОВА ПРОДАЖБА");
}

Answer zReport(FiscalDevice& device, std::string_view data) {
    if (!data.empty()) {
        return statusAnswer(syntaxErrorStatus());
    }
    DeviceState& s = device.mutableState();
    if (!s.fiscalized) {
        return notFiscalized();
    }
    Document& doc = dayReport(device, DocumentKind::ZReport);
    doc.zNumber = ++s.zCounter;
    // The device sends each Z report to the server at once while it is registered;
    // otherwise the report waits.
    if (!s.registered) {
        ++s.unsentZReports;
    }
    return printed(device, doc, "ДНЕВЕН ФИНАНСОВ ОТЧЕТ С НУЛИРАНЕ");
}

Answer xReport(FiscalDevice& device, std::string_view data) {
    if (data != "0" && !data.empty()) {
        return statusAnswer(syntaxErrorStatus());
    }
    ++device.mutableState().xCounter;
    const Document& doc = dayReport(device, DocumentKind::XReport);
    return printed(device, doc, "ДНЕВЕН ФИНАНСОВ ОТЧЕТ БЕЗ НУЛИРАНЕ");
}

Answer fiscalize(FiscalDevice& device, std::string_view data) {
    if (!data.empty()) {
        return statusAnswer(syntaxErrorStatus());
    }
    DeviceState& s = device.mutableState();
    if (s.fiscalized) {
        return errorHeader(11, "ФУ вече е фискализирано");
    }
    if (s.parameters[1].empty() || s.parameters[2].empty()) {
        return errorHeader(12, "Липсват ЕИК и име на собственика");
    }
    Document& doc = record(device, DocumentKind::Service);
    s.fiscalized = true;
    s.fiscalizedAt = doc.time;
    if (s.parameters[47].empty()) {
        s.parameters[47] = formatParameterTime(doc.time);
    }
    doc.note = cp("Фискализация ") + formatParameterTime(doc.time);
    return printed(device, doc, "ФИСКАЛИЗАЦИЯ");
}

Answer initializeJournal(FiscalDevice& device, std::string_view data) {
    if (!data.empty()) {
        return statusAnswer(syntaxErrorStatus());
    }
    if (!openDaySales(device.state()).empty()) {
        return dayOpen();
    }
    const int number = ++device.mutableState().journalNumber;
    Document& doc = record(device, DocumentKind::Service);
    doc.note = cp("Инициализиран КЛЕН № ") + std::to_string(number);
    return printed(device, doc, "ИНИЦИАЛИЗИРАНЕ НА КЛЕН");
}

}  // namespace sim
