#include "report_text.h"

#include <cstdio>

#include "calendar.h"

namespace sim {

namespace {

const char* const kGroupLetters[kVatGroups] = {"А", "Б", "В", "Г"};

std::string groupLetter(int group) {
    return cp(kGroupLetters[group & 3]);
}

std::string rule() {
    return std::string(kLineWidth, '-');
}

std::string numbered(const char* labelUtf8, int number) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%07d", number);
    return cp(labelUtf8) + digits;
}

int rateHundredths(const DeviceState& state, int group) {
    int value = 0;
    for (char c : state.parameters[static_cast<size_t>(6 + group)]) {
        if (c >= '0' && c <= '9' && value < 100000) {
            value = value * 10 + (c - '0');
        }
    }
    return value;
}

// The VAT held in a gross amount at the group's rate, rounded to the stotinka.
int64_t vatIn(int64_t gross, int rate) {
    return (gross * rate * 2 + (10000 + rate)) / (2 * (10000 + rate));
}

void appendSale(std::vector<std::string>& lines, const DeviceState& state, const Document& doc) {
    for (const SaleItem& item : doc.items) {
        lines.push_back(item.name);
        std::string left = "   " + std::to_string(item.quantity) + " x " + money(item.price);
        lines.push_back(columns(left, money(itemAmount(item)) + " " + groupLetter(item.group)));
    }
    lines.push_back(columns(cp("ОБЩА СУМА"), money(sum(doc.totals))));
    for (int g = 0; g < kVatGroups; ++g) {
        if (doc.totals[g] != 0) {
            const int rate = rateHundredths(state, g);
            lines.push_back(
                columns(cp("ДДС ") + groupLetter(g) + " " + vatRateText(std::to_string(rate)),
                        money(vatIn(doc.totals[g], rate))));
        }
    }
    lines.push_back(columns(cp("В БРОЙ"), money(sum(doc.totals))));
}

void appendGroupTotals(std::vector<std::string>& lines, const DeviceState& state,
                       const GroupAmounts& totals) {
    for (int g = 0; g < kVatGroups; ++g) {
        const std::string rate = vatRateText(state.parameters[static_cast<size_t>(6 + g)]);
        lines.push_back(columns(cp("Оборот ") + groupLetter(g) + " " + rate, money(totals[g])));
    }
    lines.push_back(columns(cp("ОБЩ ОБОРОТ"), money(sum(totals))));
}

std::string documentTitle(const Document& doc) {
    switch (doc.kind) {
        case DocumentKind::Sale:
            return cp("ФИСКАЛЕН БОН");
        case DocumentKind::ZReport:
            return numbered("ДНЕВЕН ОТЧЕТ Z № ", doc.zNumber);
        case DocumentKind::XReport:
            return cp("ДНЕВЕН ОТЧЕТ X");
        case DocumentKind::Service:
            return cp("СЛУЖЕБЕН БОН");
    }
    return {};
}

}  // namespace

std::string money(int64_t stotinki) {
    char out[32];
    const char* sign = stotinki < 0 ? "-" : "";
    const int64_t a = stotinki < 0 ? -stotinki : stotinki;
    std::snprintf(out, sizeof out, "%s%lld.%02lld", sign, static_cast<long long>(a / 100),
                  static_cast<long long>(a % 100));
    return out;
}

std::string vatRateText(const std::string& hundredths) {
    int value = 0;
    for (char c : hundredths) {
        if (c >= '0' && c <= '9' && value < 100000) {
            value = value * 10 + (c - '0');
        }
    }
    char out[16];
    std::snprintf(out, sizeof out, "%d,%02d%%", value / 100, value % 100);
    return out;
}

std::string columns(const std::string& left, const std::string& right) {
    const size_t used = left.size() + right.size();
    return left + std::string(used < kLineWidth ? kLineWidth - used : 1, ' ') + right;
}

std::vector<std::string> reportHeading(const DeviceState& state, std::string_view titleUtf8) {
    const auto& p = state.parameters;
    return {p[2],
            p[3],
            p[4],
            p[5],
            cp("ЕИК: ") + p[1],
            columns(cp("ФУ № ") + p[11], cp("ФП № ") + p[12]),
            rule(),
            cp(titleUtf8),
            rule()};
}

void appendDocument(std::vector<std::string>& lines, const DeviceState& state,
                    const Document& doc) {
    lines.push_back(documentTitle(doc));
    lines.push_back(columns(numbered("Бележка № ", doc.number), formatDateTime(doc.time)));
    switch (doc.kind) {
        case DocumentKind::Sale:
            appendSale(lines, state, doc);
            break;
        case DocumentKind::ZReport:
        case DocumentKind::XReport:
            lines.push_back(columns(cp("Фискални бонове"), std::to_string(doc.receipts)));
            appendGroupTotals(lines, state, doc.totals);
            break;
        case DocumentKind::Service:
            lines.push_back(doc.note);
            break;
    }
    lines.push_back(rule());
}

void appendMemoryRecord(std::vector<std::string>& lines, const DeviceState& state,
                        const Document& z, bool detailed) {
    char number[16];
    std::snprintf(number, sizeof number, "Z %04d", z.zNumber);
    if (!detailed) {
        lines.push_back(
            columns(number + std::string(" ") + formatDate(z.time), money(sum(z.totals))));
        return;
    }
    lines.push_back(columns(number, formatDateTime(z.time)));
    lines.push_back(columns(cp("Фискални бонове"), std::to_string(z.receipts)));
    appendGroupTotals(lines, state, z.totals);
    lines.push_back(rule());
}

}  // namespace sim
